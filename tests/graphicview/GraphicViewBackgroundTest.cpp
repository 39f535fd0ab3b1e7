#include "GraphicViewTestSupport.h"

#include "graphicview/UGLScreenFacingArrowOutline.h"

#include <vector>

namespace {

class GraphicViewBackgroundTest : public GraphicViewFixture {
protected:
    QImage background(int width, int height)
    {
        QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
        controller->drawBackgroundImage(image, std::nullopt);
        return image;
    }
    std::vector<quint32> rawBackground(int width, int height, int rowWidth)
    {
        std::vector<quint32> pixels(size_t(rowWidth) * size_t(height), 0);
        controller->writeBackgroundImageToRawImageData(
            pixels.data(), quint64(width), quint64(height), quint64(rowWidth), std::nullopt);
        return pixels;
    }
};

QColor rawColor(const std::vector<quint32>& pixels, int rowWidth, int x, int y)
{
    const auto* bytes
        = reinterpret_cast<const uchar*>(&pixels[size_t(y) * size_t(rowWidth) + size_t(x)]);
    return QColor(bytes[0], bytes[1], bytes[2], bytes[3]);
}

} // namespace

TEST_F(GraphicViewBackgroundTest, OpaqueColourFillsTheImage)
{
    const QImage image = background(300, 200);
    EXPECT_EQ(image.pixelColor(0, 0), QColor(153, 191, 191));
    EXPECT_EQ(image.pixelColor(299, 199), QColor(153, 191, 191));
    const std::vector<quint32> raw = rawBackground(300, 200, 304);
    EXPECT_EQ(rawColor(raw, 304, 150, 100), QColor(153, 191, 191));
    // A frame without layers is that background with the triad over it.
    const QImage frame = view->grab().toImage();
    EXPECT_EQ(frame.pixelColor(5, frame.height() - 5), QColor(153, 191, 191));
}

// 300 x 200: 6 x 4 cells of 60 from (-30, -20), counted from the lower left; the lower-left cell
// (row 0, column 0) is light since 0 + 0 + 2 + 3 is odd, its right neighbour dark; the top-right
// cell (row 3, column 5) is light again.
TEST_F(GraphicViewBackgroundTest, SwitchedOffShowsTheCheckerboard)
{
    controller->setScreenImageBackgroundColor({ 0, 0, 0, 0 });
    const QImage image = background(300, 200);
    const std::vector<quint32> raw = rawBackground(300, 200, 304);
    struct Probe {
        int x;
        int yDown;
        int gray;
    };
    for (const Probe& probe : { Probe { 10, 190, 255 }, Probe { 60, 190, 204 },
             Probe { 10, 150, 204 }, Probe { 60, 150, 255 }, Probe { 299, 0, 255 } }) {
        const QColor expected(probe.gray, probe.gray, probe.gray);
        EXPECT_EQ(image.pixelColor(probe.x, probe.yDown), expected)
            << probe.x << "," << probe.yDown;
        EXPECT_EQ(rawColor(raw, 304, probe.x, probe.yDown), expected)
            << probe.x << "," << probe.yDown;
    }
    // A translucent colour lies over the board: 0.6 at alpha 0.5 over white is 0.8, over 0.8
    // it is 0.7.
    controller->setScreenImageBackgroundColor({ 0.6, 0.6, 0.6, 0.5 });
    const QImage over = background(300, 200);
    const std::vector<quint32> rawOver = rawBackground(300, 200, 300);
    EXPECT_NEAR(over.pixelColor(10, 190).red(), 204, 1);
    EXPECT_NEAR(over.pixelColor(60, 190).red(), 179, 1);
    EXPECT_EQ(rawColor(rawOver, 300, 10, 190), QColor(204, 204, 204));
    EXPECT_EQ(rawColor(rawOver, 300, 60, 190), QColor(179, 179, 179));
    // Under 5 pixels the raw board is plain.
    const std::vector<quint32> tiny = rawBackground(4, 40, 4);
    EXPECT_EQ(rawColor(tiny, 4, 1, 1), QColor(204, 204, 204));
}

TEST_F(GraphicViewBackgroundTest, APrintColourFillsWhateverItsAlpha)
{
    QImage image(20, 20, QImage::Format_ARGB32_Premultiplied);
    controller->drawBackgroundImage(image, _UGLColor { 0, 0, 0, 0 });
    EXPECT_EQ(image.pixelColor(10, 10).alpha(), 0);
}

TEST_F(GraphicViewBackgroundTest, AnArrowAlongTheViewAxisHasNoOutline)
{
    const double base[3] = { 0, 0, 0 };
    const double axis[3] = { 0, 0, 1 };
    double outline[21];
    const double towardsViewer[3] = { 0, 0, 5 };
    EXPECT_FALSE(UGLMakeScreenFacingArrowOutline(2, 4, outline, base, towardsViewer, axis));
    const double zero[3] = { 0, 0, 0 };
    EXPECT_FALSE(UGLMakeScreenFacingArrowOutline(2, 4, outline, base, zero, axis));
    const double right[3] = { 10, 0, 0 };
    ASSERT_TRUE(UGLMakeScreenFacingArrowOutline(2, 4, outline, base, right, axis));
    // Side (0, -1, 0): rod 1 either side, neck at 6, head 2 either side, tip at 10.
    const double expected[21]
        = { 0, -1, 0, 6, -1, 0, 6, -2, 0, 10, 0, 0, 6, 2, 0, 6, 1, 0, 0, 1, 0 };
    for (int i = 0; i < 21; ++i)
        EXPECT_DOUBLE_EQ(outline[i], expected[i]) << i;
}

// X right, Z up: the X and Z arrows run 60 points right and up from the origin, in the middle of
// the view; model Y points into the screen and draws no arrow.
TEST_F(GraphicViewBackgroundTest, TheTriadAtTheModelOrigin)
{
    controller->setScreenImageBackgroundColor({ 0, 0, 0, 1 });
    controller->setGlobalCoordColor({ 1, 0, 0, 1 });
    const QImage frame = view->grab().toImage();
    const int cx = frame.width() / 2;
    const int cy = frame.height() / 2;
    auto isArrow = [&](int x, int y) { return frame.pixelColor(x, y).red() > 200; };
    EXPECT_TRUE(isArrow(cx + 30, cy));
    EXPECT_TRUE(isArrow(cx, cy - 30));
    EXPECT_FALSE(isArrow(cx - 30, cy));
    EXPECT_FALSE(isArrow(cx, cy + 30));
    EXPECT_FALSE(isArrow(cx + 30, cy - 30));
    // In the corner the triad stands 84 points from the left and bottom edges.
    controller->setGlobalCoordDrawPosition(2);
    const QImage corner = view->grab().toImage();
    EXPECT_GT(corner.pixelColor(84 + 30, corner.height() - 84).red(), 200);
    EXPECT_EQ(corner.pixelColor(cx + 30, cy).red(), 0);
}
