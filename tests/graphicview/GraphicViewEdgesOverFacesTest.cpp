#include "GraphicViewTestSupport.h"

#include <QFile>

#include <algorithm>
#include <cmath>

namespace {

QString quadPlateModelText()
{
    QFile file(QStringLiteral(VANTREL_EXAMPLES_DIR "/quad-plate.vtmodel"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The model axes as rows in eye coordinates: the plate (z = 0) first turned by `spin` about
// model Z, then tipped back about the screen's X so that it is seen from above at `tilt` degrees.
std::array<double, 9> turnedPlateDirection(double tiltDegrees, double spinDegrees)
{
    const double t = tiltDegrees * M_PI / 180.0;
    const double s = spinDegrees * M_PI / 180.0;
    std::array<double, 9> rows {};
    for (int axis = 0; axis < 3; ++axis) {
        const double model[3]
            = { axis == 0 ? 1.0 : 0.0, axis == 1 ? 1.0 : 0.0, axis == 2 ? 1.0 : 0.0 };
        const double x = std::cos(s) * model[0] - std::sin(s) * model[1];
        const double y = std::sin(s) * model[0] + std::cos(s) * model[1];
        const double z = model[2];
        rows[3 * axis] = x;
        rows[3 * axis + 1] = std::sin(t) * y + std::cos(t) * z;
        rows[3 * axis + 2] = -std::cos(t) * y + std::sin(t) * z;
    }
    return rows;
}

// Interior edges away from their ends: x = 0.5 from N22 to N24, and y = 0.5 from N13 to N33.
const std::array<std::array<std::array<double, 3>, 2>, 2> interiorEdges { {
    { { { 0.5, 0.3, 0 }, { 0.5, 0.7, 0 } } },
    { { { 0.3, 0.5, 0 }, { 0.7, 0.5, 0 } } },
} };
constexpr int edgeSampleCount = 40;
// The black edge of the default settings; a face pixel is far lighter.
constexpr int darkestFaceChannelSum = 150;

class GraphicViewEdgesOverFacesTest
    : public GraphicViewFixture,
      public ::testing::WithParamInterface<std::pair<double, double>> {
protected:
    GraphicViewEdgesOverFacesTest()
        : GraphicViewFixture(quadPlateModelText())
    {
    }

    QPoint pixelOf(const std::array<double, 3>& at) const
    {
        double onEye[3];
        controller->camera().getPositionOnEyeCoord(onEye, at.data());
        return { int(std::lround(view->width() / 2.0 + onEye[0])),
            int(std::lround(view->height() / 2.0 - onEye[1])) };
    }
};

} // namespace

// Every pixel along an edge that lies in the plate shows the edge, seen from steep and flat
// angles alike.
TEST_P(GraphicViewEdgesOverFacesTest, EdgesInTheFacesAreDrawnWhole)
{
    const std::array<double, 9> direction
        = turnedPlateDirection(GetParam().first, GetParam().second);
    controller->setEyeLocationAndObjectLocationByObjectSizeWithObjectDirection(direction.data());
    controller->clearBaseImage();
    const QImage image = controller->renderToImage(UGLDrawingOutputTypeScreen);
    ASSERT_FALSE(image.isNull());
    for (const auto& [edgeFrom, edgeTo] : interiorEdges) {
        const QPoint from = pixelOf(edgeFrom);
        const QPoint to = pixelOf(edgeTo);
        ASSERT_GT((to - from).manhattanLength(), 20);
        // A one-pixel edge may lie on a pixel border: one of the pixels around each point shows it.
        int faceLikePixels = 0;
        for (int sample = 0; sample <= edgeSampleCount; ++sample) {
            const QPoint at = from + (to - from) * sample / edgeSampleCount;
            int darkest = 3 * 255;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    const QColor color = image.pixelColor(at + QPoint(dx, dy));
                    darkest = std::min(darkest, color.red() + color.green() + color.blue());
                }
            if (darkest > darkestFaceChannelSum)
                ++faceLikePixels;
        }
        EXPECT_EQ(faceLikePixels, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Tilts, GraphicViewEdgesOverFacesTest,
    ::testing::Values(std::pair { 90.0, 0.0 }, std::pair { 30.0, 0.0 }, std::pair { 15.0, 30.0 },
        std::pair { 45.0, 60.0 }, std::pair { 8.0, 20.0 }));
