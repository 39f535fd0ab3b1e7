// Walks every item of the main menu and of the toolbar in every view of a document window, as a
// new user trying each would: in the card table, the 3-D view's stand-in and the project
// information, each with and without a selection and with and without results. Every enabled
// item must answer (change something a user can notice, or show a sheet, panel or window), none
// may raise a program error, and a beep is an answer only where the command is one that beeps.
#include "ProgramTestSupport.h"

#include "appkit/CommandRouter.h"
#include "cardmodel/card/UFemCardString.h"
#include "cardmodel/data/UFemWindowCardTable.h"
#include "documents/application/UFemAppDelegate.h"
#include "documents/application/UFemMainMenu.h"
#include "documents/mainview/UFemMainViewController.h"
#include "documents/toolbar/UFemCardFilterField.h"
#include "documents/toolbar/UFemWindowToolbar.h"
#include "foundation/errors/UException.h"
#include "platform/UUndoManager.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QMenu>
#include <QStandardItemModel>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <functional>

namespace {

struct WalkConfig {
    quint64 viewType;
    bool withSelection;
    bool withResults;
};

void PrintTo(const WalkConfig& config, std::ostream* stream)
{
    *stream << "view " << config.viewType << (config.withSelection ? ", selected" : "")
            << (config.withResults ? ", results" : "");
}

std::string configName(const testing::TestParamInfo<WalkConfig>& info)
{
    static const char* const views[] = { "", "CardTable", "GraphicStandIn", "ProjectInfo" };
    return std::string(views[info.param.viewType])
        + (info.param.withSelection ? "Selected" : "Unselected")
        + (info.param.withResults ? "WithResults" : "WithoutResults");
}

// Commands whose answer the program gives as a beep when there is nothing to do: an empty search
// text or nothing found, nothing replaced, no single card to take the search text from, no error
// or incomplete card, nothing to export.
const QStringList BeepingCommands = { QStringLiteral("findNext:"), QStringLiteral("findPrevious:"),
    QStringLiteral("replaceSelection:"), QStringLiteral("replaceSelectionAndFindNext:"),
    QStringLiteral("replaceAll:"), QStringLiteral("useSelectionForFind:"),
    QStringLiteral("fineNextErrorCard:"), QStringLiteral("findPreviousErrorCard:"),
    QStringLiteral("fineNextIncompleteCard:"), QStringLiteral("findPreviousIncompleteCard:"),
    QStringLiteral("saveModelDocumentTo:") };

// A scroll that leaves a visible selection where it is shows nothing.
const QStringList InvisibleCommands = { QStringLiteral("scrollToSelection:") };

const QString ClipboardCardText = QStringLiteral("Node , N9 ,  , 5 , 5 , 5 ,\n");

QString fileIdentities(const QString& folder)
{
    QStringList files;
    for (const QFileInfo& file : QDir(folder).entryInfoList(QDir::Files, QDir::Name)) {
        struct stat status { };
        ::stat(QFile::encodeName(file.filePath()).constData(), &status);
        files
            << QStringLiteral("%1#%2#%3").arg(file.fileName()).arg(status.st_ino).arg(file.size());
    }
    return files.join(QLatin1Char(','));
}

// One program brought into the state of the configuration.
struct WalkSession {
    explicit WalkSession(const WalkConfig& config)
    {
        document = harness.openProject(ProgramModelText, config.withResults);
        window = ProgramHarness::windowOf(document);
        if (window == nullptr)
            return;
        window->window()->resize(1100, 700);
        window->setViewTypeMenuTag(config.viewType);
        if (config.withSelection)
            window->setSelectedCardArray(
                { window->windowCardTable().cardArray().objectAtIndex(3) });
        QGuiApplication::clipboard()->setText(ClipboardCardText);
        harness.findPanel.loaded = false;
        harness.shell->appDelegate().updateMainMenu();
        finishEventTurn();
    }

