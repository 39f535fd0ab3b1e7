#include "WindowTestSupport.h"

#include "cardmodel/card/UFemCard.h"
#include "cardmodel/data/UFemDataControllerNotifications.h"
#include "cardmodel/data/UFemWindowCardTable.h"
#include "documents/mainview/UFemPlainMainViewController.h"
#include "documents/window/UFemWindow.h"
#include "documents/window/UFemWindowNotifications.h"
#include "foundation/UFemNotFound.h"
#include "foundation/errors/UException.h"
#include "foundation/errors/UFemErrorsOther.h"

#include <QCheckBox>
#include <QClipboard>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>

#include <gtest/gtest.h>

namespace {

constexpr quint64 windowModelCardCount = 12;

// A stand-in view that counts its swaps and may ask for a larger minimum size.
class CountingMainView : public UFemPlainMainViewController {
public:
    CountingMainView(UFemWindowController& window, UFemViewType type, QSize minimum)
        : UFemPlainMainViewController(window, type)
        , minimum_(minimum)
    {
    }
    QSize minimumMainViewBoxSize() const override { return minimum_; }
    void viewWillSwapOut() override { ++swappedOut; }

    int swappedOut = 0;

private:
    QSize minimum_;
};

struct CountingMaker {
    QSize graphicMinimum { 200, 150 };
    int made[4] = {};
    CountingMainView* views[4] = {};

    UFemWindowController::MainViewControllerMaker maker()
    {
        return [this](UFemWindowController& window, UFemViewType type) {
            ++made[type];
            const QSize minimum = type == UFemViewTypeGraphic ? graphicMinimum : QSize(200, 150);
            auto view = std::make_unique<CountingMainView>(window, type, minimum);
            views[type] = view.get();
            return view;
        };
    }
};

UFemCardPtr caseNamed(UFemDataController& model, const QString& name)
{
    const UFemCardArray& cases = model.caseCardArray();
    for (quint64 index = 0; index < cases.count(); ++index)
        if (cases.objectAtIndex(index)->cardNameString() == name)
            return cases.objectAtIndex(index);
    return nullptr;
}

} // namespace

TEST(WindowControllerTest, FirstViewDependsOnModelDataAndViewTypeNeedsAView)
{
    WindowHarness withModel(UFemDocumentTypeModel, WindowModelText);
    EXPECT_EQ(withModel.window->viewType(), UFemViewTypeCard);
    EXPECT_EQ(withModel.window->windowCardTable().count(), windowModelCardCount);

    WindowHarness project(UFemDocumentTypeProject);
    EXPECT_EQ(project.window->viewType(), UFemViewTypeInfo);

    UFemWindowController bare(withModel.tracker);
    try {
        (void)bare.viewType();
        FAIL() << "viewType before the first swap";
    } catch (const UException& exception) {
        EXPECT_EQ(exception.name(), UFemProgramErrorExceptionName);
        EXPECT_EQ(exception.reason(), QStringLiteral("mainViewController == nil"));
    }
}

