#include "PreferencesTestSupport.h"

#include "RecordingSheetPresenter.h"
#include "documents/preferences/UFemPreferencePanelController.h"
#include "foundation/UFemHeaderGlobals.h"
#include "graphics/opengl/UGLOpenGLVersion.h"
#include "platform/UUserDefaults.h"

#include <QCheckBox>
#include <QComboBox>
#include <QStandardItemModel>
#include <QTemporaryDir>

namespace {

QStringList itemTitles(const QComboBox& popup)
{
    QStringList titles;
    for (int index = 0; index < popup.count(); ++index)
        titles << (popup.itemData(index, Qt::AccessibleDescriptionRole).toString() == "separator"
                ? QStringLiteral("--")
                : popup.itemText(index));
    return titles;
}

bool isItemChoosable(const QComboBox& popup, quint64 tag)
{
    const auto* model = qobject_cast<const QStandardItemModel*>(popup.model());
    return model->item(popup.findData(tag))->isEnabled();
}

class PreferencesPanelTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(directory.isValid()); }

    std::unique_ptr<UFemPreferencePanelController> openPanel()
    {
        return std::make_unique<UFemPreferencePanelController>(defaults, *catalogue, sheets);
    }

    QTemporaryDir directory;
    UUserDefaults defaults { directory.filePath("prefs.cbor") };
    // The first renderer renders into pixel buffers only, the second cannot render off-screen.
    std::unique_ptr<UGLGraphicProcessorInfoManager> catalogue
        = rendererCatalogueOf({ fakeRenderer("GPU A OpenGL engine", 2010, false, true),
            fakeRenderer("GPU B", 1020, false, false),
            fakeRenderer("Software", 4050, true, true) });
    RecordingSheetPresenter sheets;
};

TEST_F(PreferencesPanelTest, ThreadCountsRoundDownToTheOfferedCounts)
{
    defaults.setInteger(5, UFemReferenceThreadCountPreferencesKey);
    auto panel = openPanel();
    EXPECT_EQ(panel->referenceThreadCount(), 4u);
    EXPECT_EQ(panel->referenceThreadCountPopupButtonOutlet()->currentText(), "4");

    const std::vector<std::pair<quint64, quint64>> rounding { { 0, 0 }, { 1, 1 }, { 3, 3 },
        { 7, 6 }, { 9, 8 }, { 11, 8 }, { 12, 12 }, { 15, 12 }, { 16, 16 }, { 17, 16 }, { 99, 16 },
        { 100, 0 } };
    for (const auto& [given, shown] : rounding) {
        panel->setReferenceThreadCount(given);
        EXPECT_EQ(panel->referenceThreadCount(), shown) << given;
    }
    EXPECT_EQ(panel->referenceThreadCountPopupButtonOutlet()->currentText(),
        QStringLiteral("Auto - %1").arg(UFemUserPreferences::defaultReferenceThreadCount()));
}

TEST_F(PreferencesPanelTest, RenderersAreListedAndOnlyUsableOnesChoosable)
{
    auto panel = openPanel();
    const QComboBox& renderers = *panel->openGLRendererPopupButtonOutlet();
    EXPECT_EQ(itemTitles(renderers),
        QStringList({ "Auto - GPU A ( OpenGL 2.1 )", "--", "GPU A ( OpenGL 2.1 )",
            "GPU B ( OpenGL 1.2 )", "--", "Software ( OpenGL 4.5 )" }));
    EXPECT_TRUE(isItemChoosable(renderers, UFemFirstOpenGLRendererIdentifier));
    EXPECT_FALSE(isItemChoosable(renderers, UFemFirstOpenGLRendererIdentifier + 1));
    EXPECT_EQ(renderers.currentData().toULongLong(), UFemAutomaticOpenGLRendererIdentifier);
    // The automatic renderer has pixel buffers only: the switch is off and cannot be changed.
    EXPECT_FALSE(panel->doesUseOpenGLFrameBufferObjectCheckButtonOutlet()->isEnabled());
    EXPECT_EQ(panel->doesUseOpenGLFrameBufferObjectState(), 0u);
}

TEST_F(PreferencesPanelTest, StoredRendererThatIsGoneSelectsAutomatic)
{
    defaults.setObject(QStringLiteral("Unplugged GPU"), UFemOpenGLRendererNameStringPreferencesKey);
    auto panel = openPanel();
    EXPECT_EQ(panel->openGLRendererIdentifier(), UFemAutomaticOpenGLRendererIdentifier);
    EXPECT_EQ(panel->openGLRendererPopupButtonOutlet()->currentIndex(), 0);
}

