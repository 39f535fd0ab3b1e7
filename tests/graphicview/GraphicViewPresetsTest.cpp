#include "GraphicViewTestSupport.h"

#include "foundation/UColorAddition.h"
#include "foundation/UFemFolderItemKeys.h"

namespace {

class GraphicViewPresetsTest : public GraphicViewFixture { };

enum FolderIndex { base, model, displacement, vonMisesStress, displacementAndVonMisesStress };

QVariantMap presetOverBase(int folderIndex)
{
    QVariantMap preferences = UFemGraphicViewPreferences::baseGraphicViewPreferences();
    preferences.insert(
        UFemGraphicViewPreferences::defaultGraphicViewPreferencesOfFolderIndex(folderIndex));
    return preferences;
}

} // namespace

TEST_F(GraphicViewPresetsTest, TheBuiltInFolderArray)
{
    const QVariantList folders
        = UFemGraphicViewPreferences::defaultGraphicViewPreferencesFolderArray();
    ASSERT_EQ(folders.size(), 5);
    const QStringList names { QString(), "Model", "Displacement", "VonMisesStress",
        "Displacement & VonMisesStress" };
    const QList<int> hints { 0, 1100, 2100, 2200, 2300 };
    const QList<int> keyCounts { 55, 0, 41, 41, 41 };
    for (int index = 0; index < folders.size(); ++index) {
        const QVariantMap folder = folders.at(index).toMap();
        EXPECT_EQ(folder.value(UFemFolderItemNameStringPreferencesKey).toString(), names[index]);
        EXPECT_EQ(folder.value(UFemFolderItemOrderHintNumberPreferencesKey).toInt(), hints[index]);
        EXPECT_EQ(
            folder.value(UFemFolderItemObjectPreferencesKey).toMap().size(), keyCounts[index]);
    }
    EXPECT_EQ(UFemGraphicViewPreferences::keyTable().size(), 55U);
}

TEST_F(GraphicViewPresetsTest, ModelGivesTheBase)
{
    applyPreset(vonMisesStress);
    applyPreset(model);
    EXPECT_EQ(
        controller->viewPreferences(), UFemGraphicViewPreferences::baseGraphicViewPreferences());
    const UFemGraphicViewSettings& settings = controller->viewSettings();
    EXPECT_TRUE(settings.isLighting);
    EXPECT_FALSE(settings.isDrawWithColorByValue);
    EXPECT_DOUBLE_EQ(settings.nodeSize, 8);
    EXPECT_EQ(settings.elementColor, (_UGLColor { 0, 0.5, 1, 1 }));
    EXPECT_EQ(settings.screenImageBackgroundColor, (_UGLColor { 0.6, 0.75, 0.75, 1 }));
    EXPECT_EQ(settings.globalCoordDrawPosition, 1);
    EXPECT_DOUBLE_EQ(settings.screenImageResolutionPer72, 1.0);
    EXPECT_EQ(controller->colorByValueCardFilterString(), std::nullopt);
}

TEST_F(GraphicViewPresetsTest, ResultPresets)
{
    applyPreset(vonMisesStress);
    const UFemGraphicViewSettings& settings = controller->viewSettings();
    EXPECT_FALSE(settings.isLighting);
    EXPECT_TRUE(settings.isDrawWithColorByValue);
    EXPECT_FALSE(settings.isDrawWithDisplacement);
    EXPECT_EQ(controller->colorByValueCardFilterString(), QStringLiteral("type:Element"));
    EXPECT_EQ(
        controller->colorByValueCardValueExpressionString(), QStringLiteral("VonMisesStress"));
    ASSERT_NE(settings.colorByValueColorScale, nullptr);
    EXPECT_TRUE(settings.colorByValueColorScale->isBaseColorScaleEqualToColorScale(
        *UFemColorScale::defaultUnitColorScale()));
    EXPECT_DOUBLE_EQ(settings.nodeSize, 6);
    EXPECT_FALSE(settings.isForceDraw);
    EXPECT_EQ(settings.globalCoordDrawPosition, 2);

    applyPreset(displacement);
    EXPECT_TRUE(settings.isLighting);
    EXPECT_TRUE(settings.isDrawWithDisplacement);
    EXPECT_FALSE(settings.isDrawWithColorByValue);
    EXPECT_EQ(controller->colorByValueCardFilterString(), std::nullopt);
}