TEST(WindowControllerTest, ViewSwapKeepsSelectionAndCaseAndMakesEachViewOnce)
{
    CountingMaker counting;
    WindowHarness harness(UFemDocumentTypeModel, WindowModelText, counting.maker());
    UFemWindowController& window = *harness.window;
    const UFemCardPtr node = harness.windowCard(2);
    window.setSelectedCardArray({ node });
    window.selectOneCase(caseNamed(harness.model(), QStringLiteral("Live")));
    const quint64 shownWithCase = window.windowCardTable().count();

    NotificationLog log(
        { UFemActiveMainViewWillChangeNotification, UFemActiveMainViewDidChangeNotification },
        { &window });
    window.setViewType(UFemViewTypeGraphic);
    window.setViewType(UFemViewTypeCard);
    window.setViewType(UFemViewTypeCard);
    EXPECT_EQ(log.names,
        QStringList({ UFemActiveMainViewWillChangeNotification,
            UFemActiveMainViewDidChangeNotification, UFemActiveMainViewWillChangeNotification,
            UFemActiveMainViewDidChangeNotification }));
    EXPECT_EQ(counting.made[UFemViewTypeCard], 1);
    EXPECT_EQ(counting.made[UFemViewTypeGraphic], 1);
    EXPECT_EQ(counting.views[UFemViewTypeCard]->swappedOut, 1);
    EXPECT_EQ(window.mainViewController(), counting.views[UFemViewTypeCard]);
    ASSERT_EQ(window.selectedCardArray().size(), 1u);
    EXPECT_EQ(window.selectedCardArray().front(), node);
    EXPECT_EQ(window.currentCaseSelectMode(), UFemCaseSelectModeOneCase);
    EXPECT_EQ(window.currentCaseCard()->cardNameString(), QStringLiteral("Live"));
    EXPECT_EQ(window.windowCardTable().count(), shownWithCase);

    try {
        window.setViewTypeMenuTag(7);
        FAIL() << "view type 7";
    } catch (const UException& exception) {
        EXPECT_EQ(exception.reason(), QStringLiteral("Unexpected ViewType has come."));
    }
}

TEST(WindowControllerTest, SwapGrowsTheWindowToTheNewViewsMinimumOnly)
{
    CountingMaker counting;
    counting.graphicMinimum = QSize(1000, 100);
    WindowHarness harness(UFemDocumentTypeModel, WindowModelText, counting.maker());
    QWidget& widget = *harness.window->window();
    const QSize before = widget.size();
    const QSize diff = harness.window->windowContentViewAndMainDummyViewDiffSize();
    ASSERT_LT(before.width(), 1000 + diff.width());

    harness.window->setViewType(UFemViewTypeGraphic);
    EXPECT_EQ(widget.width(), 1000 + diff.width());
    EXPECT_EQ(widget.height(), before.height());
    EXPECT_EQ(widget.minimumSize(), QSize(1000, 100) + diff);

    harness.window->setViewType(UFemViewTypeCard);
    EXPECT_EQ(widget.width(), 1000 + diff.width());
}

TEST(WindowControllerTest, CombinedFilterFollowsCaseModeAndUserFilter)
{
    WindowHarness harness(UFemDocumentTypeModel, WindowModelText);
    UFemWindowController& window = *harness.window;
    const UFemCardPtr dead = caseNamed(harness.model(), QStringLiteral("Dead"));
    const UFemCardPtr live = caseNamed(harness.model(), QStringLiteral("Live"));
    ASSERT_TRUE(dead && live);
    EXPECT_EQ(window.combinedCardFilterString(), std::nullopt);

    window.selectOneCase(dead);
    EXPECT_EQ(window.combinedCardFilterString(), QStringLiteral("case:Dead|type:Null"));
    EXPECT_EQ(window.windowCardTable().filterString(), QStringLiteral("case:Dead|type:Null"));

    window.selectCaseInSomeCases(live);
    EXPECT_EQ(window.currentCaseSelectMode(), UFemCaseSelectModeSomeCases);
    EXPECT_EQ(window.currentCaseCardArray(), UFemCardVector({ live }));
    window.selectCaseInSomeCases(dead);
    EXPECT_EQ(window.combinedCardFilterString(), QStringLiteral("caseArray:{Dead,Live}|type:Null"));
    window.selectCaseInSomeCases(dead);
    window.selectCaseInSomeCases(live);
    EXPECT_EQ(window.combinedCardFilterString(), QStringLiteral("type:Null"));
    ASSERT_EQ(window.windowCardTable().count(), 1u);
    EXPECT_TRUE(window.windowCardTable().cardAtIndex(0)->isNullCard());

    window.selectAllCases();
    EXPECT_EQ(window.combinedCardFilterString(), std::nullopt);
    EXPECT_EQ(window.windowCardTable().count(), windowModelCardCount);
    EXPECT_EQ(window.currentCaseCard(), nullptr);
    EXPECT_EQ(window.currentCaseNo(), UFemNotFound);
    EXPECT_EQ(window.currentCaseCardArray(), UFemCardVector({ dead, live }));

    window.setCardFilterString(QStringLiteral("type:Node"));
    EXPECT_EQ(window.combinedCardFilterString(), QStringLiteral("type:Node"));
    EXPECT_EQ(window.windowCardTable().count(), 2u);
    window.selectOneCase(dead);
    EXPECT_EQ(
        window.combinedCardFilterString(), QStringLiteral("(case:Dead|type:Null)&(type:Node)"));

    window.setCardFilterString(QStringLiteral("type:("));
    ASSERT_NE(window.cardFilterError(), nullptr);
    EXPECT_EQ(window.filterString(), QStringLiteral("type:("));
    EXPECT_EQ(window.combinedCardFilterString(), QStringLiteral("case:Dead|type:Null"));

    window.setCardFilterString(QString());
    EXPECT_EQ(window.filterString(), std::nullopt);
    EXPECT_EQ(window.cardFilterError(), nullptr);
    window.selectNoCases();
    EXPECT_EQ(window.combinedCardFilterString(), std::nullopt);
}

