#include "WindowTestSupport.h"

#include "cardmodel/data/UFemWindowCardTable.h"
#include "documents/application/UFemApplicationCommandHooks.h"
#include "documents/mainview/UFemGraphicMoveModeController.h"
#include "documents/mainview/UFemPlainMainViewController.h"
#include "documents/preferences/UFemPreferencesViewController.h"
#include "documents/preferences/UFemUserPreferences.h"
#include "documents/preferences/UFemUserPreferencesCache.h"
#include "documents/toolbar/UFemCardFilterField.h"
#include "documents/toolbar/UFemCasePopup.h"
#include "documents/toolbar/UFemViewSettingPopup.h"
#include "documents/toolbar/UFemWindowToolbar.h"
#include "foundation/UFemFolderItemKeys.h"
#include "foundation/errors/UException.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialog>
#include <QMenu>
#include <QStandardItemModel>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

// A 3-D view stand-in that keeps its move mode.
class MoveModeView : public UFemPlainMainViewController, public UFemGraphicMoveModeController {
public:
    using UFemPlainMainViewController::UFemPlainMainViewController;
    quint64 objectMoveMode() const override { return mode; }
    void setObjectMoveMode(quint64 objectMoveMode) override { mode = objectMoveMode; }
    quint64 mode = 1;
};

std::unique_ptr<UFemMainViewController> makeMoveModeView(
    UFemWindowController& window, UFemViewType type)
{
    if (type != UFemViewTypeGraphic)
        return nullptr;
    return std::make_unique<MoveModeView>(window, type);
}

// A card view whose settings panel edits one key.
class SettingsView : public UFemPlainMainViewController,
                     public UFemPreferencesViewControllerOwner,
                     public UFemPreferencesViewController {
public:
    using UFemPlainMainViewController::UFemPlainMainViewController;
    ~SettingsView() override { delete box; }

    bool useViewPreferences() const override { return true; }

    QVariantMap viewPreferences() const override { return shown; }
    bool setViewPreferences(const QVariantMap& settings, UErrorPtr*) override
    {
        shown = settings;
        return true;
    }
    UFemPreferencesViewController* preferencesViewController() override { return this; }
    QWidget* preferencesViewBox() const override { return box; }
    QSize preferencesViewBoxSize() const override { return { 200, 100 }; }
    QVariantMap viewPreferences(UErrorPtr*) const override { return edited; }

    QWidget* box = new QWidget;
    QVariantMap shown;
    QVariantMap edited = { { QStringLiteral("cardNameStringColumnTableViewPreferenceKey"), 1 } };
};

std::unique_ptr<UFemMainViewController> makeSettingsView(
    UFemWindowController& window, UFemViewType type)
{
    if (type != UFemViewTypeCard)
        return nullptr;
    return std::make_unique<SettingsView>(window, type);
}

struct ToolbarWindow {
    explicit ToolbarWindow(UFemDocumentType type = UFemDocumentTypeModel,
        const QString& modelText = WindowModelText,
        UFemWindowController::MainViewControllerMaker maker = {})
        : harness(type, modelText, std::move(maker))
        , toolbar(harness.window->toolbar())
    {
    }

    bool isItemEnabled(const QString& identifier) const
    {
        return toolbar.itemControl(identifier)->isEnabledTo(nullptr)
            && toolbar.itemControl(identifier)->parentWidget()->isEnabledTo(nullptr);
    }
    bool isViewTypeItemEnabled(int index) const
    {
        auto* model = qobject_cast<QStandardItemModel*>(toolbar.viewTypePopup()->model());
        return model->item(index)->isEnabled();
    }

    WindowHarness harness;
    UFemWindowToolbar& toolbar;
};

// The model edit window's button is not among them: it follows its menu item's validation.
const QStringList ControlItems = { ViewTypePopupToolbarItemIdentifier,
    GraphicMoveModeSwitchToolbarItemIdentifier, ViewSettingPopupToolbarItemIdentifier,
    CasePopupToolbarItemIdentifier, CardFilterTextFieldToolbarItemIdentifier };

} // namespace

