#include "documents/document/UFemDocumentTypeRegistration.h"

#include "appkit/DocumentController.h"
#include "documents/document/UFemDocument.h"

void UFemRegisterDocumentTypes(DocumentController& controller,
    const UFemDataControllerServices& services, UFemDocumentPrompt* prompt)
{
    const auto make = [services, prompt] {
        auto document = std::make_unique<UFemDocument>(services);
        document->setPrompt(prompt);
        return document;
    };
    UFemRegisterDocumentTypes(controller, std::function<std::unique_ptr<Document>()>(make));
}

void UFemRegisterDocumentTypes(
    DocumentController& controller, const std::function<std::unique_ptr<Document>()>& make)
{
    controller.registerDocumentType(
        { UFemProjectDocumentTypeName, { UFemProjectFileExtension }, make });
    controller.registerDocumentType(
        { UFemModelDocumentTypeName, { UFemModelFileExtension }, make });
    controller.registerDocumentType(
        { UFemResultDocumentTypeName, { UFemResultFileExtension }, make });
}
