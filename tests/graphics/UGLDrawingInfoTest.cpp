#include "graphics/camera/UGLDrawRectInfo.h"
#include "graphics/drawingbuffer/UFemGraphicDrawingInfo.h"
#include "graphics/primitives/UGLScaledRoundedSize.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <numbers>

TEST(DrawingInfo, PointsToPixelsRoundHalfUpAndSaturate)
{
    quint64 width = 0;
    quint64 height = 0;
    UGLScaledRoundedIntegerSize(100.4, 50.5, 1.0, &width, &height);
    EXPECT_EQ(width, 100u);
    EXPECT_EQ(height, 51u);
    // 300 x 4.1667 = 1250.01 and 200 x 4.1667 = 833.34.
    const UGLDrawRectInfo info = UGLDrawRectInfo::drawRectInfoWithDrawingOutputType(
        UGLDrawingOutputTypePrint, QSizeF(300, 200), 4.1667, UGLImageQualityPrint);
    EXPECT_EQ(info.imagePixelSize, QSizeF(1250, 833));
    EXPECT_EQ(info.imageSize, QSizeF(300, 200));
    EXPECT_EQ(info.drawingOutputType, UGLDrawingOutputTypePrint);
    EXPECT_EQ(info.imageQuality, UGLImageQualityPrint);
    EXPECT_DOUBLE_EQ(info.imageResolutionPer72, 4.1667);
    // Values with no unsigned pixel count must not reach an undefined conversion.
    UGLScaledRoundedIntegerSize(
        -3.0, std::numeric_limits<double>::quiet_NaN(), 1.0, &width, &height);
    EXPECT_EQ(width, 0u);
    EXPECT_EQ(height, 0u);
    UGLScaledRoundedIntegerSize(
        1e300, std::numeric_limits<double>::infinity(), 2.0, &width, &height);
    EXPECT_EQ(width, ~quint64(0));
    EXPECT_EQ(height, ~quint64(0));
    EXPECT_EQ(UGLScaledRoundedSize(0.2, 0.3, 2.5), QSizeF(1, 1));
}

TEST(DrawingInfo, PointTablesAreScreenFacingUnitCircles)
{
    UGLDrawingInfo info;
    // Eye X = object y, eye Y = object z, eye Z = object x.
    const double eye[3][3] = { { 0, 1, 0 }, { 0, 0, 1 }, { 1, 0, 0 } };
    info.setEyeCoordOnObjectCoord(eye);
    const auto& six = info.pointVertexTableFor6Vertex();
    EXPECT_DOUBLE_EQ(six[0], 0.0);
    EXPECT_DOUBLE_EQ(six[1], 1.0);
    EXPECT_DOUBLE_EQ(six[2], 0.0);
    // 60 degrees from the eye X axis towards the eye Y axis.
    EXPECT_NEAR(six[3], 0.0, 1e-15);
    EXPECT_NEAR(six[4], 0.5, 1e-15);
    EXPECT_NEAR(six[5], std::sqrt(3.0) / 2.0, 1e-15);
    const auto expectCircle = [](const double* table, int count) {
        for (int k = 0; k < count; ++k) {
            const double* vertex = table + 3 * k;
            EXPECT_NEAR(vertex[0], 0.0, 1e-15) << count << " " << k;
            EXPECT_NEAR(std::hypot(vertex[1], vertex[2]), 1.0, 1e-15);
            EXPECT_NEAR(std::atan2(vertex[2], vertex[1]),
                std::remainder(2.0 * std::numbers::pi * k / count, 2.0 * std::numbers::pi), 1e-12);
        }
    };
    expectCircle(info.pointVertexTableFor8Vertex().data(), 8);
    expectCircle(info.pointVertexTableFor10Vertex().data(), 10);
    expectCircle(info.pointVertexTableFor12Vertex().data(), 12);
    double back[3][3] = {};
    info.getEyeCoordOnObjectCoord(back);
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            EXPECT_EQ(back[row][column], eye[row][column]);
}

