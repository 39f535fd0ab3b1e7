#pragma once

#include "cardmodel/data/UFemDataControllerServices.h"

#include <functional>
#include <memory>

class Document;
class DocumentController;
class UFemDocumentPrompt;

// Registers the project, model and result document types with their extensions; their documents
// are made with `services` and ask through `prompt` (the program's modal alerts when null).
void UFemRegisterDocumentTypes(DocumentController& controller,
    const UFemDataControllerServices& services = UFemDataControllerServices::shared(),
    UFemDocumentPrompt* prompt = nullptr);

// Registers the three types with documents made by `make`.
void UFemRegisterDocumentTypes(
    DocumentController& controller, const std::function<std::unique_ptr<Document>()>& make);
