#pragma once

#include "appkit/WindowController.h"
#include "cardmodel/data/UFemCardSetManager.h"
#include "documents/application/UFemMainMenuWindow.h"
#include "documents/window/UFemViewType.h"
#include "foundation/UFemNotFound.h"
#include "foundation/errors/UError.h"
#include "platform/UNotificationCenter.h"

#include <QSize>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QLineEdit;
class QMenu;
class SheetPresenter;
class UFemDataController;
class UFemMainViewController;
class UFemUserPreferences;
class UFemWindow;
class UFemWindowCardTable;
class UFemWindowDocument;
class UFemWindowToolbar;

enum UFemCaseSelectMode : qint32 {
    UFemCaseSelectModeNoCase = 1,
    UFemCaseSelectModeOneCase = 2,
    UFemCaseSelectModeSomeCases = 3,
    UFemCaseSelectModeAllCases = 4,
};

// States and inputs of the optional card string editor box at the bottom of the window.
enum UFemEditorBoxState : qint32 {
    UFemEditorBoxCollapsed = 1,
    UFemEditorBoxShownEmpty = 2,
    UFemEditorBoxFieldsShown = 3,
    UFemEditorBoxEditing = 4,
};
enum UFemEditorBoxInput : qint32 {
    UFemEditorBoxInputSetUp = -3,
    UFemEditorBoxInputClose = -2,
    UFemEditorBoxInputDisable = -1,
    UFemEditorBoxInputInvalid = 0,
    UFemEditorBoxInputValid = 1,
};

// The controller of one document window. It owns what belongs to the window rather than to the
// document: the cards the window shows (the model through the window's combined card filter),
// the selected cards, the current case or cases, the user card filter, the main view
// controllers (made when first shown, one shown at a time), the status bar and the optional card
// string editor box. It re-posts the changes of its selection and case sets as window-level
// notifications. Main thread only.
class UFemWindowController : public WindowController, public UFemMainMenuWindow {
    Q_OBJECT
public:
    // Makes the controller of a view type the first time it is shown.
    using MainViewControllerMaker = std::function<std::unique_ptr<UFemMainViewController>(
        UFemWindowController& windowController, UFemViewType viewType)>;

    // Without a maker the program's registered maker makes the views, and the plain stand-in
    // view serves every type that maker does not make.
    explicit UFemWindowController(WindowTracker& tracker, MainViewControllerMaker maker = {});
    // Registered at start-up by the subsystems that provide the card table, 3-D and information
    // views.
    static void setRegisteredMainViewControllerMaker(MainViewControllerMaker maker);
    ~UFemWindowController() override;

    void setDocument(Document* document) override;
    // The first view (card view with model data, else the information view), the first
    // selection and case notifications and the combined filter.
    void windowDidLoad();
    void finish();

    UFemWindow& ufemWindow() const;
    UFemWindowDocument* ufemDocument() const { return ufemDocument_; }
    UFemDataController& dataController() const;
    UFemWindowCardTable& windowCardTable() const { return *windowCardTable_; }
    UFemMainViewController* mainViewController() const { return mainViewController_; }
    UFemWindowToolbar& toolbar() const { return *toolbar_; }
    std::shared_ptr<const UFemUserPreferences> documentUserPreferences() const;
    QWidget* printView() const;
    // Alerts of this window; null without a document controller.
    SheetPresenter* sheetPresenter() const;

    // ---- View type; viewType() before the first swap is a program error.
    UFemViewType viewType() const;
    void setViewType(UFemViewType viewType);
    UFemViewType viewTypeMenuTag() const override { return viewType(); }
    void setViewTypeMenuTag(quint64 tag) { setViewType(UFemViewType(tag)); }
    QSize windowContentViewAndMainDummyViewDiffSize() const { return contentDiffSize_; }

    // ---- Cases
    UFemCaseSelectMode currentCaseSelectMode() const { return currentCaseSelectMode_; }
    UFemCardPtr currentCaseCard() const;
    UFemCardVector currentCaseCardArray() const;
    quint64 currentCaseNo() const;
    std::vector<quint64> currentCaseNoArray() const;
    UFemCardSetManager& currentCaseCardSetManager() const { return *currentCaseCardSetManager_; }
    // The case choices of the case menu: each sets the mode, then changes the current-case set.
    void selectNoCases();
    void selectAllCases();
    void selectOneCase(const UFemCardPtr& caseCard);
    void selectCaseInSomeCases(const UFemCardPtr& caseCard);
    void selectAllCasesInSomeCases();
    void deselectAllCasesInSomeCases();

    // ---- User card filter
    std::optional<QString> filterString() const { return cardFilterString_; }
    UErrorPtr cardFilterError() const { return cardFilterError_; }
    void setCardFilterString(const std::optional<QString>& cardFilterString);
    // The text given to the window card table (nullopt: no filter).
    std::optional<QString> combinedCardFilterString() const;
    [[nodiscard]] bool updateWindowCardTableCombinedCardFilter(UErrorPtr* error);