TEST_F(GraphicViewPresetsTest, ResolutionsAndBackgroundSwitch)
{
    QVariantMap preferences = presetOverBase(model);
    preferences.insert(ScreenImageResolutionNumberGraphicViewPreferenceKey, 144);
    preferences.insert(PrintImageResolutionNumberGraphicViewPreferenceKey, 300.0);
    preferences.insert(IsBackgroundDrawActiveGraphicViewPreferenceKey, false);
    UErrorPtr error;
    ASSERT_TRUE(controller->setViewPreferences(preferences, &error));
    EXPECT_DOUBLE_EQ(controller->screenImageResolutionPer72(), 2.0);
    EXPECT_DOUBLE_EQ(controller->printImageResolutionPer72(), 300.0 / 72);
    EXPECT_EQ(controller->viewSettings().screenImageBackgroundColor, (_UGLColor { 0, 0, 0, 0 }));
    const UGLDrawRectInfo screen = view->drawRectInfoWithOutputType(UGLDrawingOutputTypeScreen);
    EXPECT_EQ(screen.imagePixelSize, QSizeF(800, 600));
    EXPECT_EQ(screen.imageQuality, UGLImageQualityScreen);
    const UGLDrawRectInfo print = view->drawRectInfoWithOutputType(UGLDrawingOutputTypePrint);
    EXPECT_EQ(print.imageQuality, UGLImageQualityPrint);
    EXPECT_DOUBLE_EQ(print.imageResolutionPer72, 300.0 / 72);
}

// A settings file edited by hand: what is missing or of the wrong kind takes its base default.
TEST_F(GraphicViewPresetsTest, MissingOrWronglyTypedValuesTakeTheBaseDefault)
{
    QVariantMap preferences = presetOverBase(vonMisesStress);
    preferences.insert(NodeSizeNumberGraphicViewPreferenceKey, QStringLiteral("big"));
    preferences.insert(ElementColorGraphicViewPreferenceKey, QVariantList { 1, 0 });
    preferences.insert(ColorByValueColorScaleGraphicViewPreferenceKey, 7);
    preferences.remove(IsLightingActiveGraphicViewPreferenceKey);
    UErrorPtr error;
    ASSERT_TRUE(controller->setViewPreferences(preferences, &error));
    const UFemGraphicViewSettings& settings = controller->viewSettings();
    EXPECT_DOUBLE_EQ(settings.nodeSize, 8);
    EXPECT_EQ(settings.elementColor, (_UGLColor { 0, 0.5, 1, 1 }));
    EXPECT_TRUE(settings.isLighting);
    EXPECT_TRUE(settings.isDrawWithColorByValue);
    EXPECT_TRUE(settings.colorByValueColorScale->isBaseColorScaleEqualToColorScale(
        *UFemColorScale::defaultUnitColorScale()));
}

// A filter or expression that does not parse rejects the dictionary: the error is returned and
// the previous settings stay.
TEST_F(GraphicViewPresetsTest, ABadDictionaryRollsBack)
{
    applyPreset(vonMisesStress);
    const QVariantMap previous = controller->viewPreferences();
    for (const auto& [key, text] :
        { std::pair { ColorByValueCardFilterStringGraphicViewPreferenceKey,
              QStringLiteral("type:Element AND (") },
            std::pair { ColorByValueCardValueExpressionStringGraphicViewPreferenceKey,
                QStringLiteral("VonMisesStress +* (") } }) {
        QVariantMap bad = presetOverBase(displacementAndVonMisesStress);
        bad.insert(key, text);
        bad.insert(NodeSizeNumberGraphicViewPreferenceKey, 30.0);
        UErrorPtr error;
        EXPECT_FALSE(controller->setViewPreferences(bad, &error));
        ASSERT_NE(error, nullptr) << key.toStdString();
        EXPECT_FALSE(error->localizedDescription().isEmpty());
        EXPECT_EQ(controller->viewPreferences(), previous);
        EXPECT_DOUBLE_EQ(controller->viewSettings().nodeSize, 6);
        EXPECT_FALSE(controller->viewSettings().isDrawWithDisplacement);
        EXPECT_EQ(controller->colorByValueCardFilterString(), QStringLiteral("type:Element"));
        EXPECT_EQ(
            controller->colorByValueCardValueExpressionString(), QStringLiteral("VonMisesStress"));
    }
}
