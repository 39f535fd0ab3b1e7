#pragma once

#include "cardmodel/card/UFemCardTextColumns.h"
#include "cardmodel/data/UFemCardSetManager.h"
#include "tables/forms/UFemCardFormViewControllerDelegate.h"

#include <QSize>
#include <QStringList>

#include <array>
#include <memory>

class ModelEditWindowCardViewCardTableViewDataSource;
class ModelEditWindowCardViewSuperview;
class QComboBox;
class QLineEdit;
class QPushButton;
class QStackedLayout;
class QTableView;
class QVBoxLayout;
class QWidget;
class UFemCard;
class UFemCardClass;
class UFemCardFormViewController;
class UFemDataController;

// The part of the model edit window that shows one card, takes one card as it is typed, or
// lists several: one card in its kind's own form (view 1) or in a general form of plain column
// cells (view 2), several in a read-only table, or nothing. It turns what is on screen into text
// columns and fills the screen from a card or from text columns.
class ModelEditWindowCardViewController : public UFemCardFormViewControllerDelegate {
public:
    enum CardViewType : qint32 {
        ONE_CARD_VIEW_TYPE = 1,
        ONE_CARD_VIEW_1 = 2,
        ONE_CARD_VIEW_2 = 3,
        TABLE_CARD_VIEW = 4,
        EMPTY_CARD_VIEW = 5,
    };
    static constexpr int generalCardFormColumnCount = 10;
    static constexpr int fixedCardViewHeight = 180;

    explicit ModelEditWindowCardViewController(
        ModelEditWindowCardViewSuperview& superviewController);
    ~ModelEditWindowCardViewController() override;
    ModelEditWindowCardViewController(const ModelEditWindowCardViewController&) = delete;
    ModelEditWindowCardViewController& operator=(const ModelEditWindowCardViewController&) = delete;

    void setDataController(UFemDataController* dataController);
    // The box the window places; owned here.
    QWidget* cardView() const { return cardView_.get(); }
    QWidget* firstKeyView() const { return firstKeyView_; }
    QWidget* lastKeyView() const { return lastKeyView_; }
    bool isEditable() const { return isEditable_; }
    QSize cardViewMinSize() const { return cardViewMinSize_; }
    // 1 for every one-card view.
    qint32 cardViewType() const;
    const UFemCardClass* kindOfCardClass() const { return kindOfCardClass_; }
    UFemCardFormViewController* activeCardFormViewController() const { return activeForm_; }

    void setEmptyCardView();
    void setOneCardView(bool editable, bool clearFlag);
    // Without a card, the kind falls to Node when none is set.
    void setOneCardView(bool editable, const UFemCard* card);
    void setOneCardView(bool editable, const UFemCardTextColumns& cardTextColumns);
    void setTableCardView(bool editable, bool clearFlag);
    void setTableCardView(bool editable, const UFemCardVector& cards);
    void setCardViewType(qint32 cardViewType);
    void setEditable(bool editable);
    void setCard(const UFemCard* card);
    void setCardTextColumns(const UFemCardTextColumns* cardTextColumns);
    void setCardArray(const UFemCardVector& cards);

    bool isAllowedHaveSomeCard() const;
    // For the general form, the class its typed label names; NO for a label that names none.
    bool isCardOnViewAllowedHaveSomeCard() const;

    [[nodiscard]] UFemCardTextColumnsPtr cardTextColumns(UErrorPtr* error) const;
    QString commentString() const;
    // The kind label, the name, then the columns from 2 on.
    QStringList columnStringArray() const;

    void kindOfCardPopupDidChange();
    // Tag 1 asks for the kind's own form, any other tag for the general form.
    void swapToOneCardViewOfType(int tag);

    void reconnectCardFormViewWithCardFormViewController(UFemCardFormViewController& form) override;

private:
    struct OneCardView {
        QWidget* view = nullptr;
        QComboBox* kindPopup = nullptr;
        QLineEdit* kindField = nullptr;
        QPushButton* swapButton = nullptr;
        QLineEdit* nameField = nullptr;
        QLineEdit* commentField = nullptr;
        QVBoxLayout* formBox = nullptr;
    };

    OneCardView makeOneCardView(int number);
    QWidget* makeGeneralCardFormView();
    QWidget* makeTableCardView();
    const OneCardView& shownOneCardView() const;
    bool isOneCardViewShown() const;
    void requireOneCardViewShown(const char* reason) const;

    void setCardViewTypeOnly(qint32 cardViewType);
    void setKindOfCardWithCardClass(const UFemCardClass* cardClass);
    void setKindOfCardWithMenuTag(qint64 tag);
    void setKindOfCardWithCardLabelString(const QString& label);
    void setValidKindOfCardIfNotSet();
    void setCardTextColumnsShown(const UFemCardTextColumns* cardTextColumns);
    void setCommentString(const QString& comment);
    void setColumnStringArray(const QStringList& columns);
    void setGeneralCells(
        const std::function<QString(quint64 columnIndex)>& columnString, quint64 count);

    void swapViewWithClearFlag(bool clearFlag);
    void placeOneCardForm(const OneCardView& view);
    void releaseActiveForm();
    void updateCardViewMinSize();
    void clearView();
    void setViewEditable();

    ModelEditWindowCardViewSuperview& superview_;
    std::unique_ptr<QWidget> cardView_;
    QStackedLayout* stack_ = nullptr;
    OneCardView oneCardView1_;
    OneCardView oneCardView2_;
    QWidget* generalCardFormView_ = nullptr;
    std::array<QLineEdit*, generalCardFormColumnCount> generalCells_ {};
    QWidget* tableCardView_ = nullptr;
    QTableView* cardTable_ = nullptr;
    QWidget* emptyCardView_ = nullptr;
    std::unique_ptr<ModelEditWindowCardViewCardTableViewDataSource> dataSource_;

    qint32 cardViewType_ = EMPTY_CARD_VIEW;
    qint32 cardViewType_old_ = EMPTY_CARD_VIEW;
    const UFemCardClass* kindOfCardClass_ = nullptr;
    const UFemCardClass* kindOfCardClass_old_ = nullptr;
    bool useOneCardView2_ = false;
    bool isEditable_ = false;
    bool isSwapping_ = false;
    UFemCardFormViewController* activeForm_ = nullptr;
    QWidget* firstKeyView_ = nullptr;
    QWidget* lastKeyView_ = nullptr;
    int cardViewMinWidth_ = 0;
    int cardViewAdditionalHeight_ = 0;
    QSize activeCardFormViewMinSize_;
    QSize generalCardFormViewMinSize_;
    QSize cardViewMinSize_;
};