TEST(WindowControllerTest, CaseChangeNotificationOrderAndOneCaseModeEndsWhenItsCaseGoes)
{
    WindowHarness harness(UFemDocumentTypeModel, WindowModelText);
    UFemWindowController& window = *harness.window;
    const UFemCardPtr dead = caseNamed(harness.model(), QStringLiteral("Dead"));
    NotificationLog log(
        { UFemWindowCurrentCaseWillChangeNotification,
            UFemWindowCurrentCaseWillChangeNotification_private,
            UFemWindowCurrentCaseDidChangeNotification_private,
            UFemWindowCurrentCaseDidChangeNotification, UFemWindowCardTableWillChangeNotification,
            UFemWindowCardTableDidChangeNotification },
        { &window, &window.windowCardTable() });
    window.selectOneCase(dead);
    EXPECT_EQ(log.names,
        QStringList({ UFemWindowCurrentCaseWillChangeNotification,
            UFemWindowCurrentCaseWillChangeNotification_private,
            UFemWindowCurrentCaseDidChangeNotification_private,
            UFemWindowCardTableWillChangeNotification, UFemWindowCardTableDidChangeNotification,
            UFemWindowCurrentCaseDidChangeNotification }));

    qint32 modeAtPrivateDidChange = 0;
    auto observation = UNotificationCenter::defaultCenter().observe(
        UFemWindowCurrentCaseDidChangeNotification_private, &window,
        [&](const UNotification&) { modeAtPrivateDidChange = window.currentCaseSelectMode(); });
    window.currentCaseCardSetManager().removeAllCards();
    EXPECT_EQ(modeAtPrivateDidChange, UFemCaseSelectModeNoCase);
    EXPECT_EQ(window.combinedCardFilterString(), std::nullopt);
}

TEST(WindowControllerTest, SelectionNotificationsAreRepostedOneForOneOnAModelChange)
{
    WindowHarness harness(UFemDocumentTypeModel, WindowModelText);
    UFemWindowController& window = *harness.window;
    window.setSelectedCardArray({ harness.windowCard(2), harness.windowCard(3) });
    const QStringList setNames
        = { UFemCardSetWillChangeNotification, UFemCardSetWillChangeNotification_private,
              UFemCardSetDidChangeNotification_private, UFemCardSetDidChangeNotification };
    const QStringList windowNames = { UFemWindowSelectedCardWillChangeNotification,
        UFemWindowSelectedCardWillChangeNotification_private,
        UFemWindowSelectedCardDidChangeNotification_private,
        UFemWindowSelectedCardDidChangeNotification };
    NotificationLog log(setNames + windowNames, { &window, &window._selectedCardSetManager() });
    UErrorPtr error;
    ASSERT_NE(harness.model().removeCard(*harness.windowCard(2), &error), UFemNotFound);

    // The window's observer runs before the log's, so each re-post comes just before its source.
    ASSERT_FALSE(log.names.isEmpty());
    ASSERT_EQ(log.names.size() % 2, 0);
    QStringList sources;
    for (qsizetype index = 0; index < log.names.size(); index += 2) {
        const qsizetype kind = setNames.indexOf(log.names[index + 1]);
        ASSERT_GE(kind, 0) << log.names[index + 1].toStdString();
        EXPECT_EQ(log.names[index], windowNames[kind]);
        sources.append(log.names[index + 1]);
    }
    EXPECT_EQ(sources.first(), UFemCardSetWillChangeNotification);
    EXPECT_EQ(sources.last(), UFemCardSetDidChangeNotification);
    EXPECT_EQ(window.selectedCardArray(), UFemCardVector({ harness.windowCard(2) }));
}