    // ---- Selection, forwarded to the selected-card set
    UFemCardSetManager& _selectedCardSetManager() const { return *selectedCardSetManager_; }
    const UFemCardSet& selectedCardSet() const { return selectedCardSetManager_->cardSet(); }
    const UFemCardVector& unsortedSelectedCardArray() const;
    const UFemCardVector& selectedCardArray() const { return selectedCardSetManager_->cardArray(); }
    void clearSelectedCardArray() { selectedCardSetManager_->removeAllCards(); }
    void setSelectedCardArray(const UFemCardVector& cards)
    {
        selectedCardSetManager_->setCardArray(cards);
    }
    void setSelectedCardSet(const UFemCardSet& cards)
    {
        selectedCardSetManager_->setCardSet(cards);
    }
    void addCardToSelectedCardArray(const UFemCardPtr& card)
    {
        selectedCardSetManager_->addCard(card);
    }
    void addCardArrayToSelectedCardArray(const UFemCardVector& cards)
    {
        selectedCardSetManager_->addCardArray(cards);
    }
    void addCardSetToSelectedCardArray(const UFemCardSet& cards)
    {
        selectedCardSetManager_->addCardSet(cards);
    }
    void removeCardFromSelectedCardArray(const UFemCardPtr& card)
    {
        selectedCardSetManager_->removeCard(card);
    }
    void removeCardArrayFromSelectedCardArray(const UFemCardVector& cards)
    {
        selectedCardSetManager_->removeCardArray(cards);
    }

    // ---- Project information overlay
    bool doesDrawOverlaidProjectInfo() const { return doesDrawOverlaidProjectInfo_; }
    void setDoesDrawOverlaidProjectInfo(bool doesDraw) override;

    // ---- Menus of the main menu
    quint64 graphicMoveModeMenuTag() const override;
    bool isGraphicMoveModeAvailable() const override;
    QMenu* viewSettingMenu() const override;
    QMenu* caseMenu() const override;
    qint64 selectedCaseMenuItemTag() const override;

    // The row the model edit window adds cards at; the lock error and UFemNotFound when the
    // model is locked.
    quint64 cardRowIndexToAddCard(UErrorPtr* error);

    // ---- Status bar
    QString statusString();
    QString statusIconString() const;
    bool statusIconShowsResult() const;
    void updateStatusBar();

    // ---- Optional card string editor box
    UFemEditorBoxState optionalCardStringEditorState() const
    {
        return optionalCardStringEditorState_;
    }
    bool isOptionalCardStringEditorValid() const
    {
        return optionalCardStringEditorState_ == UFemEditorBoxEditing;
    }
    void setOptionalCardStringEditorValid(bool valid);
    void setOptionalCardStringEditorValid_negativeForDisable(UFemEditorBoxInput input);
    QLineEdit* optionalCardStringEditorCardRowIndexTextField() const;
    QLineEdit* optionalCardStringEditorTextField() const;
    void closeOptionalCardStringEditorBox();
    double optionalCardStringEditorBoxHeight() const { return optionalCardStringEditorBoxHeight_; }

    // ---- Commands of the window
    void loadResultData();
    void loadClipboardCardValue(const CommandItem& sender);

    bool respondsToCommand(const QString& command) const override;
    bool validateCommand(CommandItem& item) override;
    void performCommand(const CommandItem& sender) override;

    void windowDidBecomeMain() override;
    void windowDidResignMain() override;

private:
    void awakeFromNib();
    void registerCommands();
    void registerToolbarCommands();
    void observeModel();
    void observeCardSet(UFemCardSetManager& manager, bool isCurrentCase);
    void currentCaseDidChange_private();
    void currentCaseDidChange();
    void swapMainViewToViewType(UFemViewType viewType);
    void setFirstViewPreferences(UFemMainViewController& controller, UFemViewType viewType);
    UFemMainViewController& mainViewControllerOfViewType(UFemViewType viewType, bool* created);
    void growWindowToMinimumSize(QSize mainViewMinimum);
    std::optional<QString> casePartOfCombinedFilter() const;
    void setCaseSelectMode(UFemCaseSelectMode mode) { currentCaseSelectMode_ = mode; }
    void resizeWindowBottom(int heightChange);
    void collapseEditorBox();
    void showEditorFields();
    void hideEditorFields();
    void loadResultDataFromPanel();
    void post(const QString& name) const;
    UNotificationCenter& modelCenter() const;

    MainViewControllerMaker maker_;
    UFemWindowDocument* ufemDocument_ = nullptr;
    UFemDataController* dataController_ = nullptr;
    std::unique_ptr<UFemWindowCardTable> windowCardTable_;
    std::unique_ptr<UFemCardSetManager> selectedCardSetManager_;
    std::unique_ptr<UFemCardSetManager> currentCaseCardSetManager_;
    UFemCaseSelectMode currentCaseSelectMode_ = UFemCaseSelectModeNoCase;
    UFemMainViewController* mainViewController_ = nullptr;
    // Indexed by view type; each made when first shown.
    std::unique_ptr<UFemMainViewController> viewControllers_[4];
    UFemViewType viewType_ = UFemViewTypeNone;
    std::optional<QString> cardFilterString_;
    UErrorPtr cardFilterError_;
    bool doesDrawOverlaidProjectInfo_ = false;
    UFemEditorBoxState optionalCardStringEditorState_ = UFemEditorBoxCollapsed;
    double optionalCardStringEditorBoxHeight_ = 0;
    QSize contentDiffSize_;
    std::vector<UNotificationObservation> observations_;
    std::unique_ptr<UFemWindowToolbar> toolbar_;
};