TEST(ToolbarTest, ItemsComeInTheFixedOrderWithTheirLabels)
{
    ToolbarWindow window;
    const QStringList expected
        = { OpenModelEditWindowToolbarItemIdentifier, SaveDocumentToolbarItemIdentifier,
              ToolbarSeparatorItemIdentifier, ViewTypePopupToolbarItemIdentifier,
              GraphicMoveModeSwitchToolbarItemIdentifier, ViewSettingPopupToolbarItemIdentifier,
              CasePopupToolbarItemIdentifier, CardFilterTextFieldToolbarItemIdentifier };
    EXPECT_EQ(window.toolbar.itemIdentifiers(), expected);
    EXPECT_EQ(
        UFemWindowToolbar::toolbarDefaultItemIdentifiers(UFemWindowToolbarIdentifier), expected);
    EXPECT_TRUE(
        UFemWindowToolbar::toolbarDefaultItemIdentifiers(QStringLiteral("Other")).isEmpty());
    EXPECT_TRUE(UFemWindowToolbar::toolbarAllowedItemIdentifiers(UFemWindowToolbarIdentifier)
                    .contains(CardTypePopupToolbarItemIdentifier));
    EXPECT_EQ(window.toolbar.itemControl(CardTypePopupToolbarItemIdentifier), nullptr);

    const QStringList labels = { "ModelEditWindow", "Save", "View", "Graphic Mode", "View Setting",
        "Case", "Card Filter" };
    QStringList shown;
    for (const QString& identifier : expected)
        if (identifier != ToolbarSeparatorItemIdentifier)
            shown.append(window.toolbar.itemLabel(identifier));
    EXPECT_EQ(shown, labels);
    EXPECT_EQ(
        window.toolbar.itemControl(CardFilterTextFieldToolbarItemIdentifier)->maximumWidth(), 1024);
    EXPECT_EQ(window.toolbar.itemControl(CasePopupToolbarItemIdentifier)->minimumWidth(), 100);
    // The toolbar sits above the main view in the window.
    EXPECT_EQ(window.toolbar.toolbar()->parentWidget(), window.harness.window->window());
}

TEST(ToolbarTest, ANewWindowShowsTheWholeToolbar)
{
    ToolbarWindow window;
    QWidget& shown = *window.harness.window->window();
    EXPECT_GE(shown.width(), window.toolbar.toolbar()->sizeHint().width());
    shown.show();
    window.harness.finishEventTurn();
    // Every item sits inside the window, none in the overflow.
    for (const QString& identifier : window.toolbar.itemIdentifiers()) {
        if (identifier == ToolbarSeparatorItemIdentifier)
            continue;
        EXPECT_TRUE(window.toolbar.itemControl(identifier)->isVisible())
            << identifier.toStdString();
    }
    // The view type popup shows each of its items uncut.
    QComboBox& viewTypes = *window.toolbar.viewTypePopup();
    for (int index = 0; index < viewTypes.count(); ++index) {
        viewTypes.setCurrentIndex(index);
        QStyleOptionComboBox option;
        option.initFrom(&viewTypes);
        option.currentText = viewTypes.itemText(index);
        const QRect field = viewTypes.style()->subControlRect(
            QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, &viewTypes);
        EXPECT_LE(viewTypes.fontMetrics().horizontalAdvance(option.currentText), field.width())
            << option.currentText.toStdString();
    }
}

TEST(ToolbarTest, SaveIsEnabledOnlyWhenEditedAndTheOthersWhateverResultsAndLocks)
{
    ToolbarWindow window(UFemDocumentTypeModel, WindowModelText, makeSettingsView);
    EXPECT_FALSE(window.isItemEnabled(SaveDocumentToolbarItemIdentifier));
    // No one opens a model edit window in these tests.
    EXPECT_FALSE(window.isItemEnabled(OpenModelEditWindowToolbarItemIdentifier));
    for (const QString& identifier : ControlItems)
        EXPECT_TRUE(window.toolbar.validateToolbarItem(identifier)) << identifier.toStdString();
    EXPECT_TRUE(window.toolbar.validateToolbarItem(CardTypePopupToolbarItemIdentifier));
    EXPECT_TRUE(window.toolbar.validateToolbarItem(ToolbarPrintItemIdentifier));
    EXPECT_FALSE(window.toolbar.validateToolbarItem(ToolbarCustomizeItemIdentifier));

    UErrorPtr error;
    ASSERT_NE(
        window.harness.model().addCardsWithModelText(QStringLiteral("Node , N3 ,  , 3 , 0 , 0 ,\n"),
            UFemColumnSeparatingCharacterTypeComma, UFemNotFound, true, &error),
        0u);
    window.harness.finishEventTurn();
    EXPECT_TRUE(window.isItemEnabled(SaveDocumentToolbarItemIdentifier));

    window.harness.document->hasResult = true;
    window.harness.document->easyLocked = true;
    window.harness.model().setLockedOutside(true);
    window.toolbar.updateToolbarControls();
    EXPECT_TRUE(window.isItemEnabled(SaveDocumentToolbarItemIdentifier));
    for (const QString& identifier : ControlItems) {
        // The move mode switch works in the 3-D view only.
        const bool isMoveMode = identifier == GraphicMoveModeSwitchToolbarItemIdentifier;
        EXPECT_EQ(window.isItemEnabled(identifier), !isMoveMode) << identifier.toStdString();
    }
}