TEST_F(PreferencesPanelTest, ChoosingARendererResetsTheRenderingVersion)
{
    defaults.setInteger(UGLOpenGLVersion_1_1, UFemRenderingOpenGLVersionPreferencesKey);
    auto panel = openPanel();
    EXPECT_EQ(panel->renderingOpenGLVersion(), UGLOpenGLVersion_1_1);

    panel->openGLRendererPopupMenuItemSelected(UFemFirstOpenGLRendererIdentifier + 2);
    EXPECT_EQ(panel->renderingOpenGLVersion(), 0u);
    EXPECT_EQ(panel->openGLRendererPopupButtonOutlet()->currentText(), "Software ( OpenGL 4.5 )");
    EXPECT_EQ(panel->renderingOpenGLVersionPopupButtonOutlet()->itemText(0), "Auto - OpenGL 1.4");
    EXPECT_TRUE(panel->doesUseOpenGLFrameBufferObjectCheckButtonOutlet()->isEnabled());
    EXPECT_EQ(panel->doesUseOpenGLFrameBufferObjectState(), 1u);

    // A tag beyond the catalogue is refused with an alert and changes nothing.
    panel->openGLRendererPopupMenuItemSelected(UFemFirstOpenGLRendererIdentifier + 9);
    ASSERT_EQ(sheets.alerts.size(), 1u);
    EXPECT_EQ(sheets.alerts[0].messageText,
        "Unexpected error occurred. VirtualScreenIdentifier is over virtualScreenCount.");
    EXPECT_EQ(panel->openGLRendererIdentifier(), UFemFirstOpenGLRendererIdentifier + 2);
}

TEST_F(PreferencesPanelTest, CancelKeepsTheEditsWithoutWritingAndApplyWrites)
{
    defaults.setInteger(5, UFemReferenceThreadCountPreferencesKey);
    auto panel = openPanel();
    panel->setReferenceThreadCount(8);
    panel->openGLRendererPopupMenuItemSelected(UFemFirstOpenGLRendererIdentifier + 2);
    panel->setRenderingOpenGLVersion(UGLOpenGLVersion_1_4);
    panel->preferencePanelButtonPushed(UFemPreferencePanelController::cancelButtonTag);
    EXPECT_EQ(defaults.integerForKey(UFemReferenceThreadCountPreferencesKey), 5);
    EXPECT_EQ(panel->referenceThreadCount(), 8u);

    panel->preferencePanelButtonPushed(UFemPreferencePanelController::applyButtonTag);
    EXPECT_EQ(defaults.integerForKey(UFemReferenceThreadCountPreferencesKey), 8);
    EXPECT_EQ(defaults.stringForKey(UFemOpenGLRendererNameStringPreferencesKey), "Software");
    EXPECT_EQ(defaults.integerForKey(UFemRenderingOpenGLVersionPreferencesKey),
        qint64(UGLOpenGLVersion_1_4));
    EXPECT_TRUE(defaults.boolForKey(UFemDoesUseOpenGLFrameBufferObjectPreferencesKey));

    // What the panel wrote is what a snapshot reads.
    const auto preferences = UFemUserPreferences::userPreferencesWithPreferencesDictionary(
        defaults.dictionaryRepresentation(), *catalogue, nullptr);
    EXPECT_EQ(preferences->foregroundTaskThreadCount(), 8u);
    EXPECT_EQ(preferences->virtualScreenIdentifierWithOpenGLContextIndex(0), 2u);

    panel->openGLRendererPopupMenuItemSelected(UFemAutomaticOpenGLRendererIdentifier);
    panel->preferencePanelButtonPushed(UFemPreferencePanelController::okButtonTag);
    EXPECT_EQ(defaults.stringForKey(UFemOpenGLRendererNameStringPreferencesKey), "");
    EXPECT_TRUE(sheets.alerts.empty());
}

TEST_F(PreferencesPanelTest, WithoutRenderersOnlyTheThreadCountAndAutomaticAreStored)
{
    catalogue = rendererCatalogueOf({});
    defaults.setObject(QStringLiteral("GPU A"), UFemOpenGLRendererNameStringPreferencesKey);
    auto panel = openPanel();
    ASSERT_EQ(sheets.alerts.size(), 1u);
    EXPECT_EQ(
        sheets.alerts[0].messageText, "Unexpected error occurred. Getting Renderer Info failed.");
    EXPECT_EQ(panel->openGLRendererIdentifier(), UFemUnsetOpenGLRendererIdentifier);

    panel->setReferenceThreadCount(2);
    panel->preferencePanelButtonPushed(UFemPreferencePanelController::okButtonTag);
    EXPECT_EQ(sheets.alerts.size(), 1u);
    EXPECT_EQ(defaults.integerForKey(UFemReferenceThreadCountPreferencesKey), 2);
    EXPECT_EQ(defaults.stringForKey(UFemOpenGLRendererNameStringPreferencesKey), "");
}

TEST_F(PreferencesPanelTest, OnlyTheSharedPanelSetsTheDrawingTimeSwitch)
{
    auto panel = openPanel();
    panel->setDoesDisplayGraphicViewDrawingTimeState(true);
    EXPECT_FALSE(panel->doesDisplayGraphicViewDrawingTimeState());
    EXPECT_FALSE(UFemDoesDisplayGraphicViewDrawingTime.load());
}

} // namespace
