#pragma once

#include "documents/mainview/UFemMainViewController.h"

// The base of the two information views (project and result), where the model's cards cannot
// be edited: no row takes new cards, there is no text to search or replace in, and the window's
// selection is what a search selects.
class UFemInfoViewController : public UFemMainViewController {
public:
    using UFemMainViewController::UFemMainViewController;

    quint64 cardRowIndexToAddCard(UErrorPtr* error) override;
    _UFemSearchCardStringRange selectedSearchCardStringRange(UErrorPtr* error) override;
    [[nodiscard]] bool selectSearchCardStringRange(
        const _UFemSearchCardStringRange& range, UErrorPtr* error) override;
    _UFemSearchCardStringRange replaceSelectedSearchCardStringRange(
        const QString& replaceString, bool* isReplaced, UErrorPtr* error) override;

protected:
    // The user font at its default size.
    static QFont userFont();
};
