#include "tools/divider/UFemToolElementDivider.h"

#include "appkit/SharedWidget.h"
#include "appkit/SheetPresenter.h"
#include "appkit/WindowFront.h"
#include "appkit/WindowTracker.h"
#include "cardmodel/card/UFemCardType.h"
#include "documents/window/UFemWindowController.h"
#include "tools/common/UFemToolPanelSupport.h"

#include <QApplication>
#include <QBoxLayout>
#include <QClipboard>
#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace {

const QString InitialNumberOfDivide = QStringLiteral("2");
const QString DividerWarningInformation
    = QStringLiteral("Error description and model text has written in clipboard. Paste it on an "
                     "text editor software and check it.");

struct ChangeDirectionItem {
    const char* title;
    qint32 tag;
    const char* name;
};

const ChangeDirectionItem ChangeDirectionItems[] = {
    { QT_TRANSLATE_NOOP("UFemToolElementDivider", "Quad -> Quad8"),
        UFemToolElementDivider::changeToQuad8Direction, "Quad8" },
    { QT_TRANSLATE_NOOP("UFemToolElementDivider", "Quad -> Quad9"),
        UFemToolElementDivider::changeToQuad9Direction, "Quad9" },
    { QT_TRANSLATE_NOOP("UFemToolElementDivider", "Quad -> Quad16"),
        UFemToolElementDivider::changeToQuad16Direction, "Quad16" },
    { QT_TRANSLATE_NOOP("UFemToolElementDivider", "QuadXX -> Quad"),
        UFemToolElementDivider::changeToQuadDirection, nullptr },
};

// The name of the conversion in its alerts: "Quad to Quad8" … and "QuadXX to Quad".
QString changeName(qint32 direction)
{
    for (const ChangeDirectionItem& item : ChangeDirectionItems) {
        if (item.tag == direction && item.name != nullptr)
            return QStringLiteral("Quad to ") + QLatin1String(item.name);
    }
    return QStringLiteral("QuadXX to Quad");
}

bool hasElementCard(const UFemCardVector& cards)
{
    return std::any_of(cards.begin(), cards.end(),
        [](const UFemCardPtr& card) { return card->cardType() == UFemElementCardType; });
}

} // namespace

void UFemToolElementDivider::apply(WindowTracker& tracker, SheetPresenter& sheets)
{
    sharedElementDivider(tracker, sheets).openElementDividerWindow();
}

UFemToolElementDivider& UFemToolElementDivider::sharedElementDivider(
    WindowTracker& tracker, SheetPresenter& sheets)
{
    return SharedWidget<UFemToolElementDivider>::widget(
        [&] { return std::make_unique<UFemToolElementDivider>(tracker, sheets); });
}

UFemToolElementDivider::UFemToolElementDivider(WindowTracker& tracker, SheetPresenter& sheets)
    : QWidget(nullptr, Qt::Tool | Qt::WindowStaysOnTopHint)
    , tracker_(tracker)
    , sheets_(sheets)
{
    setObjectName(QStringLiteral("UFemToolElementDivider"));
    setWindowTitle(tr("Divide Elements"));
    buildPanel();
}

UFemToolElementDivider::~UFemToolElementDivider() = default;

void UFemToolElementDivider::buildPanel()
{
    functionSelectTab_ = new QTabWidget(this);
    auto* divideTab = new QWidget;
    divideTab->setObjectName(UFemToolElementDividerDivideElementsTab);
    auto* divideForm = new QFormLayout(divideTab);
    numberOfDivideTextField_ = new QLineEdit(InitialNumberOfDivide, divideTab);
    divideForm->addRow(tr("Number of dividing:"), numberOfDivideTextField_);
    functionSelectTab_->addTab(divideTab, tr("Divide Elements"));

    auto* changeTab = new QWidget;
    changeTab->setObjectName(UFemToolElementDividerChangeQuad4QuadXXTab);
    auto* changeForm = new QFormLayout(changeTab);
    changeDirectionPopup_ = new QComboBox(changeTab);
    for (const ChangeDirectionItem& item : ChangeDirectionItems)
        changeDirectionPopup_->addItem(tr(item.title), item.tag);
    changeForm->addRow(tr("Change:"), changeDirectionPopup_);
    functionSelectTab_->addTab(changeTab, tr("Change Quad"));

    auto* cancel = new QPushButton(tr("Cancel"), this);
    auto* apply = new QPushButton(tr("Apply"), this);
    apply->setDefault(true);
    connect(cancel, &QPushButton::clicked, this, &UFemToolElementDivider::cancelElementDivider);
    connect(apply, &QPushButton::clicked, this, &UFemToolElementDivider::applyElementDivider);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cancel);
    buttons->addWidget(apply);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(functionSelectTab_);
    layout->addLayout(buttons);
}