TEST(ToolbarTest, ViewTypePopupFollowsTheDocumentKindAndSwapsViews)
{
    ToolbarWindow model;
    EXPECT_TRUE(model.isViewTypeItemEnabled(0));
    EXPECT_TRUE(model.isViewTypeItemEnabled(1));
    EXPECT_FALSE(model.isViewTypeItemEnabled(2));
    EXPECT_EQ(model.toolbar.viewTypePopup()->currentData().toULongLong(), UFemViewTypeCard);
    emit model.toolbar.viewTypePopup()->activated(1);
    EXPECT_EQ(model.harness.window->viewType(), UFemViewTypeGraphic);
    EXPECT_EQ(model.toolbar.viewTypePopup()->currentData().toULongLong(), UFemViewTypeGraphic);

    ToolbarWindow result(UFemDocumentTypeResult);
    EXPECT_TRUE(result.isViewTypeItemEnabled(2));
    EXPECT_EQ(result.toolbar.viewTypePopup()->itemText(2), QStringLiteral("Result Info"));

    ToolbarWindow project(UFemDocumentTypeProject, QString());
    EXPECT_EQ(project.harness.window->viewType(), UFemViewTypeInfo);
    EXPECT_FALSE(project.isViewTypeItemEnabled(0));
    EXPECT_FALSE(project.isViewTypeItemEnabled(1));
    EXPECT_TRUE(project.isViewTypeItemEnabled(2));
    EXPECT_EQ(project.toolbar.viewTypePopup()->itemText(2), QStringLiteral("Project Info"));
    EXPECT_EQ(project.toolbar.viewTypePopup()->currentData().toULongLong(), UFemViewTypeInfo);
}

TEST(ToolbarTest, TheInformationViewDisablesCasesFilterAndViewSettings)
{
    ToolbarWindow window(UFemDocumentTypeProject, WindowModelText, makeSettingsView);
    EXPECT_TRUE(window.isItemEnabled(CasePopupToolbarItemIdentifier));
    EXPECT_TRUE(window.isItemEnabled(CardFilterTextFieldToolbarItemIdentifier));
    EXPECT_TRUE(window.isItemEnabled(ViewSettingPopupToolbarItemIdentifier));
    window.harness.window->setViewType(UFemViewTypeInfo);
    EXPECT_FALSE(window.isItemEnabled(CasePopupToolbarItemIdentifier));
    EXPECT_FALSE(window.isItemEnabled(CardFilterTextFieldToolbarItemIdentifier));
    EXPECT_FALSE(window.isItemEnabled(ViewSettingPopupToolbarItemIdentifier));
    EXPECT_EQ(window.toolbar.viewSettingPopup()->viewSettingMenu(), nullptr);
    EXPECT_EQ(window.toolbar.casePopup()->shownMenu(), nullptr);
}

TEST(ToolbarTest, MoveModeSwitchWorksOnlyInThe3DView)
{
    ToolbarWindow window(UFemDocumentTypeModel, WindowModelText, makeMoveModeView);
    EXPECT_FALSE(window.isItemEnabled(GraphicMoveModeSwitchToolbarItemIdentifier));
    EXPECT_EQ(window.toolbar.graphicMoveModeMenuTag(), 1u);
    try {
        window.toolbar.setGraphicMoveModeMenuTag(3);
        ADD_FAILURE() << "no program error";
    } catch (const UException& exception) {
        EXPECT_EQ(
            QString::fromUtf8(exception.what())
                .contains(QStringLiteral(
                    "(mainViewController==nil) or (mainViewController!=graphicViewController)")),
            true)
            << exception.what();
    }

    window.harness.window->setViewType(UFemViewTypeGraphic);
    EXPECT_TRUE(window.isItemEnabled(GraphicMoveModeSwitchToolbarItemIdentifier));
    NotificationLog log(
        { UFemGraphicMoveModeWillChangeNotification, UFemGraphicMoveModeDidChangeNotification },
        { window.harness.window });
    emit window.toolbar.graphicMoveModeSwitch()->idClicked(3);
    auto* view = dynamic_cast<MoveModeView*>(window.harness.window->mainViewController());
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->mode, 3u);
    EXPECT_EQ(log.names,
        QStringList({ UFemGraphicMoveModeWillChangeNotification,
            UFemGraphicMoveModeDidChangeNotification }));
    EXPECT_EQ(window.toolbar.graphicMoveModeSwitch()->checkedId(), 3);
    EXPECT_EQ(window.toolbar.graphicMoveModeMenuTag(), 3u);
}

