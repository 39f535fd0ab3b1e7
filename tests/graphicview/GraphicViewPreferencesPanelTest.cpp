#include "GraphicViewTestSupport.h"
#include "ScopedLocale.h"

#include "documents/toolbar/UFemViewSettingPopup.h"
#include "documents/toolbar/UFemWindowToolbar.h"
#include "foundation/UColorAddition.h"
#include "graphics/colorscale/UFemColorScale.h"
#include "graphicview/UFemGraphicViewPreferencesViewController.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QLineEdit>

namespace {

using Panel = UFemGraphicViewPreferencesViewController;

QVariantMap presetOverBase(int folderIndex)
{
    QVariantMap preferences = UFemGraphicViewPreferences::baseGraphicViewPreferences();
    preferences.insert(
        UFemGraphicViewPreferences::defaultGraphicViewPreferencesOfFolderIndex(folderIndex));
    return preferences;
}

template <typename Control> Control* control(const Panel& panel, const char* name)
{
    auto* found = panel.preferencesViewBox()->findChild<Control*>(QLatin1String(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

QLineEdit* field(const Panel& panel, const char* name)
{
    return control<QLineEdit>(panel, name);
}
QCheckBox* box(const Panel& panel, const char* name)
{
    return control<QCheckBox>(panel, name);
}

QVariantMap scaleWithAdditions(const std::function<void(UFemColorScale&)>& add)
{
    UFemColorScalePtr scale = UFemColorScale::defaultUnitColorScale();
    add(*scale);
    return scale->preferenceColorScale().value_or(QVariantMap());
}

QVariantMap edited(const Panel& panel)
{
    UErrorPtr error;
    QVariantMap preferences = panel.viewPreferences(&error);
    EXPECT_EQ(error, nullptr);
    return preferences;
}

} // namespace

TEST(GraphicViewPreferencesPanel, BaseAndEachPresetComeBackWithLightingTheInverseOfColorByValue)
{
    for (int folderIndex = 0; folderIndex < 5; ++folderIndex) {
        SCOPED_TRACE(folderIndex);
        QVariantMap preferences = presetOverBase(folderIndex);
        // Channels no 8-bit colour holds.
        preferences.insert(NodeColorGraphicViewPreferenceKey,
            UPreferenceColorWithUGLColor({ 1.0 / 3.0, 0.123456789, 0.7, 0.25 }));
        Panel panel;
        ASSERT_TRUE(panel.setViewPreferences(preferences, nullptr));
        const QVariantMap back = edited(panel);
        EXPECT_EQ(back.size(), 39);
        for (auto entry = back.begin(); entry != back.end(); ++entry) {
            if (entry.key() == IsLightingActiveGraphicViewPreferenceKey)
                EXPECT_EQ(entry.value().toBool(),
                    !preferences.value(IsColorByValueDrawActiveGraphicViewPreferenceKey).toBool());
            else
                EXPECT_EQ(entry.value(), preferences.value(entry.key()))
                    << entry.key().toStdString();
        }
        EXPECT_FALSE(back.contains(RodAreaDiaSizeNumberGraphicViewPreferenceKey));
    }

    Panel panel;
    ASSERT_TRUE(panel.setViewPreferences(presetOverBase(0), nullptr));
    box(panel, "colorByValueDrawActiveState")->setChecked(true);
    EXPECT_FALSE(edited(panel).value(IsLightingActiveGraphicViewPreferenceKey).toBool());
}

TEST(GraphicViewPreferencesPanel, RangeAndStepDefaultsAndAValuedScaleOpensOnItsRange)
{
    Panel panel;
    ASSERT_TRUE(panel.setViewPreferences(presetOverBase(3), nullptr));
    EXPECT_EQ(field(panel, "colorByValueMinValueString")->text(), "-1.0");
    EXPECT_EQ(field(panel, "colorByValueMaxValueString")->text(), "+1.0");
    EXPECT_EQ(field(panel, "colorByValueNumberOfStepColorString")->text(), "10");
    EXPECT_TRUE(box(panel, "colorByValueValueRangeAutoActiveState")->isChecked());
    EXPECT_FALSE(field(panel, "colorByValueMinValueString")->isEnabled());

    QVariantMap preferences = presetOverBase(3);
    preferences.insert(ColorByValueColorScaleGraphicViewPreferenceKey,
        scaleWithAdditions([](UFemColorScale& scale) {
            ASSERT_TRUE(scale.setColorScaleValueRangeWithRangeMinValue(-5.0, 7.5, nullptr));
            ASSERT_TRUE(scale.setInstantStepColorWithNumberOfStepColor(6, nullptr));
            ASSERT_TRUE(scale.setColorSwapped(true, nullptr));
        }));
    ASSERT_TRUE(panel.setViewPreferences(preferences, nullptr));
    EXPECT_FALSE(box(panel, "colorByValueValueRangeAutoActiveState")->isChecked());
    EXPECT_EQ(field(panel, "colorByValueMinValueString")->text(), "-5");
    EXPECT_EQ(field(panel, "colorByValueMaxValueString")->text(), "7.5");
    EXPECT_TRUE(field(panel, "colorByValueMinValueString")->isEnabled());
    EXPECT_EQ(field(panel, "colorByValueNumberOfStepColorString")->text(), "6");
    EXPECT_TRUE(box(panel, "colorByValueColorSwapActiveState")->isChecked());
    EXPECT_EQ(edited(panel).value(ColorByValueColorScaleGraphicViewPreferenceKey),
        preferences.value(ColorByValueColorScaleGraphicViewPreferenceKey));

    // A base scale with its own values keeps them, and its range cannot be edited.
    auto valued = std::make_shared<UFemColorScale>();
    ASSERT_TRUE(valued->setContinuousColorScaleWithIsValuedColorScale(true, "Valued",
        { { 0.0, { 0, 0, 1, 1 } }, { 100.0, { 1, 0, 0, 1 } } }, { 0, 0, 0, 1 }, { 1, 1, 1, 1 },
        { 0.5, 0.5, 0.5, 1 }, std::nullopt, 1.0, 0.0, 100.0, nullptr));
    preferences.insert(
        ColorByValueColorScaleGraphicViewPreferenceKey, *valued->preferenceColorScale());
    ASSERT_TRUE(panel.setViewPreferences(preferences, nullptr));
    EXPECT_EQ(field(panel, "colorByValueMinValueString")->text(), "0");
    EXPECT_EQ(field(panel, "colorByValueMaxValueString")->text(), "100");
    EXPECT_FALSE(box(panel, "colorByValueValueRangeAutoActiveState")->isEnabled());
    EXPECT_FALSE(field(panel, "colorByValueMinValueString")->isEnabled());
    EXPECT_EQ(edited(panel).value(ColorByValueColorScaleGraphicViewPreferenceKey),
        *valued->preferenceColorScale());
}

TEST(GraphicViewPreferencesPanel, NumberTextsAreTheirCLocaleNumericPrefix)
{
    ScopedLocale german("de_DE.UTF-8");
    Panel panel;
    ASSERT_TRUE(panel.setViewPreferences(presetOverBase(0), nullptr));
    const std::pair<QString, double> cases[] = { { "abc", 0.0 }, { "", 0.0 }, { "12abc", 12.0 },
        { " 1.5", 1.5 }, { "2,5", 2.0 }, { "-3e2x", -300.0 } };
    for (const auto& [text, value] : cases) {
        field(panel, "nodeSizeNumberString")->setText(text);
        EXPECT_EQ(edited(panel).value(NodeSizeNumberGraphicViewPreferenceKey).toDouble(), value)
            << text.toStdString();
    }
    // Shown in the C locale too.
    QVariantMap preferences = presetOverBase(0);
    preferences.insert(RestraintSizeNumberGraphicViewPreferenceKey, 0.25);
    ASSERT_TRUE(panel.setViewPreferences(preferences, nullptr));
    EXPECT_EQ(field(panel, "restraintSizeNumberString")->text(), "0.25");
}

TEST(GraphicViewPreferencesPanel, EnabledStatesFollowEachChange)
{
    Panel panel;
    ASSERT_TRUE(panel.setViewPreferences(presetOverBase(2), nullptr));
    box(panel, "elementDrawActiveState")->setChecked(true);
    box(panel, "elementEdgeDrawActiveState")->setChecked(true);
    EXPECT_TRUE(field(panel, "elementEdgeWidthNumberString")->isEnabled());
    box(panel, "elementDrawActiveState")->setChecked(false);
    EXPECT_FALSE(box(panel, "elementEdgeDrawActiveState")->isEnabled());
    EXPECT_FALSE(field(panel, "elementEdgeWidthNumberString")->isEnabled());
    EXPECT_FALSE(control<QWidget>(panel, "elementEdgeColor")->isEnabled());

    box(panel, "displacementDrawActiveState")->setChecked(true);
    box(panel, "displacementScaleFactorAutoActiveState")->setChecked(false);
    box(panel, "nonDisplacementModelDrawActiveState")->setChecked(true);
    EXPECT_TRUE(field(panel, "displacementScaleFactorNumberString")->isEnabled());
    EXPECT_TRUE(control<QWidget>(panel, "nonDisplacementModelColor")->isEnabled());
    box(panel, "displacementDrawActiveState")->setChecked(false);
    for (const char* name : { "displacementScaleFactorAutoActiveState",
             "nonDisplacementModelDrawActiveState", "nonDisplacementModelEdgeDrawActiveState",
             "nonDisplacementModelNodeDrawActiveState", "nonDisplacementModelColor" })
        EXPECT_FALSE(control<QWidget>(panel, name)->isEnabled()) << name;
    EXPECT_FALSE(field(panel, "displacementScaleFactorNumberString")->isEnabled());
    // The states themselves stay as set.
    EXPECT_TRUE(
        edited(panel).value(IsNonDisplacementModelDrawActiveGraphicViewPreferenceKey).toBool());
}

TEST(GraphicViewPreferencesPanel, PopupChangesTheBaseScaleAndARefusedRangeIsTheError)
{
    Panel panel;
    ASSERT_TRUE(panel.setViewPreferences(presetOverBase(3), nullptr));
    auto* popup = control<QComboBox>(panel, "colorByValueColorScalePopup");
    ASSERT_GE(popup->count(), 4);
    EXPECT_EQ(popup->currentData().toLongLong(), Panel::colorScalePopupMenuItemTagOffset);
    const int other = popup->count() - 1;
    popup->setCurrentIndex(other);
    emit popup->activated(other);
    EXPECT_EQ(panel.colorByValueBaseColorScale()->colorScaleNameString(), popup->itemText(other));
    const UFemColorScalePtr written = UFemColorScale::colorScaleWithPreferenceColorScale(
        edited(panel).value(ColorByValueColorScaleGraphicViewPreferenceKey).toMap());
    EXPECT_EQ(written->colorScaleNameString(), popup->itemText(other));

    box(panel, "colorByValueValueRangeAutoActiveState")->setChecked(false);
    field(panel, "colorByValueMinValueString")->setText("5");
    field(panel, "colorByValueMaxValueString")->setText("1");
    UErrorPtr error;
    EXPECT_TRUE(panel.viewPreferences(&error).isEmpty());
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->code(), 51001);
    EXPECT_EQ(field(panel, "colorByValueMinValueString")->text(), "5");
}

namespace {

class GraphicViewPreferencesPanelSheet : public GraphicViewFixture { };

} // namespace

TEST_F(GraphicViewPreferencesPanelSheet, GraphicViewPreferencesPanelAppliesOrKeepsThePanelOnError)
{
    auto* panel = dynamic_cast<Panel*>(controller->preferencesViewController());
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel, controller->preferencesViewController());
    UFemViewSettingPopup& popup = *harness.window->toolbar().viewSettingPopup();
    popup.viewSettingMenuItemSelected(UFemOpenViewSettingPanelMenuTag);
    QDialog* sheet = popup.preferencesViewPanel();
    ASSERT_NE(sheet, nullptr);
    EXPECT_TRUE(sheet->isAncestorOf(panel->preferencesViewBox()));
    if (const QByteArray directory = qgetenv("VANTREL_GRAB_DIR"); !directory.isEmpty())
        sheet->grab().save(
            QDir(QString::fromLocal8Bit(directory)).filePath("3d-view-settings.png"));

    const QVariantMap before = controller->viewPreferences();
    box(*panel, "colorByValueDrawActiveState")->setChecked(true);
    box(*panel, "colorByValueValueRangeAutoActiveState")->setChecked(false);
    field(*panel, "colorByValueMinValueString")->setText("5");
    field(*panel, "colorByValueMaxValueString")->setText("1");
    EXPECT_FALSE(popup.preferencesViewPanelButtonPushed(UFemViewSettingPanelApply));
    ASSERT_FALSE(harness.sheets.alerts.empty());
    EXPECT_EQ(controller->viewPreferences(), before);
    EXPECT_EQ(field(*panel, "colorByValueMaxValueString")->text(), "1");

    field(*panel, "colorByValueMaxValueString")->setText("9");
    field(*panel, "nodeSizeNumberString")->setText("12abc");
    EXPECT_TRUE(popup.preferencesViewPanelButtonPushed(UFemViewSettingPanelApply));
    EXPECT_DOUBLE_EQ(controller->viewSettings().nodeSize, 12.0);
    EXPECT_TRUE(controller->viewSettings().isDrawWithColorByValue);
    EXPECT_FALSE(controller->viewSettings().isLighting);
    sheet->done(UFemViewSettingPanelClose);
}
