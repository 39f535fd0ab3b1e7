#include "tables/modeledit/ModelEditWindowCardViewController.h"

#include "appkit/WholeTextField.h"
#include "cardmodel/card/UFemCard.h"
#include "cardmodel/card/UFemCardClass.h"
#include "cardmodel/card/UFemCardClassManager.h"
#include "cardmodel/card/UFemCardType.h"
#include "foundation/errors/UException.h"
#include "foundation/strings/UFormattedString.h"
#include "tables/forms/CardFormViewControllerAbst.h"
#include "tables/modeledit/ModelEditWindowCardViewCardTableViewDataSource.h"
#include "tables/modeledit/ModelEditWindowCardViewSuperview.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QStackedLayout>
#include <QTableView>

namespace {

const QString defaultKindLabel = QStringLiteral("Node");

bool isOneCardType(qint32 type)
{
    return type == ModelEditWindowCardViewController::ONE_CARD_VIEW_TYPE
        || type == ModelEditWindowCardViewController::ONE_CARD_VIEW_1
        || type == ModelEditWindowCardViewController::ONE_CARD_VIEW_2;
}

QLineEdit* makeField(const char* objectName, QWidget* parent)
{
    auto* field = new WholeTextField(parent);
    field->setObjectName(QString::fromLatin1(objectName));
    return field;
}

} // namespace

ModelEditWindowCardViewController::ModelEditWindowCardViewController(
    ModelEditWindowCardViewSuperview& superviewController)
    : superview_(superviewController)
    , cardView_(std::make_unique<QWidget>())
    , dataSource_(std::make_unique<ModelEditWindowCardViewCardTableViewDataSource>())
{
    cardView_->setObjectName(QStringLiteral("dummyCardViewOutlet"));
    stack_ = new QStackedLayout(cardView_.get());
    oneCardView1_ = makeOneCardView(1);
    oneCardView2_ = makeOneCardView(2);
    generalCardFormView_ = makeGeneralCardFormView();
    tableCardView_ = makeTableCardView();
    emptyCardView_ = new QWidget(cardView_.get());
    emptyCardView_->setObjectName(QStringLiteral("emptyCardViewOutlet"));
    for (QWidget* view : { oneCardView1_.view, oneCardView2_.view, tableCardView_, emptyCardView_ })
        stack_->addWidget(view);
    stack_->setCurrentWidget(emptyCardView_);

    cardViewMinWidth_ = oneCardView1_.view->sizeHint().width();
    cardViewAdditionalHeight_ = oneCardView1_.view->sizeHint().height()
        - oneCardView1_.formBox->parentWidget()->sizeHint().height();
    generalCardFormViewMinSize_ = generalCardFormView_->sizeHint();

    std::vector<UFemMenuItemDescription> menu;
    UFemCardClassManager::sharedCardClassManager().insertCardMenuItemToMenu(menu, 0);
    for (const UFemMenuItemDescription& item : menu) {
        if (item.isSeparator)
            oneCardView1_.kindPopup->insertSeparator(oneCardView1_.kindPopup->count());
        else
            oneCardView1_.kindPopup->addItem(item.title, item.tag);
    }
    QObject::connect(oneCardView1_.kindPopup, &QComboBox::activated, cardView_.get(),
        [this] { kindOfCardPopupDidChange(); });
    setValidKindOfCardIfNotSet();
}

ModelEditWindowCardViewController::~ModelEditWindowCardViewController()
{
    releaseActiveForm();
}

