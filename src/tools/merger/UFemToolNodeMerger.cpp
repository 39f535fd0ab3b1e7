#include "tools/merger/UFemToolNodeMerger.h"

#include "appkit/SharedWidget.h"
#include "appkit/SheetPresenter.h"
#include "appkit/WindowFront.h"
#include "cardmodel/card/UFemCardName.h"
#include "cardmodel/card/UFemCardType.h"
#include "cardmodel/data/UFemDataController.h"
#include "cardmodel/text/UFemModelValueParser.h"
#include "cardmodel/text/UFemParenthesisBlockReader.h"
#include "documents/window/UFemWindowController.h"
#include "foundation/errors/UFemErrorsNodeMerger.h"
#include "tools/common/UFemToolPanelSupport.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFormLayout>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

const QString InitialNodeMergeDistance = QStringLiteral("1.0E-08");
const QString NoNameListMessage = QStringLiteral("No Node Card Name List in clipboard.");
const QString NoNameListInformation
    = QStringLiteral("Do 'Copy' and put Node Name List ( Text separated by New-Line ('LF' or "
                     "'CR') character ) of Nodes to be kept to clipboard, then apply.");
constexpr int MaximumBadNames = 3;
constexpr int UnusedNamesShown = 10;

QString nameOf(const UFemCard& card)
{
    return card.cardNameString().value_or(QString());
}

// "name, " for every member, kept node first, a line per group.
QString changeListText(const std::vector<UFemToolNodeMerger::NodeGroup>& groups)
{
    QString text;
    for (const UFemToolNodeMerger::NodeGroup& group : groups) {
        for (const UFemCardPtr& member : group)
            text += nameOf(*member) + QStringLiteral(", ");
        text += QLatin1Char('\n');
    }
    return text;
}

// The line of a keep-list name that names no Node card; empty for a Node card's name, which
// `node` then receives.
QString badNameLine(const UFemDataController& model, const QString& name, UFemCard*& node)
{
    UErrorPtr failure;
    const std::shared_ptr<UFemCardName> cardName
        = model.searchCardNameWithCardNameString(name, &failure);
    if (failure)
        return QStringLiteral("%1 : %2\n").arg(name, failure->localizedDescription());
    const std::vector<UFemCard*> cards
        = cardName != nullptr ? cardName->cardArray() : std::vector<UFemCard*>();
    if (cards.empty())
        return QStringLiteral("%1 : Specified Card Name is not exist.\n").arg(name);
    if (cards.front()->cardType() != UFemNodeCardType)
        return QStringLiteral("%1 : Specified Card Name is not Node Card Type. ( Card Type: %2 )\n")
            .arg(name, UFemCardTypeDisplayString(cards.front()->cardType()));
    node = cards.front();
    return QString();
}

} // namespace

struct UFemToolNodeMerger::RunOptions {
    int keepNodeTag;
    bool doesUseNodeNameListInClipboard;
    bool doesKeepRemovedNodeCardAsComment;
};

void UFemToolNodeMerger::apply(WindowTracker& tracker, SheetPresenter& sheets)
{
    sharedNodeMerger(tracker, sheets).openNodeMergerWindow();
}

UFemToolNodeMerger& UFemToolNodeMerger::sharedNodeMerger(
    WindowTracker& tracker, SheetPresenter& sheets)
{
    return SharedWidget<UFemToolNodeMerger>::widget(
        [&] { return std::make_unique<UFemToolNodeMerger>(tracker, sheets); });
}

UFemToolNodeMerger::UFemToolNodeMerger(WindowTracker& tracker, SheetPresenter& sheets)
    : QWidget(nullptr, Qt::Tool | Qt::WindowStaysOnTopHint)
    , tracker_(tracker)
    , sheets_(sheets)
{
    setObjectName(QStringLiteral("UFemToolNodeMerger"));
    setWindowTitle(tr("Merge Nodes"));
    buildPanel();
}

UFemToolNodeMerger::~UFemToolNodeMerger() = default;

