#pragma once

#include "documents/mainview/UFemFindPanel.h"
#include "platform/UNotificationCenter.h"

#include <QMetaObject>
#include <QString>

#include <array>
#include <memory>
#include <vector>

class CommandTarget;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QWidget;
class UFemWindowController;
class WindowTracker;

// The program's one find panel: what to look for in the cards of the front document window and
// how, and the five find and replace commands, which it hands to that window's main view
// controller. The target is worked out afresh for every press and every revalidation, so a
// closed window is never acted on. The panel's window is built when first needed.
class UFemFindPanelController : public UFemFindPanel {
public:
    // The option popup's tags: the search target and function they stand for.
    enum SearchOptionTag : int {
        CardStringContainsTag = 11,
        CardStringBeginsWithTag = 12,
        EachColumnContainsTag = 21,
        EachColumnBeginsWithTag = 22,
        CardNameContainsTag = 31,
        CardNameBeginsWithTag = 32,
    };
    static constexpr int commandCount = 5;
    static const std::array<QString, commandCount> commands;

    explicit UFemFindPanelController(WindowTracker& tracker);
    ~UFemFindPanelController() override;
    UFemFindPanelController(const UFemFindPanelController&) = delete;
    UFemFindPanelController& operator=(const UFemFindPanelController&) = delete;

    // ---- UFemFindPanel
    bool isWindowLoaded() const override { return window_ != nullptr; }
    void loadWindow() override;
    void showFindPanel() override;
    QString searchString() const override;
    void setSearchString(const QString& searchString) override;
    QString replaceString() const override;
    [[nodiscard]] std::shared_ptr<UFemStringSearchManager>
    stringSearchManagerWithDoesSearchBackDirection(
        bool doesSearchBackDirection, UErrorPtr* error) override;
    void setReplaceAllMessageString(const QString& message) override;
    void resetMessageString() override;

    qint64 searchTarget() const;
    qint64 searchFunction() const;
    bool doesSearchIgnoreSpace() const;
    bool doesSearchIgnoreCase() const;
    bool doesSearchWrapAround() const;

    // The main view controller of the front document window, or null: none while its card
    // filter is being typed in or while it shows a view other than the card table or 3-D view.
    CommandTarget* findPanelActionTargetObject() const;
    // One of `commands`: nothing without a target or when the target refuses it.
    void performFindCommand(const QString& command);
    void updateValidateButtons();

    QWidget* window() const { return window_.get(); }
    QPushButton* commandButton(const QString& command) const;

private:
    UFemWindowController* frontDocumentWindowController() const;
    void buildWindow();
    void observe();

    WindowTracker& tracker_;
    std::unique_ptr<QWidget> window_;
    QComboBox* findStringComboBoxOutlet_ = nullptr;
    QComboBox* replaceStringComboBoxOutlet_ = nullptr;
    QComboBox* searchOptionPopupButtonOutlet_ = nullptr;
    QCheckBox* ignoreSpaceCheckButtonOutlet_ = nullptr;
    QCheckBox* ignoreInCommentCheckButtonOutlet_ = nullptr;
    QCheckBox* ignoreCaseCheckButtonOutlet_ = nullptr;
    QCheckBox* wrapAroundCheckButtonOutlet_ = nullptr;
    std::array<QPushButton*, commandCount> commandButtons_ {};
    QLabel* replaceAllMessageTextFieldOutlet_ = nullptr;
    std::vector<UNotificationObservation> observations_;
    std::vector<QMetaObject::Connection> trackerConnections_;
};