ModelEditWindowCardViewController::OneCardView ModelEditWindowCardViewController::makeOneCardView(
    int number)
{
    OneCardView one;
    const auto name = [number](const char* stem) {
        return UFormattedString("%s%d%s", stem, number, "Outlet").toLatin1();
    };
    one.view = new QWidget(cardView_.get());
    one.view->setObjectName(QString::fromLatin1(name("oneCardView")));
    auto* grid = new QGridLayout(one.view);
    grid->setContentsMargins(0, 0, 0, 0);
    if (number == 1) {
        one.kindPopup = new QComboBox(one.view);
        one.kindPopup->setObjectName(QString::fromLatin1(name("kindOfCardPopup")));
        grid->addWidget(one.kindPopup, 0, 1);
    } else {
        one.kindField = makeField(name("kindOfCardField").constData(), one.view);
        grid->addWidget(one.kindField, 0, 1);
    }
    grid->addWidget(new QLabel(QObject::tr("Kind:"), one.view), 0, 0, Qt::AlignRight);
    one.swapButton = new QPushButton(
        number == 1 ? QObject::tr("General Form") : QObject::tr("Card Form"), one.view);
    one.swapButton->setObjectName(QString::fromLatin1(
        number == 1 ? "swapToOneCardView2ButtonOutlet" : "swapToOneCardView1ButtonOutlet"));
    one.swapButton->setAutoDefault(false);
    const int tag = number == 1 ? 2 : 1;
    QObject::connect(one.swapButton, &QPushButton::clicked, one.swapButton,
        [this, tag] { swapToOneCardViewOfType(tag); });
    grid->addWidget(one.swapButton, 0, 2);
    grid->addWidget(new QLabel(QObject::tr("Name:"), one.view), 1, 0, Qt::AlignRight);
    one.nameField = makeField(name("cardNameField").constData(), one.view);
    grid->addWidget(one.nameField, 1, 1, 1, 2);

    // Long forms scroll inside the box.
    auto* scroll = new QScrollArea(one.view);
    scroll->setObjectName(QStringLiteral("dummyCardFormViewScrollView"));
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    auto* box = new QWidget;
    box->setObjectName(QString::fromLatin1(name("dummyCardFormView")));
    one.formBox = new QVBoxLayout(box);
    one.formBox->setContentsMargins(0, 0, 0, 0);
    scroll->setWidget(box);
    grid->addWidget(scroll, 2, 0, 1, 3);
    grid->setRowStretch(2, 1);
    grid->addWidget(new QLabel(QObject::tr("Comment:"), one.view), 3, 0, Qt::AlignRight);
    one.commentField = makeField(name("commentField").constData(), one.view);
    grid->addWidget(one.commentField, 3, 1, 1, 2);
    return one;
}

QWidget* ModelEditWindowCardViewController::makeGeneralCardFormView()
{
    auto* view = new QWidget(cardView_.get());
    view->setObjectName(QStringLiteral("generalCardFormViewOutlet"));
    view->hide();
    auto* form = new QFormLayout(view);
    for (int i = 0; i < generalCardFormColumnCount; ++i) {
        generalCells_[size_t(i)] = new WholeTextField(view);
        form->addRow(UFormattedString("Column %d:", i + 2), generalCells_[size_t(i)]);
    }
    return view;
}

QWidget* ModelEditWindowCardViewController::makeTableCardView()
{
    auto* view = new QWidget(cardView_.get());
    view->setObjectName(QStringLiteral("tableCardViewOutlet"));
    auto* layout = new QVBoxLayout(view);
    layout->setContentsMargins(0, 0, 0, 0);
    cardTable_ = new QTableView(view);
    cardTable_->setObjectName(QStringLiteral("cardTableViewOutlet"));
    cardTable_->setModel(dataSource_.get());
    cardTable_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    cardTable_->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(cardTable_);
    return view;
}

void ModelEditWindowCardViewController::setDataController(UFemDataController* dataController)
{
    dataSource_->setDataController(dataController);
}

qint32 ModelEditWindowCardViewController::cardViewType() const
{
    if (isOneCardType(cardViewType_))
        return ONE_CARD_VIEW_TYPE;
    if (cardViewType_ == TABLE_CARD_VIEW || cardViewType_ == EMPTY_CARD_VIEW)
        return cardViewType_;
    UFemRaiseProgramError(
        UFormattedString("Unexpected CardViewType : %lu", quint64(cardViewType_)));
}

bool ModelEditWindowCardViewController::isOneCardViewShown() const
{
    return cardViewType_ == ONE_CARD_VIEW_1 || cardViewType_ == ONE_CARD_VIEW_2;
}

void ModelEditWindowCardViewController::requireOneCardViewShown(const char* reason) const
{
    if (!isOneCardViewShown())
        UFemRaiseProgramError(UFormattedString("%s", reason));
}

const ModelEditWindowCardViewController::OneCardView&
ModelEditWindowCardViewController::shownOneCardView() const
{
    return cardViewType_ == ONE_CARD_VIEW_2 ? oneCardView2_ : oneCardView1_;
}