void UFemToolNodeMerger::buildPanel()
{
    nodeMergeDistanceTextField_ = new QLineEdit(InitialNodeMergeDistance, this);
    keepNodeOptionPopup_ = new QComboBox(this);
    keepNodeOptionPopup_->addItem(tr("First Node in Model"), keepFirstNodeTag);
    keepNodeOptionPopup_->addItem(tr("Last Node in Model"), keepLastNodeTag);
    doesUseNodeNameListInClipboardCheckButton_
        = new QCheckBox(tr("Keep the nodes named by the list in the clipboard"), this);
    doesKeepRemovedNodeCardAsCommentCheckButton_
        = new QCheckBox(tr("Keep removed Node cards as comments"), this);
    auto* form = new QFormLayout;
    form->addRow(tr("Node Merge Distance:"), nodeMergeDistanceTextField_);
    form->addRow(tr("Node to keep:"), keepNodeOptionPopup_);
    form->addRow(doesUseNodeNameListInClipboardCheckButton_);
    form->addRow(doesKeepRemovedNodeCardAsCommentCheckButton_);

    auto* cancel = new QPushButton(tr("Cancel"), this);
    auto* writeList = new QPushButton(tr("Write List Only"), this);
    auto* apply = new QPushButton(tr("Merge"), this);
    apply->setDefault(true);
    connect(cancel, &QPushButton::clicked, this, &UFemToolNodeMerger::cancelNodeMerger);
    connect(
        writeList, &QPushButton::clicked, this, &UFemToolNodeMerger::writeNodeNameListToClipboard);
    connect(apply, &QPushButton::clicked, this, &UFemToolNodeMerger::applyNodeMerger);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cancel);
    buttons->addStretch();
    buttons->addWidget(writeList);
    buttons->addWidget(apply);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
}

void UFemToolNodeMerger::openNodeMergerWindow()
{
    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    WindowFront::bring(*this);
}

void UFemToolNodeMerger::cancelNodeMerger()
{
    close();
}

void UFemToolNodeMerger::alert(const QString& messageText, const QString& informativeText)
{
    UFemToolRunAlert(sheets_, messageText, informativeText);
}

void UFemToolNodeMerger::showError(const UErrorPtr& error)
{
    sheets_.runModalAlert(Alert::fromError(*error));
}

std::optional<std::vector<UFemCard*>> UFemToolNodeMerger::keepListFromClipboard(
    const UFemCardVector& selection)
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (data == nullptr || !data->hasText()) {
        alert(NoNameListMessage, NoNameListInformation);
        return std::nullopt;
    }
    UErrorPtr error;
    const std::optional<QStringList> names = UFemParseCardValueExpressionStringList(
        data->text().replace(QLatin1Char('\t'), QLatin1Char(',')), &error);
    if (!names) {
        showError(error);
        return std::nullopt;
    }
    const auto& model
        = dynamic_cast<const UFemDataController&>(*selection.front()->dataController());
    std::vector<UFemCard*> keepList;
    QString badNames;
    int badNameCount = 0;
    for (const QString& item : *names) {
        const QString name = item.trimmed();
        if (name.isEmpty())
            continue;
        UFemCard* node = nullptr;
        const QString line = badNameLine(model, name, node);
        if (line.isEmpty()) {
            keepList.push_back(node);
            continue;
        }
        if (++badNameCount > MaximumBadNames) {
            badNames += QStringLiteral("... (more)");
            break;
        }
        badNames += line;
    }
    if (badNameCount > 0) {
        if (badNameCount <= MaximumBadNames)
            badNames.chop(1);
        showError(
            UFemToolNodeMergerSpecifiedKeepNodeCardNameListNodeCardNameError_withNodeCardErrorString(
                badNames));
        return std::nullopt;
    }
    if (keepList.empty()) {
        alert(NoNameListMessage, NoNameListInformation);
        return std::nullopt;
    }
    return keepList;
}

