#include "GraphicViewTestSupport.h"

#include <functional>

namespace {

class GraphicViewSettingsTest : public GraphicViewFixture {
protected:
    void fillCaches()
    {
        controller->setBaseImage(QImage(1, 1, QImage::Format_ARGB32_Premultiplied));
        for (quint64 index = 0; index < UFemGraphicViewController::selectModeDisplayListCount;
             ++index)
            controller->setSelectModeDisplayListValid(index);
    }
    bool arePickListsValid() const
    {
        for (quint64 index = 0; index < UFemGraphicViewController::selectModeDisplayListCount;
             ++index)
            if (!controller->isSelectModeDisplayListValid(index))
                return false;
        return true;
    }
};

const QString badFilter = QStringLiteral("type:Element AND (");
const QString badExpression = QStringLiteral("VonMisesStress +* (");

} // namespace

// The selection is drawn over the base image; colours do not change what a pick hits; sizes,
// drawn card kinds, factors and resolutions change both.
TEST_F(GraphicViewSettingsTest, EachSetterDropsWhatItMakesStale)
{
    struct Case {
        const char* name;
        std::function<void(UFemGraphicViewController&)> set;
        bool keepsImage;
        bool keepsPickLists;
    };
    const _UGLColor gray { 0.5, 0.5, 0.5, 1 };
    const Case cases[] = {
        { "selection colour", [&](auto& c) { c.setSelectionColor(gray); }, true, true },
        { "selection draw", [](auto& c) { c.setSelectionDraw(false); }, true, true },
        { "base distance", [](auto& c) { c.setObjectMoveScaleBaseDistance(50); }, true, true },
        { "node colour", [&](auto& c) { c.setNodeColor(gray); }, false, true },
        { "lighting", [](auto& c) { c.setLighting(false); }, false, true },
        { "edge width", [](auto& c) { c.setElementEdgeWidth(3); }, false, true },
        { "background", [&](auto& c) { c.setScreenImageBackgroundColor(gray); }, false, true },
        { "node size", [](auto& c) { c.setNodeSize(12); }, false, false },
        { "element draw", [](auto& c) { c.setElementDraw(false); }, false, false },
        { "force factor", [](auto& c) { c.setForceScaleFactor(2); }, false, false },
        { "displacement", [](auto& c) { c.setDrawWithDisplacement(true); }, false, false },
        { "resolution", [](auto& c) { c.setScreenImageResolutionPer72(2); }, false, false },
    };
    for (const Case& entry : cases) {
        fillCaches();
        entry.set(*controller);
        EXPECT_EQ(controller->isBaseImageValid(), entry.keepsImage) << entry.name;
        EXPECT_EQ(arePickListsValid(), entry.keepsPickLists) << entry.name;
    }
    // Setters store what they are given, unclamped.
    controller->setNodeSize(-3);
    EXPECT_DOUBLE_EQ(controller->viewSettings().nodeSize, -3);
}

TEST_F(GraphicViewSettingsTest, ABadFilterLeavesNoneABadExpressionKeepsThePrevious)
{
    UErrorPtr parserError;
    ASSERT_FALSE(UFemCardFilter().setCardFilterString(badFilter, &parserError));
    ASSERT_NE(parserError, nullptr);

    UErrorPtr error;
    controller->setColorByValueCardFilterString(QStringLiteral("type:Element"), &error);
    controller->setColorByValueCardValueExpressionString(QStringLiteral("VonMisesStress"), &error);
    ASSERT_EQ(error, nullptr);
    fillCaches();
    controller->setColorByValueCardFilterString(badFilter, &error);
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->code(), parserError->code());
    EXPECT_EQ(error->localizedDescription(), parserError->localizedDescription());
    EXPECT_EQ(controller->colorByValueCardFilterString(), std::nullopt);
    EXPECT_FALSE(controller->isBaseImageValid());
    EXPECT_TRUE(arePickListsValid());

    error.reset();
    controller->setColorByValueCardValueExpressionString(badExpression, &error);
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(
        controller->colorByValueCardValueExpressionString(), QStringLiteral("VonMisesStress"));

    error.reset();
    controller->setColorByValueCardValueExpressionString(QString(), &error);
    controller->setColorByValueCardFilterString(QString(), &error);
    EXPECT_EQ(error, nullptr);
    EXPECT_EQ(controller->colorByValueCardValueExpressionString(), std::nullopt);
    EXPECT_EQ(controller->colorByValueCardFilterString(), std::nullopt);
}