TEST(GraphicDrawingInfo, EdgeSettingsReadAsOffWhileEdgesAreOff)
{
    UFemGraphicDrawingInfo info;
    _UGLColor color { 1, 1, 1, 1 };
    EXPECT_FALSE(info.getUGLElementEdgeColor(&color));
    EXPECT_EQ(color, _UGLColor());
    info.setElementEdgeWidth(2.0);
    info.setElementEdgeColor(_UGLColor { 0.25, 0.5, 0.75, 1.0 });
    EXPECT_EQ(info.edgeDrawingInfoPtr(), nullptr);
    EXPECT_EQ(info.elementEdgeWidth(), 0.0);
    EXPECT_FALSE(info.elementEdgeColor().has_value());
    EXPECT_FALSE(info.getUGLElementEdgeColor(&color));

    info.setElementEdgeDraw(true);
    EXPECT_EQ(info.elementEdgeWidth(), 2.0);
    ASSERT_TRUE(info.elementEdgeColor().has_value());
    EXPECT_EQ(*info.elementEdgeColor(), (_UGLColor { 0.25, 0.5, 0.75, 1.0 }));
    EXPECT_TRUE(info.getUGLElementEdgeColor(&color));
    EXPECT_EQ(color, (_UGLColor { 0.25, 0.5, 0.75, 1.0 }));
    ASSERT_NE(info.edgeDrawingInfoPtr(), nullptr);
    EXPECT_EQ(info.edgeDrawingInfoPtr()->edgeColor(), &info.edgeDrawingInfoPtr()->edgeColor_static);

    // Edges on but no colour: no colour, and a zero one handed back.
    info.setElementEdgeColor(std::nullopt);
    color = { 1, 1, 1, 1 };
    EXPECT_FALSE(info.getUGLElementEdgeColor(&color));
    EXPECT_EQ(color, _UGLColor());
    EXPECT_EQ(info.edgeDrawingInfoPtr()->edgeColor(), nullptr);
    EXPECT_EQ(info.edgeDrawingInfoPtr()->edgeColor_static, _UGLColor());
}

TEST(GraphicDrawingInfo, CopyPointsIntoItselfAndOutlivesItsSource)
{
    auto source = std::make_unique<UFemGraphicDrawingInfo>();
    source->setElementEdgeDraw(true);
    source->setElementEdgeWidth(1.5);
    source->setElementEdgeColor(_UGLColor { 0.1, 0.2, 0.3, 0.4 });
    source->setForceScaleFactor(3.0);
    source->setNodeSize(7.0);
    source->setLengthPerPixel(0.01);

    UFemGraphicDrawingInfo copy(*source);
    ASSERT_NE(copy.edgeDrawingInfoPtr(), nullptr);
    EXPECT_NE(copy.edgeDrawingInfoPtr(), source->edgeDrawingInfoPtr());
    EXPECT_EQ(copy.edgeDrawingInfoPtr()->edgeColor(), &copy.edgeDrawingInfoPtr()->edgeColor_static);

    // A ForceSet on another thread changes its own copy only.
    source->setForceScaleFactor(6.0);
    source->setElementEdgeColor(_UGLColor { 1, 0, 0, 1 });
    source->setElementEdgeWidth(9.0);
    EXPECT_EQ(copy.forceScaleFactor(), 3.0);
    source.reset();
    EXPECT_EQ(copy.elementEdgeWidth(), 1.5);
    EXPECT_EQ(*copy.edgeDrawingInfoPtr()->edgeColor(), (_UGLColor { 0.1, 0.2, 0.3, 0.4 }));
    EXPECT_EQ(copy.nodeSize(), 7.0);
    EXPECT_EQ(copy.lengthPerPixel(), 0.01);

    // Assignment as well, and a source with edges off gives a copy with edges off.
    UFemGraphicDrawingInfo edgesOff;
    edgesOff.setElementEdgeWidth(4.0);
    copy = edgesOff;
    EXPECT_EQ(copy.edgeDrawingInfoPtr(), nullptr);
    copy.setElementEdgeDraw(true);
    EXPECT_EQ(copy.elementEdgeWidth(), 4.0);
    EXPECT_EQ(edgesOff.edgeDrawingInfoPtr(), nullptr);

    _UGLEdgeDrawingInfo record;
    UGLEdgeDrawingInfoSetEdgeColor(&record, _UGLColor { 0.5, 0.5, 0.5, 1 });
    record.edgeWidth = 2;
    _UGLEdgeDrawingInfo recordCopy;
    UGLEdgeDrawingInfoCopy(&recordCopy, &record);
    UGLEdgeDrawingInfoClear(&record);
    EXPECT_EQ(record.edgeColor(), nullptr);
    EXPECT_EQ(record.edgeWidth, 0.0);
    EXPECT_EQ(recordCopy.edgeColor(), &recordCopy.edgeColor_static);
    EXPECT_EQ(recordCopy.edgeColor_static, (_UGLColor { 0.5, 0.5, 0.5, 1 }));
}
