#pragma once

#include "appkit/Document.h"
#include "cardmodel/data/UFemCardSetManager.h"
#include "platform/UNotificationCenter.h"
#include "tables/modeledit/ModelEditWindowCardViewSuperview.h"

#include <QObject>
#include <QPointer>

#include <array>
#include <functional>
#include <memory>

class ModelEditWindowCardViewController;
class ModelEditWindowChooseCardTableViewController;
class QCheckBox;
class QComboBox;
class QDialog;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class QVBoxLayout;
class QWidget;
class SheetPresenter;
class UFemCard;
class UFemDataController;
class WindowController;
class WindowTracker;

// The application's one model edit window: shows, adds, modifies and deletes single cards and
// renames card names of the document whose window is the main window, always through that
// document's data controller. It follows the main document window and clears itself when the
// target changes.
class ModelEditWindowController : public QObject, public ModelEditWindowCardViewSuperview {
    Q_OBJECT
public:
    enum ActionMenuTag : qint64 {
        MODEL_EDIT_WINDOW_ACTION_MENU_SHOW = 1,
        MODEL_EDIT_WINDOW_ACTION_MENU_ADD = 2,
        MODEL_EDIT_WINDOW_ACTION_MENU_MODIFY = 3,
        MODEL_EDIT_WINDOW_ACTION_MENU_DELETE = 4,
        MODEL_EDIT_WINDOW_ACTION_MENU_CHANGE_CARD_NAME = 5,
    };
    static constexpr int modelEditWindowMinWidth = 300;
    static constexpr int modelEditWindowWidthRange = 200;
    static constexpr int modelEditWindowHeightMargin = 50;
    static constexpr int modelEditWindowMaxHeightFloor = 480;
    static constexpr int changeCardNameCardViewHeight = 180;

    ModelEditWindowController(WindowTracker& tracker, SheetPresenter& sheets);
    ~ModelEditWindowController() override;

    QWidget* window() const { return window_.get(); }
    void showWindow();
    ModelEditWindowCardViewController& cardViewController() const { return *cardViewController_; }
    ModelEditWindowChooseCardTableViewController& chooseCardTableViewController() const
    {
        return *chooseCardTableViewController_;
    }

    Document* targetDocument() const { return targetDocument_; }
    WindowController* targetWindow() const;
    UFemDataController* targetDataController() const;
    // The set's only card; nullptr unless it holds exactly one.
    UFemCardPtr targetCard();
    const UFemCardVector& targetCardArray();
    bool hasSetTargetCards();
    qint64 actionMenuTag() const { return actionMenuTag_; }
    void clearTargetCardNameField();

    void setTargetDocumentWithMainWindow(WindowController* mainWindow);
    void setActionView(qint64 tag);
    void swapAndClearView();
    void setTargetCard(const UFemCardPtr& card);
    void setTargetCardArray(const UFemCardVector& cards);
    void setChooseCardViewWithCardArray(const UFemCardVector& cards, bool selectableSomeCards);

    // The window's actions.
    void actionPopupDidChange();
    void loadTargetCard();
    void applyAddCard();
    void applyModifyCard();
    void applyDeleteCard();
    void applyChangeCardName();
    void clearView();
    void loadTargetCardsWithChooseCardPanel();
    void cancelLoadTargetCardsWithChooseCardPanel();
    // The open choose-card sheet; nullptr when none.
    QDialog* chooseCardPanel() const;

    void connectWithCardView() override;
    void updateSuperviewSizeWithCardViewMinSize(QSize cardViewMinSize) override;

private:
    struct ActionView {
        QWidget* view = nullptr;
        QVBoxLayout* cardBox = nullptr;
        QLineEdit* infoField = nullptr;
        QPushButton* applyButton = nullptr;
        QCheckBox* allowOverwriteCheckButton = nullptr;
    };

    void buildWindow();
    ActionView makeActionView(const QString& name, const QString& applyTitle, bool hasCardView);
    void addChangeCardNameFields(ActionView& view);
    const ActionView& actionView(qint64 tag) const { return actionViews_[size_t(tag - 1)]; }
    void setDataControllerOfViews(UFemDataController* dataController);
    void modelDataDidChange();
    void presentError(const UErrorPtr& error);
    // False with the not-exist error when there is no target.
    [[nodiscard]] bool requireTargetDataController(UErrorPtr* error) const;
    // Reports the error; true when the edit went through.
    bool runApply(const std::function<bool(UFemDataController&, UErrorPtr*)>& apply);
    QDialog* makeChooseCardPanel(QWidget* window);
    void endChooseCardPanel();

    WindowTracker& tracker_;
    SheetPresenter& sheets_;
    std::unique_ptr<QWidget> window_;
    QComboBox* actionPopup_ = nullptr;
    QLineEdit* targetCardNameField_ = nullptr;
    QPushButton* loadTargetCardButton_ = nullptr;
    QStackedWidget* actionStack_ = nullptr;
    std::array<ActionView, 5> actionViews_ {};
    QLineEdit* changeCardNameField_ = nullptr;
    QLineEdit* changeNewCardNameField_ = nullptr;
    std::unique_ptr<ModelEditWindowCardViewController> cardViewController_;
    std::unique_ptr<ModelEditWindowChooseCardTableViewController> chooseCardTableViewController_;
    UFemCardSetManager targetCardSetManager_;

    // Weak: a document may close while it is the target.
    QPointer<Document> targetDocument_;
    QPointer<Document> targetDocument_old_;
    QPointer<Document> targetDocumentOfChooseCardPanel_;
    QString chooseCardTitle_;
    bool chooseSomeCards_ = false;
    qint64 actionMenuTag_ = MODEL_EDIT_WINDOW_ACTION_MENU_SHOW;
    qint64 actionMenuTag_old_ = 0;
    int modelEditWindowAdditionalHeight_ = 0;
    UNotificationObservation modelDataDidChange_;
};