    // What a user could notice, one line each; beeps are kept apart.
    QStringList observe() const
    {
        QStringList lines;
        lines << QStringLiteral("alerts %1").arg(harness.sheets.alerts.size())
              << QStringLiteral("panels %1/%2")
                     .arg(harness.panels.savePanels.size())
                     .arg(harness.panels.openPanels.size())
              << QStringLiteral("quit %1").arg(harness.quitCount)
              << QStringLiteral("urls ") + harness.openedUrls.join(QLatin1Char(' '))
              << QStringLiteral("clipboard ") + QGuiApplication::clipboard()->text()
              << QStringLiteral("search %1 shown %2")
                     .arg(harness.findPanel.search)
                     .arg(harness.findPanel.loaded)
              << QStringLiteral("files ") + fileIdentities(harness.home.path());
        QStringList shown;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->isVisible())
                shown << QString::number(quintptr(widget), 16);
        }
        shown.sort();
        lines << QStringLiteral("windows ") + shown.join(QLatin1Char(' '));
        for (Document* each : harness.documents()) {
            auto* ufem = dynamic_cast<UFemDocument*>(each);
            lines << QStringLiteral(
                "document %1 windows %2 edited %3 model %4 results %5 locked %6")
                         .arg(each->displayName())
                         .arg(each->windowControllers().size())
                         .arg(each->isDocumentEdited())
                         .arg(ufem->hasModelData())
                         .arg(ufem->hasResultData())
                         .arg(ufem->isEasyLocked());
            UFemDataController& model = ufem->dataController();
            lines << QStringLiteral("text ") + model.modelTextOfAllCards()
                  << QStringLiteral("clipboard values %1")
                         .arg(model.clipboardCardValueResultDataManager() != nullptr);
            if (const UUndoManager* undo = model.undoManager())
                lines << QStringLiteral("undo ") + undo->undoMenuItemTitle() + QLatin1Char('|')
                        + undo->redoMenuItemTitle();
            for (const auto& controller : each->windowControllers()) {
                auto* shownWindow = dynamic_cast<UFemWindowController*>(controller.get());
                if (shownWindow == nullptr || shownWindow->mainViewController() == nullptr)
                    continue;
                QStringList selected;
                for (const UFemCardPtr& card : shownWindow->selectedCardArray())
                    selected << UFemCardString(*card);
                UErrorPtr rangeError;
                const _UFemSearchCardStringRange range
                    = shownWindow->mainViewController()->selectedSearchCardStringRange(&rangeError);
                lines << QStringLiteral("selected %1 range %2 %3 %4 %5")
                             .arg(selected.join(QLatin1Char('|')))
                             .arg(range.startCardIndex)
                             .arg(range.startStringLocation)
                             .arg(range.endCardIndex)
                             .arg(range.endStringLocation);
                QStringList preferences;
                const QVariantMap settings = shownWindow->mainViewController()->viewPreferences();
                for (auto entry = settings.begin(); entry != settings.end(); ++entry)
                    preferences << entry.key() + QLatin1Char('=') + entry.value().toString();
                lines << QStringLiteral("view %1 selected %2 cases %3/%4 filter %5 overlay %6 %7")
                             .arg(shownWindow->viewType())
                             .arg(shownWindow->selectedCardArray().size())
                             .arg(shownWindow->currentCaseSelectMode())
                             .arg(shownWindow->currentCaseCardArray().size())
                             .arg(shownWindow->filterString().value_or(QString()))
                             .arg(shownWindow->doesDrawOverlaidProjectInfo())
                             .arg(preferences.join(QLatin1Char(',')));
            }
        }
        return lines;
    }

    ProgramHarness harness;
    UFemDocument* document = nullptr;
    UFemWindowController* window = nullptr;
};

// One item the walk reaches: found again by its key in a fresh session.
struct WalkItem {
    QString key;
    QString command;
    // The item, enabled or not, and whether choosing it again keeps things as they are (the
    // current view type or case choice); null when the session has no such item.
    std::function<QObject*(WalkSession&, bool* isEnabled, bool* isCurrentChoice)> find;
    std::function<void(QObject*)> trigger;
    // Brings the session where the item can show its effect; may be empty.
    std::function<void(WalkSession&)> prepare = {};
};

// A saved view setting shows only over other settings: all columns hidden first.
void hideEverything(WalkSession& session)
{
    UErrorPtr error;
    session.window->mainViewController()->setViewPreferences({}, &error);
}

void triggerAction(QObject* object)
{
    static_cast<QAction*>(object)->trigger();
}

void clickButton(QObject* object)
{
    static_cast<QAbstractButton*>(object)->click();
}