// ---- Setting the view

void ModelEditWindowCardViewController::setCardViewTypeOnly(qint32 cardViewType)
{
    cardViewType_ = cardViewType;
}

void ModelEditWindowCardViewController::setEmptyCardView()
{
    setCardViewTypeOnly(EMPTY_CARD_VIEW);
    swapViewWithClearFlag(true);
}

void ModelEditWindowCardViewController::setOneCardView(bool editable, bool clearFlag)
{
    setCardViewTypeOnly(ONE_CARD_VIEW_TYPE);
    isEditable_ = editable;
    swapViewWithClearFlag(clearFlag);
}

void ModelEditWindowCardViewController::setOneCardView(bool editable, const UFemCard* card)
{
    setCardViewTypeOnly(ONE_CARD_VIEW_TYPE);
    isEditable_ = editable;
    if (card == nullptr) {
        setValidKindOfCardIfNotSet();
        swapViewWithClearFlag(true);
        return;
    }
    setKindOfCardWithCardClass(&card->cardClass());
    swapViewWithClearFlag(true);
    setCardTextColumnsShown(card->cardTextColumns().get());
}

void ModelEditWindowCardViewController::setOneCardView(
    bool editable, const UFemCardTextColumns& cardTextColumns)
{
    setCardViewTypeOnly(ONE_CARD_VIEW_TYPE);
    isEditable_ = editable;
    setKindOfCardWithCardLabelString(cardTextColumns.isErrorCard()
            ? QString()
            : cardTextColumns.cardLabelString().value_or(QString()));
    swapViewWithClearFlag(true);
    setCardTextColumnsShown(&cardTextColumns);
}

void ModelEditWindowCardViewController::setTableCardView(bool editable, bool clearFlag)
{
    setCardViewTypeOnly(TABLE_CARD_VIEW);
    isEditable_ = editable;
    swapViewWithClearFlag(clearFlag);
}

void ModelEditWindowCardViewController::setTableCardView(bool editable, const UFemCardVector& cards)
{
    setTableCardView(editable, true);
    setCardArray(cards);
}

void ModelEditWindowCardViewController::setCardViewType(qint32 cardViewType)
{
    setCardViewTypeOnly(cardViewType);
    if (cardViewType_ != cardViewType_old_)
        swapViewWithClearFlag(false);
}

void ModelEditWindowCardViewController::setEditable(bool editable)
{
    if (editable == isEditable_)
        return;
    isEditable_ = editable;
    setViewEditable();
}

void ModelEditWindowCardViewController::setCard(const UFemCard* card)
{
    setCardTextColumnsShown(card != nullptr ? card->cardTextColumns().get() : nullptr);
}

void ModelEditWindowCardViewController::setCardTextColumns(
    const UFemCardTextColumns* cardTextColumns)
{
    setCardTextColumnsShown(cardTextColumns);
}

void ModelEditWindowCardViewController::setCardArray(const UFemCardVector& cards)
{
    if (cardViewType_ != TABLE_CARD_VIEW)
        UFemRaiseProgramError(QStringLiteral("_cardViewType is NOT 'TABLE_CARD_VIEW'."));
    dataSource_->setCardArray(cards);
}

// ---- Kind of card

void ModelEditWindowCardViewController::setKindOfCardWithCardClass(const UFemCardClass* cardClass)
{
    if (cardClass == nullptr || cardClass->cardType() == UFemErrorCardType) {
        kindOfCardClass_ = nullptr;
        return;
    }
    kindOfCardClass_ = cardClass;
    const qint64 tag
        = UFemCardClassManager::sharedCardClassManager().menuTagOfCardClass(*cardClass);
    oneCardView1_.kindPopup->setCurrentIndex(oneCardView1_.kindPopup->findData(tag));
}

void ModelEditWindowCardViewController::setKindOfCardWithMenuTag(qint64 tag)
{
    kindOfCardClass_ = UFemCardClassManager::sharedCardClassManager().cardClassOfCardMenuTag(tag);
    oneCardView1_.kindPopup->setCurrentIndex(oneCardView1_.kindPopup->findData(tag));
}

