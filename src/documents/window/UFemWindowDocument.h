#pragma once

#include "cardmodel/text/UFemModelTextTypes.h"
#include "documents/document/UFemDocumentType.h"
#include "foundation/errors/UError.h"

#include <QString>

#include <memory>
#include <optional>

class UFemDataController;
class UFemUserPreferences;

// What a document window asks of its document: its kind and model, whether model and result
// data are there, the easy lock, and the loading of results and pasted card values. The program's
// document implements it; tests give a stand-in.
class UFemWindowDocument {
public:
    virtual ~UFemWindowDocument() = default;

    virtual UFemDocumentType documentType() const = 0;
    virtual UFemDataController& dataController() const = 0;
    virtual bool hasModelData() const = 0;
    virtual bool hasResultData() const = 0;

    virtual bool canSetEasyLocked() const = 0;
    virtual bool isEasyLocked() const = 0;
    virtual void setEasyLocked(bool locked) = 0;

    virtual bool isProjectResultFilePathValid() const = 0;
    [[nodiscard]] virtual bool loadProjectResultData(UErrorPtr* error) = 0;
    [[nodiscard]] virtual bool loadResultDataWithResultFileURL(
        const QString& path, UErrorPtr* error)
        = 0;
    virtual void unloadResultData() = 0;
    [[nodiscard]] virtual bool loadClipboardCardValue(const QString& clipboardCardValueString,
        UFemColumnSeparatingCharacterType columnSeparatingCharacterType, UErrorPtr* error)
        = 0;
    virtual void unloadClipboardCardValue() = 0;

    virtual const std::optional<QString>& projectTitleString() const = 0;
    virtual const std::optional<QString>& projectVersionString() const = 0;
    virtual const std::optional<QString>& projectCommentString() const = 0;
    // Null: the application's preferences.
    virtual std::shared_ptr<const UFemUserPreferences> documentUserPreferences() const = 0;
};