TEST(WindowControllerTest, EditorBoxStatesAndWindowHeight)
{
    WindowHarness harness(UFemDocumentTypeModel, WindowModelText);
    UFemWindowController& window = *harness.window;
    UFemWindow& layout = window.ufemWindow();
    QWidget& widget = *window.window();
    const int height = widget.height();
    const int box = int(window.optionalCardStringEditorBoxHeight());
    ASSERT_GT(box, 0);
    EXPECT_EQ(window.optionalCardStringEditorState(), UFemEditorBoxCollapsed);
    EXPECT_TRUE(layout.optionalCardStringEditorBoxOutlet->isHidden());

    window.setOptionalCardStringEditorValid(true);
    EXPECT_EQ(window.optionalCardStringEditorState(), UFemEditorBoxEditing);
    EXPECT_EQ(widget.height(), height + box);
    EXPECT_FALSE(layout.optionalCardStringEditorBoxOutlet->isHidden());
    ASSERT_EQ(
        window.optionalCardStringEditorTextField(), layout.optionalCardStringEditorTextFieldOutlet);
    layout.optionalCardStringEditorTextFieldOutlet->setText(QStringLiteral("Node , N9"));

    window.setOptionalCardStringEditorValid_negativeForDisable(UFemEditorBoxInputDisable);
    EXPECT_EQ(window.optionalCardStringEditorState(), UFemEditorBoxFieldsShown);
    EXPECT_EQ(window.optionalCardStringEditorTextField(), nullptr);
    EXPECT_FALSE(layout.optionalCardStringEditorTextFieldOutlet->isHidden());

    layout.doesKeepOptionalCardStringEditorCheckButtonOutlet->setChecked(true);
    window.setOptionalCardStringEditorValid(false);
    EXPECT_EQ(window.optionalCardStringEditorState(), UFemEditorBoxShownEmpty);
    EXPECT_FALSE(layout.optionalCardStringEditorBoxOutlet->isHidden());
    EXPECT_TRUE(layout.optionalCardStringEditorTextFieldOutlet->isHidden());
    EXPECT_TRUE(layout.optionalCardStringEditorTextFieldOutlet->text().isEmpty());
    EXPECT_EQ(widget.height(), height + box);

    window.setOptionalCardStringEditorValid(true);
    EXPECT_EQ(window.optionalCardStringEditorState(), UFemEditorBoxEditing);
    EXPECT_EQ(widget.height(), height + box);
    layout.doesKeepOptionalCardStringEditorCheckButtonOutlet->setChecked(false);
    window.setOptionalCardStringEditorValid(false);
    EXPECT_EQ(window.optionalCardStringEditorState(), UFemEditorBoxCollapsed);
    EXPECT_EQ(widget.height(), height);

    window.setOptionalCardStringEditorValid(true);
    window.closeOptionalCardStringEditorBox();
    EXPECT_EQ(window.optionalCardStringEditorState(), UFemEditorBoxCollapsed);
    EXPECT_EQ(widget.height(), height);
    window.closeOptionalCardStringEditorBox();
    EXPECT_EQ(widget.height(), height);
}