bool UFemToolNodeMerger::applyKeepRules(
    std::vector<NodeGroup>& groups, const RunOptions& options, std::vector<UFemCard*>& keepList)
{
    for (NodeGroup& group : groups) {
        auto kept = group.end();
        if (options.doesUseNodeNameListInClipboard) {
            kept = std::find_if(group.begin(), group.end(), [&keepList](const UFemCardPtr& member) {
                return std::find(keepList.begin(), keepList.end(), member.get()) != keepList.end();
            });
            if (kept != group.end())
                std::erase(keepList, kept->get());
        }
        if (kept == group.end() && options.keepNodeTag == keepLastNodeTag)
            kept = group.end() - 1;
        if (kept != group.end())
            std::rotate(group.begin(), kept, kept + 1);
    }
    if (!options.doesUseNodeNameListInClipboard || keepList.empty())
        return true;
    QStringList shown;
    for (std::size_t k = 0; k < keepList.size() && k < std::size_t(UnusedNamesShown); ++k)
        shown.append(nameOf(*keepList[k]));
    const QString count = QString::number(keepList.size());
    const QString names = keepList.size() <= std::size_t(UnusedNamesShown)
        ? shown.join(QStringLiteral(", ")) + QStringLiteral(" ( %1 cards )").arg(count)
        : shown.join(QStringLiteral(", ")) + QStringLiteral(", ... ( %1 cards )").arg(count);
    alert(QStringLiteral("Several Node Card Name specified is not used."),
        QStringLiteral("Node Name below is specified in clipboard, but it's not included in "
                       "selected Node card, or No node on same location.\n")
            + names);
    return false;
}

void UFemToolNodeMerger::printNodeChangeListToClipboardAndExecuteMergeNode(
    bool doesExecuteMergeNode)
{
    URange range;
    double distance = 0.0;
    UErrorPtr error;
    if (!UFemParseRealColumnString(nodeMergeDistanceTextField_->text(), range, distance, &error)) {
        showError(error);
        return;
    }
    const RunOptions options { keepNodeOptionPopup_->currentData().toInt(),
        doesUseNodeNameListInClipboardCheckButton_->isChecked(),
        doesKeepRemovedNodeCardAsCommentCheckButton_->isChecked() };
    close();

    UFemWindowController* window = UFemToolMainDocumentWindowController(tracker_);
    if (window == nullptr) {
        alert(QStringLiteral("Document window is not selected."),
            QStringLiteral("Select node cards which you want to check or merge on same location, "
                           "and apply while selecting the window."));
        return;
    }
    UFemCardVector nodes;
    for (const UFemCardPtr& card : window->selectedCardArray()) {
        if (card->cardType() == UFemNodeCardType)
            nodes.push_back(card);
    }
    if (nodes.size() < 2) {
        alert(QStringLiteral("Node Card is not selected or Just 1 Node Card is selected."),
            QStringLiteral("Select node cards which you want to check or merge on same location "
                           "(at least 2 node cards), then apply."));
        return;
    }
    if (range.length == 0 || !(distance >= 0.0) || !std::isfinite(distance)) {
        alert(QStringLiteral("'Node Merge Distance' is empty or smaller than 0.0."),
            QStringLiteral("'Node Merge Distance' must be 0.0 or more."));
        return;
    }
    std::vector<UFemCard*> keepList;
    if (options.doesUseNodeNameListInClipboard) {
        std::optional<std::vector<UFemCard*>> read = keepListFromClipboard(nodes);
        if (!read)
            return;
        keepList = std::move(*read);
    }
    std::optional<std::vector<NodeGroup>> groups
        = nodeCardListArrayOnSameLocation(nodes, distance, &error);
    if (!groups) {
        showError(error);
        return;
    }
    if (groups->empty()) {
        alert(QStringLiteral("No nodes exist on same location or closer than 'Node Merge "
                             "Distance'."),
            QStringLiteral("No nodes to be merged. or Check 'Node Merge Distance'."));
        return;
    }
    if (!applyKeepRules(*groups, options, keepList))
        return;
    QGuiApplication::clipboard()->setText(changeListText(*groups));
    if (!doesExecuteMergeNode) {
        alert(QStringLiteral("Node List on same location has written in clipboard."),
            QStringLiteral("You can paste it on a text editor software."));
        return;
    }
    if (!mergeNode(*groups, options.doesKeepRemovedNodeCardAsComment, &error)) {
        showError(error);
        return;
    }
    alert(QStringLiteral("'Merging Nodes' completed."),
        QStringLiteral("Merged Node List has written in clipboard. You can paste it on a text "
                       "editor software."));
}