// The main menu's items bound to commands; the router validates them as the menus do when shown.
void addCommandItems(WalkSession& session, std::vector<WalkItem>& items)
{
    for (QAction* action : session.harness.shell->mainMenu().commandItems()) {
        const CommandItem bound(*action);
        const QString command = bound.command();
        const int tag = bound.tag();
        items.push_back({ QStringLiteral("menu %1 %2").arg(command).arg(tag), command,
            [command, tag](WalkSession& walked, bool* isEnabled, bool* isCurrent) -> QObject* {
                QAction* found = walked.harness.item(command, tag);
                if (found == nullptr)
                    return nullptr;
                CommandItem item(*found);
                *isEnabled = walked.harness.shell->commandRouter().validate(item);
                *isCurrent = found->isCheckable() && found->isChecked();
                return found;
            },
            triggerAction });
    }
}

// The window's own menus the main menu shows (view settings, cases), item by item, by position.
void addWindowMenuItems(WalkSession& session, std::vector<WalkItem>& items)
{
    const UFemMainMenu& menu = session.harness.shell->mainMenu();
    const std::pair<QString, std::function<QAction*(const UFemMainMenu&)>> holders[] = {
        { QStringLiteral("View Setting"), &UFemMainMenu::viewSettingMenuItem },
        { QStringLiteral("Case"), &UFemMainMenu::caseMenuItem },
    };
    for (const auto& holderEntry : holders) {
        const QString name = holderEntry.first;
        const auto holderOf = holderEntry.second;
        QAction* holder = holderOf(menu);
        if (holder->menu() == nullptr)
            continue;
        // Submenus (some cases) are walked one level down.
        std::vector<std::pair<int, int>> positions;
        const QList<QAction*> actions = holder->menu()->actions();
        for (int index = 0; index < actions.size(); ++index) {
            if (actions[index]->menu() != nullptr) {
                for (int inner = 0; inner < actions[index]->menu()->actions().size(); ++inner)
                    positions.emplace_back(index, inner);
            } else if (!actions[index]->isSeparator()) {
                positions.emplace_back(index, -1);
            }
        }
        for (const auto& position : positions) {
            const int index = position.first;
            const int inner = position.second;
            items.push_back({ QStringLiteral("%1 menu %2.%3").arg(name).arg(index).arg(inner),
                QString(),
                [holderOf, index, inner](
                    WalkSession& walked, bool* isEnabled, bool* isCurrent) -> QObject* {
                    QAction* holder = holderOf(walked.harness.shell->mainMenu());
                    if (holder->menu() == nullptr || index >= holder->menu()->actions().size())
                        return nullptr;
                    QAction* action = holder->menu()->actions()[index];
                    if (inner >= 0) {
                        if (action->menu() == nullptr || inner >= action->menu()->actions().size())
                            return nullptr;
                        action = action->menu()->actions()[inner];
                    }
                    if (action->isSeparator())
                        return nullptr;
                    *isEnabled = holder->isEnabled() && action->isEnabled();
                    *isCurrent = action->isChecked();
                    return action;
                },
                triggerAction,
                name == u"View Setting" ? std::function<void(WalkSession&)>(hideEverything)
                                        : std::function<void(WalkSession&)>() });
        }
    }
}

