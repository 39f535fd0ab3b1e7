#pragma once

#include <QString>

// The kind of a document; 0 after a reset.
enum UFemDocumentType : quint64 {
    UFemDocumentTypeNone = 0,
    UFemDocumentTypeProject = 1,
    UFemDocumentTypeModel = 2,
    UFemDocumentTypeResult = 3,
};

inline const QString UFemProjectDocumentTypeName = QStringLiteral("VantrelProjectDocument");
inline const QString UFemModelDocumentTypeName = QStringLiteral("VantrelModelDocument");
// Text pasted as a new model document opens as a model.
inline const QString UFemStringPboardTypeName = QStringLiteral("NSStringPboardType");
inline const QString UFemResultDocumentTypeName = QStringLiteral("VantrelResultDocument");

inline const QString UFemProjectFileExtension = QStringLiteral("vtproj");
inline const QString UFemModelFileExtension = QStringLiteral("vtmodel");
inline const QString UFemResultFileExtension = QStringLiteral("vtresult");

// The kind a type name opens as; None for a type name of no kind.
UFemDocumentType UFemDocumentTypeOfTypeName(const QString& typeName);
// The type name of a kind; empty for None.
QString UFemTypeNameOfDocumentType(UFemDocumentType documentType);
