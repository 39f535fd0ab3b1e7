#include "GraphicViewTestSupport.h"

#include <cmath>
#include <numbers>

namespace {

_UGLEyeLocationStruct eyeOf(const UFemGraphicViewController& controller)
{
    return controller.eyeLocation().eyeLocationStruct();
}

_UGLObjectLocationStruct objectOf(const UFemGraphicViewController& controller)
{
    return controller.objectLocation().objectLocationStruct();
}

class GraphicViewCameraTest : public GraphicViewFixture { };

class GraphicViewCameraEmptyTest : public GraphicViewFixture {
protected:
    GraphicViewCameraEmptyTest()
        : GraphicViewFixture(QString())
    {
    }
};

// Before the window is shown the view is not laid out: the first swap-in's fit waits for a frame.
class GraphicViewCameraUnshownTest : public GraphicViewFixture {
protected:
    GraphicViewCameraUnshownTest()
        : GraphicViewFixture(plateModelText(4), true, QSize())
    {
    }
};

} // namespace

// 2 x 1 in XZ at 400 x 300: p = max(2/400, 1/300) x 1.2 x 1.5; eye at 2L, far 4L.
TEST_F(GraphicViewCameraTest, FitsThePlateAsWorkedByHand)
{
    const _UGLEyeLocationStruct eye = eyeOf(*controller);
    EXPECT_DOUBLE_EQ(eye.eyePosition[2], 4.0);
    EXPECT_DOUBLE_EQ(eye.depthNear, 0.0);
    EXPECT_DOUBLE_EQ(eye.depthFar, 8.0);
    EXPECT_NEAR(eye.lengthPerPixel, 0.009, 1e-12);
    // The plate's centre is the origin, which lands in the middle of the view at depth 0.
    const double origin[3] = { 0, 0, 0 };
    double onEye[3];
    controller->camera().getPositionOnEyeCoord(onEye, origin);
    EXPECT_NEAR(onEye[0], 0.0, 1e-9);
    EXPECT_NEAR(onEye[1], 0.0, 1e-9);
    EXPECT_NEAR(onEye[2], -4.0 / 0.009, 1e-6);
    // The managers draw with the same camera.
    for (quint64 index = 0; index < 2; ++index) {
        ASSERT_NE(controller->openGLManagerWithOpenGLContextIndex(index), nullptr);
        EXPECT_DOUBLE_EQ(controller->openGLManagerWithOpenGLContextIndex(index)
                             ->eyeLocation()
                             .eyeLocationStruct()
                             .lengthPerPixel,
            eye.lengthPerPixel);
    }
}

TEST_F(GraphicViewCameraEmptyTest, FitsAnEmptyModelAroundTwentyUnits)
{
    const _UGLEyeLocationStruct eye = eyeOf(*controller);
    EXPECT_DOUBLE_EQ(eye.eyePosition[2], 40.0);
    EXPECT_DOUBLE_EQ(eye.depthFar, 80.0);
    EXPECT_NEAR(eye.lengthPerPixel, 20.0 / 400 * 1.2 * 1.5, 1e-12);
}

TEST_F(GraphicViewCameraTest, TwentyNodesGetMoreRoomThanTwentyOne)
{
    double lengthPerPixel[2];
    for (int count : { 20, 21 }) {
        UErrorPtr error;
        ASSERT_TRUE(harness.model().resetWithModelText(plateModelText(count), true, &error));
        controller->fitObjectInView();
        lengthPerPixel[count - 20] = eyeOf(*controller).lengthPerPixel;
    }
    EXPECT_NEAR(lengthPerPixel[0], 0.009, 1e-12);
    EXPECT_NEAR(lengthPerPixel[1], 0.006, 1e-12);
}

TEST_F(GraphicViewCameraUnshownTest, NoFitBeforeTheViewHasAnArea)
{
    EXPECT_DOUBLE_EQ(eyeOf(*controller).eyePosition[2], 1000.0);
    EXPECT_FALSE(controller->camera().isEyeLocationDepthValid());
    showWithViewSize(QSize(400, 300));
    EXPECT_DOUBLE_EQ(eyeOf(*controller).eyePosition[2], 4.0);
    EXPECT_NEAR(eyeOf(*controller).lengthPerPixel, 0.009, 1e-12);
    EXPECT_TRUE(std::isfinite(objectOf(*controller).objectPosition[0]));
}

TEST_F(GraphicViewCameraTest, PresetsSetTheModelAxes)
{
    controller->setDirection_X_Right_Y_Up();
    _UGLObjectLocationStruct object = objectOf(*controller);
    EXPECT_DOUBLE_EQ(object.objectDirection[1][1], 1.0);
    EXPECT_DOUBLE_EQ(object.objectDirection[2][2], 1.0);
    // Seen along Y the plate's 2 x 1 is now 2 x 0 on screen: p = 2/400 x 1.2 x 1.5.
    EXPECT_NEAR(eyeOf(*controller).lengthPerPixel, 0.009, 1e-12);
    controller->setDirection_Y_Right_Z_Up();
    object = objectOf(*controller);
    EXPECT_DOUBLE_EQ(object.objectDirection[0][2], 1.0);
    EXPECT_DOUBLE_EQ(object.objectDirection[1][0], 1.0);
    EXPECT_DOUBLE_EQ(object.objectDirection[2][1], 1.0);
    // Only the plate's height 1 shows: p = 1/300 x 1.2 x 1.5.
    EXPECT_NEAR(eyeOf(*controller).lengthPerPixel, 0.006, 1e-12);
}