TEST(ToolbarTest, ViewSettingMenuEndsWithThePanelItemAndPanelButtonsAnswer)
{
    {
        // A stand-in view takes no settings, so none are offered.
        ToolbarWindow plain;
        EXPECT_EQ(plain.toolbar.viewSettingPopup()->viewSettingMenu(), nullptr);
        EXPECT_FALSE(plain.toolbar.viewSettingPopup()->isEnabled());
    }
    ToolbarWindow window(UFemDocumentTypeModel, WindowModelText, makeSettingsView);
    UFemViewSettingPopup& popup = *window.toolbar.viewSettingPopup();
    ASSERT_NE(popup.viewSettingMenu(), nullptr);
    const QList<QAction*> items = popup.viewSettingMenu()->actions();
    ASSERT_GE(items.size(), 2);
    EXPECT_TRUE(items[items.size() - 2]->isSeparator());
    EXPECT_EQ(items.back()->data().toLongLong(), UFemOpenViewSettingPanelMenuTag);
    EXPECT_EQ(qsizetype(items.size() - 2),
        qsizetype(UFemUserPreferences::viewPreferencesCountWithMenuContext(
            popup.viewSettingMenuContext())));

    EXPECT_TRUE(popup.preferencesViewPanelButtonPushed(UFemViewSettingPanelClose));
    EXPECT_FALSE(popup.preferencesViewPanelButtonPushed(UFemViewSettingPanelSave));
    EXPECT_EQ(window.harness.beeps.sounds.back(), QStringLiteral("Morse"));
    EXPECT_FALSE(popup.preferencesViewPanelButtonPushed(5));
}

TEST(ToolbarTest, CardFilterFieldShowsGoodFiltersBlackAndBadOnesRedWithTheError)
{
    ToolbarWindow window;
    UFemCardFilterField& field = *window.toolbar.cardFilterField();
    UFemWindowController& controller = *window.harness.window;
    const QColor black = QColor(Qt::black);

    field.setText(QStringLiteral("type:Node"));
    emit field.editingFinished();
    EXPECT_EQ(controller.filterString(), QStringLiteral("type:Node"));
    EXPECT_EQ(controller.windowCardTable().count(), 2u);
    EXPECT_EQ(field.palette().color(QPalette::Text), black);
    EXPECT_TRUE(field.toolTip().isEmpty());

    const QString bad = QStringLiteral("type:Node&(");
    window.toolbar.cardFilterTextFieldChanged(bad);
    ASSERT_NE(controller.cardFilterError(), nullptr);
    EXPECT_EQ(field.text(), bad);
    EXPECT_EQ(field.palette().color(QPalette::Text), QColor(Qt::red));
    EXPECT_EQ(field.toolTip(), controller.cardFilterError()->localizedOneLineDescription());
    // A filter that does not parse takes no part: every card shows again.
    EXPECT_EQ(controller.windowCardTable().count(), quint64(window.harness.model().cardCount()));

    window.toolbar.cardFilterTextFieldChanged(QString());
    EXPECT_EQ(controller.filterString(), std::nullopt);
    EXPECT_EQ(field.palette().color(QPalette::Text), black);
    EXPECT_TRUE(field.text().isEmpty());
    EXPECT_TRUE(field.toolTip().isEmpty());
}

TEST(ToolbarTest, TheSameFilterTwiceDoesNotFilterTheWindowAgain)
{
    ToolbarWindow window;
    UFemWindowCardTable& table = window.harness.window->windowCardTable();
    int changes = 0;
    UNotificationObservation observation
        = table.notificationCenter().observe(UFemWindowCardTableDidChangeNotification, &table,
            [&changes](const UNotification&) { ++changes; });
    window.toolbar.cardFilterTextFieldChanged(QStringLiteral("type:Case"));
    window.toolbar.cardFilterTextFieldChanged(QStringLiteral("type:Case"));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(table.count(), 2u);
}

