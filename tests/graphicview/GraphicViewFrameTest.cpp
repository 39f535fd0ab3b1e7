#include "GraphicViewTestSupport.h"

#include <cstdlib>

namespace {

// One plate element of 2 x 1 in the XZ plane, facing the eye under "X right, Z up".
const QString facingPlateModelText = QStringLiteral("Material , Steel , 210000 , 0.3 ,\n"
                                                    "ShellProp , P , Steel , 0.05 ,\n"
                                                    "Node , A ,  , -1 , 0 , -0.5 ,\n"
                                                    "Node , B ,  , 1 , 0 , -0.5 ,\n"
                                                    "Node , C ,  , 1 , 0 , 0.5 ,\n"
                                                    "Node , D ,  , -1 , 0 , 0.5 ,\n"
                                                    "Quad , Q , P , A , B , C , D ,\n");

class GraphicViewFrameTest : public GraphicViewFixture {
protected:
    GraphicViewFrameTest()
        : GraphicViewFixture(facingPlateModelText)
    {
    }
};

::testing::AssertionResult isNear(QColor actual, QColor expected)
{
    constexpr int tolerance = 3;
    if (std::abs(actual.red() - expected.red()) <= tolerance
        && std::abs(actual.green() - expected.green()) <= tolerance
        && std::abs(actual.blue() - expected.blue()) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
        << "(" << actual.red() << ", " << actual.green() << ", " << actual.blue() << ")";
}

} // namespace

// Lit face-on in the default element colour (0, 0.5, 1): 0.5 + 0.5/√3 of it, (0, 101, 201). The
// plate fills the middle of the view, the triad stands at its centre.
TEST_F(GraphicViewFrameTest, AFaceOnElementOverTheBackground)
{
    const QImage image = controller->renderToImage(UGLDrawingOutputTypeScreen);
    ASSERT_EQ(image.size(), QSize(400, 300));
    EXPECT_TRUE(isNear(image.pixelColor(150, 180), QColor(0, 101, 201)));
    EXPECT_TRUE(isNear(image.pixelColor(5, 5), QColor(153, 191, 191)));
    EXPECT_TRUE(controller->isBaseImageValid());
    // What the view shows is the same picture.
    const QImage shown = view->grab().toImage();
    EXPECT_TRUE(isNear(shown.pixelColor(150, 180), QColor(0, 101, 201)));
    EXPECT_FALSE(controller->isRedisplayRequiredWhenCalculationDone());
    EXPECT_FALSE(controller->isDrawingCacheCalculatingProgressIndicatorDisplayed());
}

TEST_F(GraphicViewFrameTest, ResolutionTwoGivesTheSamePictureTwiceTheSize)
{
    const QImage single = controller->renderToImage(UGLDrawingOutputTypeScreen);
    QVariantMap preferences = UFemGraphicViewPreferences::baseGraphicViewPreferences();
    preferences.insert(ScreenImageResolutionNumberGraphicViewPreferenceKey, 144.0);
    UErrorPtr error;
    ASSERT_TRUE(controller->setViewPreferences(preferences, &error));
    const QImage twice = controller->renderToImage(UGLDrawingOutputTypeScreen);
    ASSERT_EQ(twice.size(), QSize(800, 600));
    for (const QPoint point : { QPoint(150, 180), QPoint(5, 5), QPoint(120, 100) })
        EXPECT_TRUE(isNear(twice.pixelColor(point * 2), single.pixelColor(point)))
            << point.x() << "," << point.y();
}

TEST_F(GraphicViewFrameTest, LightingOffGivesThePlainColour)
{
    QVariantMap preferences = UFemGraphicViewPreferences::baseGraphicViewPreferences();
    preferences.insert(IsLightingActiveGraphicViewPreferenceKey, false);
    UErrorPtr error;
    ASSERT_TRUE(controller->setViewPreferences(preferences, &error));
    const QImage image = controller->renderToImage(UGLDrawingOutputTypeScreen);
    EXPECT_TRUE(isNear(image.pixelColor(150, 180), QColor(0, 128, 255)));
}