void ModelEditWindowCardViewController::setKindOfCardWithCardLabelString(const QString& label)
{
    UErrorPtr error;
    const UFemCardClass* cardClass
        = UFemCardClassManager::sharedCardClassManager().kindOfCardClassWithCardLabelString(
            label, &error);
    setKindOfCardWithCardClass(
        cardClass != nullptr && UFemIsNormalCardType(cardClass->cardType()) ? cardClass : nullptr);
}

void ModelEditWindowCardViewController::setValidKindOfCardIfNotSet()
{
    if (kindOfCardClass_ == nullptr)
        setKindOfCardWithCardLabelString(defaultKindLabel);
}

void ModelEditWindowCardViewController::kindOfCardPopupDidChange()
{
    setKindOfCardWithMenuTag(oneCardView1_.kindPopup->currentData().toLongLong());
    swapViewWithClearFlag(false);
}

void ModelEditWindowCardViewController::swapToOneCardViewOfType(int tag)
{
    if (tag == 1) {
        useOneCardView2_ = false;
        if (cardViewType_ == ONE_CARD_VIEW_2) {
            setKindOfCardWithCardLabelString(oneCardView2_.kindField->text().trimmed());
            setValidKindOfCardIfNotSet();
        }
    } else {
        useOneCardView2_ = true;
    }
    swapViewWithClearFlag(false);
}

bool ModelEditWindowCardViewController::isAllowedHaveSomeCard() const
{
    if (cardViewType_ == ONE_CARD_VIEW_1)
        return kindOfCardClass_ != nullptr && kindOfCardClass_->isAllowedHaveSomeCard();
    if (cardViewType_ == ONE_CARD_VIEW_2)
        return false;
    UFemRaiseProgramError(QStringLiteral("'_cardViewType' is NOT 'ONE_CARD_VIEW_1 or 2'."));
}

bool ModelEditWindowCardViewController::isCardOnViewAllowedHaveSomeCard() const
{
    if (cardViewType_ != ONE_CARD_VIEW_2)
        return isAllowedHaveSomeCard();
    UErrorPtr error;
    const UFemCardClass* cardClass
        = UFemCardClassManager::sharedCardClassManager().kindOfCardClassWithCardLabelString(
            oneCardView2_.kindField->text().trimmed(), &error);
    // A typed label that names no class allows nothing.
    return cardClass != nullptr && UFemIsNormalCardType(cardClass->cardType())
        && cardClass->isAllowedHaveSomeCard();
}

// ---- Swapping

void ModelEditWindowCardViewController::swapViewWithClearFlag(bool clearFlag)
{
    isSwapping_ = true;
    if (cardViewType_ == TABLE_CARD_VIEW || cardViewType_ == EMPTY_CARD_VIEW) {
        releaseActiveForm();
        const bool isTable = cardViewType_ == TABLE_CARD_VIEW;
        stack_->setCurrentWidget(isTable ? tableCardView_ : emptyCardView_);
        firstKeyView_ = lastKeyView_ = nullptr;
        cardViewMinSize_ = QSize(cardViewMinWidth_, fixedCardViewHeight);
        if (isTable && (clearFlag || cardViewType_old_ != TABLE_CARD_VIEW))
            clearView();
    } else {
        std::optional<std::pair<QStringList, QString>> kept;
        if (!clearFlag && isOneCardType(cardViewType_old_)) {
            const qint32 type = cardViewType_;
            const UFemCardClass* kind = kindOfCardClass_;
            cardViewType_ = cardViewType_old_;
            kindOfCardClass_ = kindOfCardClass_old_;
            kept.emplace(columnStringArray(), commentString());
            cardViewType_ = type;
            kindOfCardClass_ = kind;
        }
        releaseActiveForm();
        const bool isGeneral = kindOfCardClass_ == nullptr || useOneCardView2_;
        cardViewType_ = isGeneral ? ONE_CARD_VIEW_2 : ONE_CARD_VIEW_1;
        placeOneCardForm(isGeneral ? oneCardView2_ : oneCardView1_);
        if (kept) {
            setColumnStringArray(kept->first);
            setCommentString(kept->second);
        } else {
            clearView();
        }
        updateCardViewMinSize();
    }
    cardViewType_old_ = cardViewType_;
    kindOfCardClass_old_ = kindOfCardClass_;
    isSwapping_ = false;
    setViewEditable();
    superview_.connectWithCardView();
    superview_.updateSuperviewSizeWithCardViewMinSize(cardViewMinSize_);
}