TEST_F(GraphicViewCameraTest, DepthRangeRefitsAfterAnEdit)
{
    UErrorPtr error;
    ASSERT_TRUE(harness.model().resetWithModelText(
        QStringLiteral("Node , A ,  , 0 , 0 , 0 ,\nNode , B ,  , 10 , 0 , 0 ,\n"), true, &error));
    EXPECT_FALSE(controller->camera().isEyeLocationDepthValid());
    const double lengthPerPixel = eyeOf(*controller).lengthPerPixel;
    controller->updateEyeLocationDepthRangeIfNeeded();
    EXPECT_DOUBLE_EQ(eyeOf(*controller).eyePosition[2], 20.0);
    EXPECT_DOUBLE_EQ(eyeOf(*controller).depthFar, 40.0);
    EXPECT_DOUBLE_EQ(eyeOf(*controller).lengthPerPixel, lengthPerPixel);
}

TEST_F(GraphicViewCameraTest, DragModes)
{
    const double quarterTurn = 100 * std::numbers::pi / 2;
    const _UGLObjectLocationStruct fitted = objectOf(*controller);

    // Move: the model follows the mouse at the length per pixel.
    ASSERT_TRUE(controller->updateEyeAndObjectLocationWithObjectMoveMode(2, 10, -20));
    EXPECT_NEAR(objectOf(*controller).objectPosition[0], fitted.objectPosition[0] + 0.09, 1e-12);
    EXPECT_NEAR(objectOf(*controller).objectPosition[1], fitted.objectPosition[1] - 0.18, 1e-12);
    controller->setDirection_X_Right_Z_Up();

    // Zoom: up by one base distance halves the length per pixel; sideways does nothing.
    ASSERT_TRUE(controller->updateEyeAndObjectLocationWithObjectMoveMode(5, 30, 100));
    EXPECT_NEAR(eyeOf(*controller).lengthPerPixel, 0.0045, 1e-12);
    ASSERT_TRUE(controller->updateEyeAndObjectLocationWithObjectMoveMode(5, 30, 0));
    EXPECT_NEAR(eyeOf(*controller).lengthPerPixel, 0.0045, 1e-12);

    // Roll: a quarter turn about the view axis sends model X up or down the screen; vertical
    // movement is ignored.
    ASSERT_TRUE(controller->updateEyeAndObjectLocationWithObjectMoveMode(4, 0, 200));
    EXPECT_NEAR(objectOf(*controller).objectDirection[0][0], 1.0, 1e-12);
    ASSERT_TRUE(controller->updateEyeAndObjectLocationWithObjectMoveMode(4, quarterTurn, 0));
    EXPECT_NEAR(std::abs(objectOf(*controller).objectDirection[0][1]), 1.0, 1e-12);
    controller->setDirection_X_Right_Z_Up();

    // Rotate: a vertical drag of a quarter turn tips model Z (up) towards or away from the eye,
    // and the model's centre stays at depth 0.
    ASSERT_TRUE(controller->updateEyeAndObjectLocationWithObjectMoveMode(3, 0, quarterTurn));
    EXPECT_NEAR(std::abs(objectOf(*controller).objectDirection[2][2]), 1.0, 1e-12);
    const double center[3] = { 0, 0, 0 };
    double global[3];
    controller->objectLocation().getPositionOnGlobalCoord(global, center);
    EXPECT_NEAR(global[2], 0.0, 1e-12);
}

TEST_F(GraphicViewCameraTest, ZeroDragAndPointerModeChangeNothing)
{
    controller->setBaseImage(QImage(1, 1, QImage::Format_ARGB32_Premultiplied));
    controller->setSelectModeDisplayListValid(0);
    EXPECT_FALSE(controller->updateEyeAndObjectLocationWithObjectMoveMode(3, 0, 0));
    EXPECT_FALSE(controller->updateEyeAndObjectLocationWithObjectMoveMode(1, 5, 5));
    EXPECT_TRUE(controller->isBaseImageValid());
    EXPECT_TRUE(controller->isSelectModeDisplayListValid(0));
    EXPECT_TRUE(controller->updateEyeAndObjectLocationWithObjectMoveMode(2, 5, 5));
    EXPECT_FALSE(controller->isBaseImageValid());
    EXPECT_FALSE(controller->isSelectModeDisplayListValid(0));
}

// Hand-edited base distances of 0 or NaN count as 100 instead of dividing by zero.
TEST_F(GraphicViewCameraTest, BadBaseDistancesCountAsOneHundred)
{
    controller->setObjectMoveScaleBaseDistance(0.0);
    controller->setObjectMoveRotateBaseDistance(std::nan(""));
    ASSERT_TRUE(controller->updateEyeAndObjectLocationWithObjectMoveMode(5, 0, 100));
    EXPECT_NEAR(eyeOf(*controller).lengthPerPixel, 0.0045, 1e-12);
    ASSERT_TRUE(
        controller->updateEyeAndObjectLocationWithObjectMoveMode(4, 100 * std::numbers::pi / 2, 0));
    EXPECT_NEAR(std::abs(objectOf(*controller).objectDirection[0][1]), 1.0, 1e-12);
}

TEST_F(GraphicViewCameraTest, DraggingTheViewMovesTheModel)
{
    controller->setObjectMoveMode(2);
    const double before = objectOf(*controller).objectPosition[1];
    const QPointF start(100, 100);
    QMouseEvent press(QEvent::MouseButtonPress, start, view->mapToGlobal(start), Qt::LeftButton,
        Qt::LeftButton, {});
    QApplication::sendEvent(view, &press);
    const QPointF end(100, 90);
    QMouseEvent move(
        QEvent::MouseMove, end, view->mapToGlobal(end), Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(view, &move);
    // Ten points up the screen (y down in the widget) move the model up by 10 p.
    EXPECT_NEAR(objectOf(*controller).objectPosition[1], before + 0.09, 1e-12);
}