TEST(ToolbarTest, AFilterSetByTheProgramShowsInTheField)
{
    ToolbarWindow window;
    window.harness.window->setCardFilterString(QStringLiteral("hasError"));
    EXPECT_EQ(window.toolbar.cardFilterField()->text(), QStringLiteral("hasError"));
}

TEST(ToolbarTest, AViewShownTheFirstTimeGetsTheBaseWithTheFirstSavedSettingOver)
{
    const auto key = [](const char* name) { return QString::fromLatin1(name); };
    const QVariantList folders = {
        QVariantMap { { UFemFolderItemObjectPreferencesKey,
            QVariantMap { { key("base"), 1 }, { key("shared"), 1 } } } },
        QVariantMap { { UFemFolderItemNameStringPreferencesKey, key("Later") },
            { UFemFolderItemOrderHintNumberPreferencesKey, 1200 },
            { UFemFolderItemObjectPreferencesKey, QVariantMap { { key("later"), 3 } } } },
        QVariantMap { { UFemFolderItemNameStringPreferencesKey, key("First") },
            { UFemFolderItemOrderHintNumberPreferencesKey, 1100 },
            { UFemFolderItemObjectPreferencesKey, QVariantMap { { key("shared"), 2 } } } },
    };
    UFemUserPreferences::setDefaultViewPreferencesFolderArrays(folders, {});
    UFemUserPreferences::applicationUserPreferencesCache().dropUserPreferences();
    {
        ToolbarWindow window(UFemDocumentTypeModel, WindowModelText, makeSettingsView);
        auto* view = dynamic_cast<SettingsView*>(window.harness.window->mainViewController());
        ASSERT_NE(view, nullptr);
        // The first saved setting in menu order, not in stored order.
        EXPECT_EQ(view->shown, (QVariantMap { { key("base"), 1 }, { key("shared"), 2 } }));
    }
    UFemUserPreferences::setDefaultViewPreferencesFolderArrays({}, {});
    UFemUserPreferences::applicationUserPreferencesCache().dropUserPreferences();
}

TEST(ToolbarTest, TheViewSettingsSheetAppliesTheEditedSettingsOverTheBase)
{
    ToolbarWindow window(UFemDocumentTypeModel, WindowModelText, makeSettingsView);
    auto* view = dynamic_cast<SettingsView*>(window.harness.window->mainViewController());
    ASSERT_NE(view, nullptr);
    UFemViewSettingPopup& popup = *window.toolbar.viewSettingPopup();
    popup.viewSettingMenuItemSelected(UFemOpenViewSettingPanelMenuTag);
    ASSERT_NE(popup.preferencesViewPanel(), nullptr);
    EXPECT_EQ(view->box->window(), popup.preferencesViewPanel());

    EXPECT_TRUE(popup.preferencesViewPanelButtonPushed(UFemViewSettingPanelApply));
    EXPECT_EQ(view->shown.value(QStringLiteral("cardNameStringColumnTableViewPreferenceKey")), 1);
    popup.preferencesViewPanel()->done(UFemViewSettingPanelClose);
    window.harness.finishEventTurn();
    EXPECT_EQ(popup.preferencesViewPanel(), nullptr);
    // The box stays with its view when the sheet goes.
    EXPECT_EQ(view->box->parent(), nullptr);
}

TEST(ToolbarTest, ModelEditWindowButtonReachesTheCommandHook)
{
    struct HooksReset {
        ~HooksReset() { UFemApplicationCommandHooks::removeAllHandlers(); }
    } hooksReset;
    int opened = 0;
    UFemApplicationCommandHooks::setHandler(
        QStringLiteral("openModelEditWindow:"), [&opened](const CommandItem&) { ++opened; });
    ToolbarWindow window;
    auto* button = qobject_cast<QToolButton*>(
        window.toolbar.itemControl(OpenModelEditWindowToolbarItemIdentifier));
    ASSERT_NE(button, nullptr);
    // With a handler the button is on, as its menu item is.
    EXPECT_TRUE(window.isItemEnabled(OpenModelEditWindowToolbarItemIdentifier));
    button->click();
    EXPECT_EQ(opened, 1);
}
