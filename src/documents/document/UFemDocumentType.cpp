#include "documents/document/UFemDocumentType.h"

UFemDocumentType UFemDocumentTypeOfTypeName(const QString& typeName)
{
    if (typeName == UFemProjectDocumentTypeName)
        return UFemDocumentTypeProject;
    if (typeName == UFemModelDocumentTypeName || typeName == UFemStringPboardTypeName)
        return UFemDocumentTypeModel;
    if (typeName == UFemResultDocumentTypeName)
        return UFemDocumentTypeResult;
    return UFemDocumentTypeNone;
}

QString UFemTypeNameOfDocumentType(UFemDocumentType documentType)
{
    switch (documentType) {
    case UFemDocumentTypeProject:
        return UFemProjectDocumentTypeName;
    case UFemDocumentTypeModel:
        return UFemModelDocumentTypeName;
    case UFemDocumentTypeResult:
        return UFemResultDocumentTypeName;
    case UFemDocumentTypeNone:
        break;
    }
    return {};
}