TEST(WindowControllerTest, StatusBarCountsCardsAndErrorCards)
{
    WindowHarness harness(
        UFemDocumentTypeModel, WindowModelText + QStringLiteral("Bogus , X1 ,\n"));
    UFemWindowController& window = *harness.window;
    EXPECT_EQ(
        window.statusString(), QStringLiteral("Error Cards: 1  Cards in Window: 13 / Total: 13  "));
    window.setCardFilterString(QStringLiteral("type:Node"));
    EXPECT_EQ(
        window.statusString(), QStringLiteral("Error Cards: 1  Cards in Window: 2 / Total: 13  "));
    EXPECT_TRUE(window.ufemWindow().statusTextFieldOutlet->text().contains(QStringLiteral("red")));
    EXPECT_FALSE(window.statusIconShowsResult());
    EXPECT_EQ(window.statusIconString(), QStringLiteral(" Result "));
    window.setViewType(UFemViewTypeInfo);
    EXPECT_EQ(window.statusString(), QString());
}

TEST(WindowControllerTest, LoadingResultsFromTheProjectPathOrThePanel)
{
    WindowHarness project(UFemDocumentTypeProject, WindowModelText);
    project.document->resultPathValid = true;
    project.document->loadError = UFemUnexpectedError_withDescription(QStringLiteral("No result."));
    project.window->performCommand(CommandItem(QStringLiteral("loadResultDataWithMenuItem:")));
    EXPECT_EQ(project.document->projectResultLoads, 1);
    EXPECT_TRUE(project.panels.openPanels.empty());
    ASSERT_EQ(project.sheets.alerts.size(), 1u);
    EXPECT_EQ(
        project.sheets.alerts[0].messageText, project.document->loadError->localizedDescription());

    WindowHarness model(UFemDocumentTypeModel, WindowModelText);
    model.panels.openPaths = { QStringLiteral("/tmp/a.vtresult") };
    model.window->performCommand(CommandItem(QStringLiteral("loadResultDataWithMenuItem:")));
    ASSERT_EQ(model.panels.openPanels.size(), 1u);
    EXPECT_EQ(
        model.panels.openPanels[0].allowedExtensions, QStringList({ QStringLiteral("vtresult") }));
    EXPECT_EQ(model.panels.openPanels[0].prompt, QStringLiteral("Load"));
    EXPECT_FALSE(model.panels.openPanels[0].canChooseDirectories);
    EXPECT_EQ(
        model.document->loadedResultPaths, QStringList({ QStringLiteral("/tmp/a.vtresult") }));
    EXPECT_TRUE(model.sheets.alerts.empty());

    model.panels.openPaths.clear();
    model.window->performCommand(CommandItem(QStringLiteral("loadResultDataWithMenuItem:")));
    EXPECT_EQ(model.document->loadedResultPaths.size(), 1);

    WindowHarness result(UFemDocumentTypeResult, WindowModelText);
    result.window->performCommand(CommandItem(QStringLiteral("loadResultDataWithMenuItem:")));
    EXPECT_TRUE(result.panels.openPanels.empty());
}

TEST(WindowControllerTest, ClipboardCardValuesByTypeAndTheEmptyClipboardAlert)
{
    WindowHarness harness(UFemDocumentTypeModel, WindowModelText);
    QGuiApplication::clipboard()->clear();
    harness.window->performCommand(
        CommandItem(QStringLiteral("loadClipboardCardValueWithMenuItem:")));
    ASSERT_EQ(harness.sheets.alerts.size(), 1u);
    EXPECT_EQ(
        harness.sheets.alerts[0].messageText, QStringLiteral("There is no text in clipboard."));
    EXPECT_EQ(harness.sheets.alerts[0].informativeText,
        QStringLiteral("Execute after 'Copy' Card Value Text in clipboard."));
    EXPECT_TRUE(harness.document->clipboardTexts.isEmpty());

    QGuiApplication::clipboard()->setText(QStringLiteral("N1\t1\t2\t3"));
    harness.window->performCommand(
        CommandItem(QStringLiteral("loadClipboardCardValueAsTabSeparatedTextWithMenuItem:")));
    harness.window->performCommand(
        CommandItem(QStringLiteral("loadClipboardCardValueWithMenuItem:")));
    auto* tabular = new QMimeData;
    tabular->setData(QStringLiteral("text/tab-separated-values"), "N2\t4");
    QGuiApplication::clipboard()->setMimeData(tabular);
    harness.window->performCommand(
        CommandItem(QStringLiteral("loadClipboardCardValueWithMenuItem:")));
    EXPECT_EQ(harness.document->clipboardTexts,
        QStringList({ QStringLiteral("N1\t1\t2\t3"), QStringLiteral("N1\t1\t2\t3"),
            QStringLiteral("N2\t4") }));
    EXPECT_EQ(harness.document->clipboardTypes,
        std::vector<UFemColumnSeparatingCharacterType>({ UFemColumnSeparatingCharacterTypeTab,
            UFemColumnSeparatingCharacterTypeComma, UFemColumnSeparatingCharacterTypeTab }));
}