void UFemToolElementDivider::openElementDividerWindow()
{
    numberOfDivideTextField_->setText(InitialNumberOfDivide);
    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    WindowFront::bring(*this);
}

void UFemToolElementDivider::cancelElementDivider()
{
    close();
}

void UFemToolElementDivider::alert(const QString& messageText, const QString& informativeText)
{
    UFemToolRunAlert(sheets_, messageText, informativeText);
}

const UFemCardVector* UFemToolElementDivider::checkedSelection()
{
    UFemWindowController* main = UFemToolMainDocumentWindowController(tracker_);
    if (main == nullptr) {
        alert(tr("Document window is not selected."),
            tr("Select element cards which you want to divide, and apply while selecting the "
               "window."));
        return nullptr;
    }
    const UFemCardVector& selection = main->selectedCardArray();
    if (!hasElementCard(selection)) {
        alert(tr("Element card is not selected."),
            tr("Select element cards which you want to divide, and apply."));
        return nullptr;
    }
    return &selection;
}

void UFemToolElementDivider::finishRun(const std::optional<QString>& modelText,
    bool didExistWarning, const UErrorPtr& error, const QString& completedMessage,
    const QString& warningMessage, const QString& completedInformation)
{
    if (!modelText) {
        sheets_.runModalAlert(Alert::fromError(*error));
        return;
    }
    QGuiApplication::clipboard()->setText(*modelText);
    if (didExistWarning)
        alert(warningMessage, DividerWarningInformation);
    else
        alert(completedMessage, completedInformation);
}

void UFemToolElementDivider::applyElementDivider()
{
    const QWidget* tab = functionSelectTab_->currentWidget();
    const QString identifier = tab != nullptr ? tab->objectName() : QString();
    bool didExistWarning = false;
    UErrorPtr error;
    if (identifier == UFemToolElementDividerDivideElementsTab) {
        // The leading integer of the text; empty or non-numeric text counts as 0.
        const qint64 numberOfDivide
            = std::strtoll(numberOfDivideTextField_->text().toLatin1().constData(), nullptr, 10);
        close();
        const UFemCardVector* selection = checkedSelection();
        if (selection == nullptr)
            return;
        if (numberOfDivide <= 1) {
            alert(tr("'Number of dividing' is less than 2."),
                tr("'Number of dividing' must be 2 or more."));
            return;
        }
        const std::optional<QString> text = modelTextToAddByDividingElement(
            *selection, quint64(numberOfDivide), 0, nullptr, &didExistWarning, &error);
        finishRun(text, didExistWarning, error, tr("'Dividing Elements' completed."),
            tr("'Dividing Elements' has some error or warning."),
            tr("Model text of divided elements has written in clipboard. Paste it on model or an "
               "text editor software."));
    } else if (identifier == UFemToolElementDividerChangeQuad4QuadXXTab) {
        const qint32 direction = changeDirectionPopup_->currentData().toInt();
        close();
        const UFemCardVector* selection = checkedSelection();
        if (selection == nullptr)
            return;
        const std::optional<QString> text = modelTextToAddByChangingQuad4QuadXX(
            *selection, direction, 0, nullptr, &didExistWarning, &error);
        const QString name = changeName(direction);
        finishRun(text, didExistWarning, error, tr("'Changing %1' completed.").arg(name),
            tr("'Changing %1' has some error or warning.").arg(name),
            tr("Model text of changed Quad has written in clipboard. Paste it on model or an text "
               "editor software."));
    }
}