void ModelEditWindowCardViewController::placeOneCardForm(const OneCardView& view)
{
    stack_->setCurrentWidget(view.view);
    UFemCardFormViewController* form = nullptr;
    if (view.kindPopup != nullptr)
        form = CardFormViewControllerAbst::sharedCardFormViewController(*kindOfCardClass_);
    QWidget* formStart = view.nameField;
    if (view.kindField != nullptr) {
        QWidget::setTabOrder(view.kindField, view.nameField);
        formStart = view.kindField;
    }
    if (form != nullptr) {
        activeForm_ = form;
        form->setDelegate(this);
        view.formBox->addWidget(form->cardFormView());
        form->cardFormView()->show();
        QWidget::setTabOrder(view.nameField, form->firstKeyView());
        form->setNextKeyViewOnLastView(view.commentField);
    } else {
        view.formBox->addWidget(generalCardFormView_);
        generalCardFormView_->show();
        QWidget::setTabOrder(view.nameField, generalCells_.front());
        for (size_t i = 1; i < generalCells_.size(); ++i)
            QWidget::setTabOrder(generalCells_[i - 1], generalCells_[i]);
        QWidget::setTabOrder(generalCells_.back(), view.commentField);
    }
    firstKeyView_ = view.kindField != nullptr ? formStart : view.nameField;
    lastKeyView_ = view.commentField;
}

// The shared form's view goes back to its form; the general form stays with this view, hidden.
void ModelEditWindowCardViewController::releaseActiveForm()
{
    if (activeForm_ != nullptr) {
        QWidget* formView = activeForm_->cardFormView();
        activeForm_->setDelegate(nullptr);
        formView->hide();
        formView->setParent(nullptr);
        activeForm_ = nullptr;
    }
    if (generalCardFormView_->parentWidget() != cardView_.get()) {
        generalCardFormView_->hide();
        generalCardFormView_->setParent(cardView_.get());
    }
}

void ModelEditWindowCardViewController::updateCardViewMinSize()
{
    activeCardFormViewMinSize_
        = activeForm_ != nullptr ? activeForm_->cardFormViewMinSize() : generalCardFormViewMinSize_;
    cardViewMinSize_
        = QSize(cardViewMinWidth_, cardViewAdditionalHeight_ + activeCardFormViewMinSize_.height());
}

// A form whose size changed is placed again: its text is already where it belongs.
void ModelEditWindowCardViewController::reconnectCardFormViewWithCardFormViewController(
    UFemCardFormViewController& form)
{
    if (isSwapping_ || &form != activeForm_)
        return;
    updateCardViewMinSize();
    superview_.connectWithCardView();
    superview_.updateSuperviewSizeWithCardViewMinSize(cardViewMinSize_);
}

void ModelEditWindowCardViewController::clearView()
{
    if (cardViewType_ == TABLE_CARD_VIEW) {
        dataSource_->clearCardArray();
        return;
    }
    if (!isOneCardViewShown())
        return;
    const OneCardView& view = shownOneCardView();
    view.nameField->clear();
    view.commentField->clear();
    if (view.kindField != nullptr)
        view.kindField->clear();
    if (activeForm_ != nullptr)
        activeForm_->resetCardTextColumns();
    else
        for (QLineEdit* cell : generalCells_)
            cell->clear();
}

void ModelEditWindowCardViewController::setViewEditable()
{
    if (cardViewType_ == TABLE_CARD_VIEW || cardViewType_ == EMPTY_CARD_VIEW)
        return;
    if (!isOneCardViewShown())
        UFemRaiseProgramError(QStringLiteral("_cardViewType is 'ONE_CARD_VIEW_TYPE'."));
    const OneCardView& view = shownOneCardView();
    if (view.kindPopup != nullptr)
        view.kindPopup->setEnabled(isEditable_);
    if (view.kindField != nullptr)
        view.kindField->setReadOnly(!isEditable_);
    view.nameField->setReadOnly(!isEditable_);
    if (activeForm_ != nullptr)
        activeForm_->setEditable(isEditable_);
    else
        for (QLineEdit* cell : generalCells_)
            cell->setReadOnly(!isEditable_);
}