TEST(WindowControllerTest, MenuValidationAndTheLockedRowToAddCards)
{
    WindowHarness harness(UFemDocumentTypeModel, WindowModelText);
    UFemWindowController& window = *harness.window;
    CommandItem load(QStringLiteral("loadResultDataWithMenuItem:"));
    CommandItem unload(QStringLiteral("unloadResultDataWithMenuItem:"));
    EXPECT_TRUE(window.validateCommand(load));
    EXPECT_FALSE(window.validateCommand(unload));
    harness.document->hasResult = true;
    EXPECT_FALSE(window.validateCommand(load));
    EXPECT_TRUE(window.validateCommand(unload));

    CommandItem infoView(QStringLiteral("viewTypeMenuItemSelectedWithMenuItem:"), UFemViewTypeInfo);
    CommandItem cardView(QStringLiteral("viewTypeMenuItemSelectedWithMenuItem:"), UFemViewTypeCard);
    EXPECT_FALSE(window.validateCommand(infoView));
    EXPECT_TRUE(window.validateCommand(cardView));
    EXPECT_EQ(cardView.state(), CommandState::On);
    EXPECT_EQ(infoView.state(), CommandState::Off);

    CommandItem lock(QStringLiteral("fileLockWithMenuItem:"));
    EXPECT_TRUE(window.validateCommand(lock));
    EXPECT_EQ(lock.state(), CommandState::Off);
    window.performCommand(lock);
    EXPECT_TRUE(harness.document->easyLocked);

    UErrorPtr error;
    EXPECT_EQ(window.cardRowIndexToAddCard(&error), UFemNotFound);
    EXPECT_EQ(error, nullptr);
    harness.model().setLockedOutside(true);
    EXPECT_EQ(window.cardRowIndexToAddCard(&error), UFemNotFound);
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(
        error->localizedDescription(), harness.model().errorIfLocked()->localizedDescription());
}

TEST(WindowControllerTest, TheRegisteredMakerMakesTheViewsItKnowsAndThePlainViewTheRest)
{
    std::vector<UFemViewType> asked;
    UFemWindowController::setRegisteredMainViewControllerMaker(
        [&asked](UFemWindowController& window,
            UFemViewType type) -> std::unique_ptr<UFemMainViewController> {
            asked.push_back(type);
            if (type != UFemViewTypeCard)
                return nullptr;
            return std::make_unique<CountingMainView>(window, type, QSize(10, 10));
        });
    WindowHarness harness(UFemDocumentTypeModel, WindowModelText);
    EXPECT_NE(dynamic_cast<CountingMainView*>(harness.window->mainViewController()), nullptr);
    harness.window->setViewType(UFemViewTypeGraphic);
    EXPECT_EQ(dynamic_cast<CountingMainView*>(harness.window->mainViewController()), nullptr);
    EXPECT_NE(
        dynamic_cast<UFemPlainMainViewController*>(harness.window->mainViewController()), nullptr);
    EXPECT_EQ(asked, std::vector<UFemViewType>({ UFemViewTypeCard, UFemViewTypeGraphic }));
    UFemWindowController::setRegisteredMainViewControllerMaker({});
}
