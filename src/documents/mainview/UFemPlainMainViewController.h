#pragma once

#include "documents/mainview/UFemMainViewController.h"
#include "documents/window/UFemWindowController.h"
#include "platform/UNotificationCenter.h"

#include <memory>
#include <vector>

class QListWidget;

// The stand-in main view until the card table, 3-D and information views exist: the window's
// cards as a list of their text lines (for the information type, the project's texts), with the
// window's selection. New cards go after the last card; a search range is the selected card's
// whole line.
class UFemPlainMainViewController : public UFemMainViewController {
public:
    static constexpr int minimumWidth = 320;
    static constexpr int minimumHeight = 200;

    UFemPlainMainViewController(UFemWindowController& windowController, UFemViewType viewType);
    ~UFemPlainMainViewController() override;

    QWidget* mainView() const override;
    QWidget* mainViewBox() const override;
    QSize minimumMainViewBoxSize() const override { return { minimumWidth, minimumHeight }; }
    void finish() override;
    void viewDidSwapIn() override;

    quint64 cardRowIndexToAddCard(UErrorPtr* error) override;
    _UFemSearchCardStringRange selectedSearchCardStringRange(UErrorPtr* error) override;
    [[nodiscard]] bool selectSearchCardStringRange(
        const _UFemSearchCardStringRange& range, UErrorPtr* error) override;
    _UFemSearchCardStringRange replaceSelectedSearchCardStringRange(
        const QString& replaceString, bool* isReplaced, UErrorPtr* error) override;

    UFemViewType viewType() const { return viewType_; }

private:
    class View;

    void reload();
    void showSelection();
    void takeSelectionFromList();

    UFemViewType viewType_;
    std::unique_ptr<View> view_;
    QListWidget* list_;
    bool isReloading_ = false;
    std::vector<UNotificationObservation> observations_;
};