void addToolbarItems(WalkSession& session, std::vector<WalkItem>& items)
{
    UFemWindowToolbar& toolbar = session.window->toolbar();
    for (const QString& name : { QStringLiteral("editwindow_icon"), QStringLiteral("save_icon") }) {
        items.push_back({ QStringLiteral("toolbar ") + name, QString(),
            [name](WalkSession& walked, bool* isEnabled, bool*) -> QObject* {
                auto* button = walked.window->toolbar().toolbar()->findChild<QToolButton*>(name);
                *isEnabled = button != nullptr && button->isEnabled();
                return button;
            },
            clickButton });
    }
    for (int index = 0; index < toolbar.viewTypePopup()->count(); ++index) {
        items.push_back({ QStringLiteral("toolbar view type %1").arg(index), QString(),
            [index](WalkSession& walked, bool* isEnabled, bool* isCurrent) -> QObject* {
                QComboBox* popup = walked.window->toolbar().viewTypePopup();
                auto* model = qobject_cast<QStandardItemModel*>(popup->model());
                *isEnabled = popup->isEnabled() && model->item(index)->isEnabled();
                *isCurrent = popup->currentIndex() == index;
                popup->setProperty("walkedIndex", index);
                return popup;
            },
            [](QObject* object) {
                auto* popup = static_cast<QComboBox*>(object);
                const int index = popup->property("walkedIndex").toInt();
                popup->setCurrentIndex(index);
                emit popup->activated(index);
            } });
    }
    for (QAbstractButton* segment : toolbar.graphicMoveModeSwitch()->buttons()) {
        const int mode = toolbar.graphicMoveModeSwitch()->id(segment);
        items.push_back({ QStringLiteral("toolbar move mode %1").arg(mode), QString(),
            [mode](WalkSession& walked, bool* isEnabled, bool*) -> QObject* {
                QAbstractButton* button
                    = walked.window->toolbar().graphicMoveModeSwitch()->button(mode);
                *isEnabled = button->isEnabled();
                return button;
            },
            clickButton });
    }
    items.push_back({ QStringLiteral("toolbar card filter"), QString(),
        [](WalkSession& walked, bool* isEnabled, bool*) -> QObject* {
            UFemCardFilterField* field = walked.window->toolbar().cardFilterField();
            *isEnabled = field->isEnabled();
            return field;
        },
        [](QObject* object) {
            auto* field = static_cast<UFemCardFilterField*>(object);
            field->setText(QStringLiteral("type:Node"));
            emit field->editingFinished();
        } });
}

std::vector<WalkItem> walkItems(const WalkConfig& config)
{
    WalkSession session(config);
    std::vector<WalkItem> items;
    if (session.window == nullptr)
        return items;
    addCommandItems(session, items);
    addWindowMenuItems(session, items);
    addToolbarItems(session, items);
    return items;
}

// Answers the alerts still waiting with their first button, so that every flow ends.
void answerWaitingAlerts(RecordingSheetPresenter& sheets)
{
    for (int answered = 0; sheets.hasPending() && answered < 8; ++answered) {
        sheets.answer(0);
        finishEventTurn();
    }
}

class MenuWalk : public testing::TestWithParam<WalkConfig> { };

} // namespace

TEST_P(MenuWalk, everyEnabledItemAnswersAndNoneRaises)
{
    const std::vector<WalkItem> items = walkItems(GetParam());
    ASSERT_GT(items.size(), 60u);
    int triggered = 0;
    for (const WalkItem& walked : items) {
        SCOPED_TRACE(walked.key.toStdString());
        WalkSession session(GetParam());
        ASSERT_NE(session.window, nullptr);
        bool isEnabled = false;
        bool isCurrent = false;
        QObject* item = nullptr;
        try {
            item = walked.find(session, &isEnabled, &isCurrent);
        } catch (const UException& exception) {
            ADD_FAILURE() << "validating raised " << exception.what();
            continue;
        }
        if (item == nullptr || !isEnabled)
            continue;
        if (walked.prepare)
            walked.prepare(session);
        const QStringList before = session.observe();
        const qsizetype beepsBefore = session.harness.beeps.sounds.size();
        try {
            walked.trigger(item);
            finishEventTurn();
        } catch (const UException& exception) {
            ADD_FAILURE() << "raised " << exception.what();
            continue;
        }
        ++triggered;
        const bool beeped = session.harness.beeps.sounds.size() > beepsBefore;
        const QStringList after = session.observe();
        const bool changed = after != before;
        answerWaitingAlerts(session.harness.sheets);
        if (isCurrent || InvisibleCommands.contains(walked.command))
            continue;
        EXPECT_TRUE(changed || (beeped && BeepingCommands.contains(walked.command)))
            << (beeped ? "only beeped" : "enabled and silent") << "\n"
            << before.join(u'\n').toStdString();
    }
    EXPECT_GT(triggered, 20);
}

INSTANTIATE_TEST_SUITE_P(EveryView, MenuWalk,
    testing::Values(WalkConfig { 1, false, false }, WalkConfig { 1, true, false },
        WalkConfig { 1, false, true }, WalkConfig { 1, true, true }, WalkConfig { 2, false, false },
        WalkConfig { 2, true, false }, WalkConfig { 2, false, true }, WalkConfig { 2, true, true },
        WalkConfig { 3, false, false }, WalkConfig { 3, true, false },
        WalkConfig { 3, false, true }, WalkConfig { 3, true, true }),
    configName);
