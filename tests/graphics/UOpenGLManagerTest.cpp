#include "GraphicsTestSupport.h"
#include "OpenGLDrivers.h"
#include "OpenGLTestSupport.h"
#include "ProcessThreads.h"
#include "RunJobsWithDeadline.h"

#include "graphics/opengl/UGLEGLDisplays.h"
#include "graphics/opengl/UGLGraphicProcessorInfoManager.h"
#include "graphics/opengl/UOpenGLImageFunctions.h"
#include "graphics/opengl/UOpenGLManager.h"
#include "graphics/opengl/UOpenGLQuadricError.h"

#include <QImage>

#include <EGL/egl.h>

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

constexpr int imageWidth = 64;
constexpr int imageHeight = 48;

// A lit quad facing the eye over x in [-24, -8], y in [8, 20] of a 64 x 48 image, in `red`.
// `place` may then move the model or restrict the image.
std::vector<uchar> renderFrame(
    UOpenGLManager& manager, float red, const std::function<void(UOpenGLManager&)>& place = {})
{
    manager.setSize(QSizeF(imageWidth, imageHeight));
    manager.setEyeLocation(unitEye());
    if (place)
        place(manager);
    EXPECT_TRUE(manager.makeCurrentContext());
    manager.updateOpenGL();
    UOpenGLSetClearColor(_UGLColor { 0.0, 0.0, 1.0, 1.0 });
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    UOpenGLSetLightingEnabled(true);
    const GLfloat colour[4] = { red, 0.0f, 0.0f, 1.0f };
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE, colour);
    glMatrixMode(GL_MODELVIEW);
    glBegin(GL_QUADS);
    glNormal3f(0, 0, 1);
    glVertex3f(-24, 8, 0);
    glVertex3f(-8, 8, 0);
    glVertex3f(-8, 20, 0);
    glVertex3f(-24, 20, 0);
    glEnd();
    glFinish();
    std::vector<uchar> pixels(manager.getPixelSize(nullptr, nullptr, nullptr));
    manager.getStandardizedPixelSizeRawImage(pixels.data());
    UOpenGLManager::clearCurrentContext();
    return pixels;
}

QRgb pixelAt(const std::vector<uchar>& pixels, quint64 rowWidth, int x, int yFromTop)
{
    const uchar* p = pixels.data() + (quint64(yFromTop) * rowWidth + quint64(x)) * 4;
    return qRgba(p[0], p[1], p[2], p[3]);
}

// Model ambient 0.5 plus light diffuse 0.5 x cos of the angle to the light (1, 1, 1).
int expectedLitChannel(double materialChannel)
{
    const double lit = 0.5 * materialChannel + 0.5 * materialChannel / std::sqrt(3.0);
    return int(std::lround(std::min(lit, 1.0) * 255.0));
}

void expectChannelNear(int actual, int expected)
{
    EXPECT_LE(std::abs(actual - expected), 1) << actual << " vs " << expected;
}

} // namespace

TEST(OpenGLManagerGeometry, PixelSizeRowWidthAndUpdateMarks)
{
    auto manager = softwareManager(UGLOfflineRenderingTypeFrameBufferObject);
    ASSERT_TRUE(manager);
    EXPECT_EQ(manager->imageResolutionPer72(), 1.0);
    EXPECT_EQ(manager->imageQuality(), 3u);
    manager->setSize(QSizeF(100.4, 50.5));
    quint64 width = 0, height = 0, rowWidth = 0;
    EXPECT_EQ(manager->getPixelSize(&width, &height, &rowWidth), 22848u);
    EXPECT_EQ(width, 100u);
    EXPECT_EQ(height, 51u);
    EXPECT_EQ(rowWidth, 112u);

    ASSERT_TRUE(manager->makeCurrentContext());
    EXPECT_TRUE(manager->isCurrentContext());
    manager->updateOpenGL();
    EXPECT_FALSE(manager->needsUpdateOGLModelView() || manager->needsUpdateOGLProjection()
        || manager->needsUpdateOGLViewport());
    EXPECT_TRUE(manager->hasRenderTarget());
    manager->setObjectLocation(UOpenGLObjectLocation());
    EXPECT_TRUE(manager->needsUpdateOGLModelView());
    EXPECT_FALSE(manager->needsUpdateOGLProjection() || manager->needsUpdateOGLViewport());
    manager->setImageResolutionPer72(2.0);
    EXPECT_TRUE(manager->needsUpdateOGLViewport());
    EXPECT_FALSE(manager->needsUpdateOGLProjection());
    EXPECT_FALSE(manager->hasRenderTarget());
    manager->updateOpenGL();
    EXPECT_TRUE(manager->hasRenderTarget());
    EXPECT_EQ(manager->imagePixelSize(), QSizeF(201, 101));

    manager->setRestrictiveDrawRect(QRectF(10, 10, 30.2, 20));
    EXPECT_EQ(manager->imageSize(), QSizeF(30.2, 20));
    EXPECT_EQ(manager->imagePixelSize(), QSizeF(60, 40));
    EXPECT_TRUE(manager->needsUpdateOGLProjection());
    manager->clearRestrictiveDrawRect();
    EXPECT_EQ(manager->restrictiveDrawRect(), QRectF());
    EXPECT_EQ(manager->imageSize(), QSizeF(100.4, 50.5));
    EXPECT_EQ(manager->imagePixelSize(), QSizeF(201, 101));
    UOpenGLManager::clearCurrentContext();
    EXPECT_FALSE(manager->isCurrentContext());
}

TEST(OpenGLManagerRender, ClearColourAndLitQuadReadBack)
{
    for (const quint64 type :
        { UGLOfflineRenderingTypeFrameBufferObject, UGLOfflineRenderingTypePixelBuffer }) {
        SCOPED_TRACE(type);
        auto manager = softwareManager(type);
        ASSERT_TRUE(manager);
        EXPECT_EQ(manager->offlineRenderingType(), type);
        const std::vector<uchar> pixels = renderFrame(*manager, 1.0f);
        quint64 rowWidth = 0;
        manager->getPixelSize(nullptr, nullptr, &rowWidth);
        ASSERT_EQ(rowWidth, 64u);
        // Quad x + 32 in [8, 24], 24 - y in [4, 16], top row first.
        const QRgb quad = pixelAt(pixels, rowWidth, 16, 10);
        expectChannelNear(qRed(quad), expectedLitChannel(1.0));
        EXPECT_EQ(qGreen(quad), 0);
        EXPECT_EQ(qBlue(quad), 0);
        EXPECT_EQ(qAlpha(quad), 255);
        EXPECT_EQ(pixelAt(pixels, rowWidth, 48, 38), qRgba(0, 0, 255, 255));
        EXPECT_EQ(pixelAt(pixels, rowWidth, 16, 30), qRgba(0, 0, 255, 255));
    }
}

TEST(OpenGLManagerRender, BothRenderTargetsGiveTheSameImage)
{
    auto frameBufferObject = softwareManager(UGLOfflineRenderingTypeFrameBufferObject);
    auto pixelBuffer = softwareManager(UGLOfflineRenderingTypePixelBuffer);
    ASSERT_TRUE(frameBufferObject && pixelBuffer);
    const std::vector<uchar> first = renderFrame(*frameBufferObject, 0.6f);
    EXPECT_EQ(first, renderFrame(*pixelBuffer, 0.6f));
    // The same frame again after a resize and back exercises the remade targets.
    frameBufferObject->setSize(QSizeF(10, 10));
    pixelBuffer->setSize(QSizeF(10, 10));
    ASSERT_TRUE(pixelBuffer->makeCurrentContext());
    pixelBuffer->updateOpenGL();
    UOpenGLManager::clearCurrentContext();
    EXPECT_EQ(first, renderFrame(*pixelBuffer, 0.6f));
    EXPECT_EQ(first, renderFrame(*frameBufferObject, 0.6f));

    const QImage image(
        first.data(), imageWidth, imageHeight, imageWidth * 4, QImage::Format_RGBA8888);
    image.save(QStringLiteral("/tmp/vantrel_opengl_frame.png"));
}

TEST(OpenGLManagerRender, ObjectLocationAndRestrictionPlaceTheQuad)
{
    auto manager = softwareManager(UGLOfflineRenderingTypeFrameBufferObject);
    ASSERT_TRUE(manager);
    const QRgb clear = qRgba(0, 0, 255, 255);
    // Moved by (16, -16): the quad spans x in [-8, 8], y in [-8, 4], pixels 24..40 and rows 20..32.
    const std::vector<uchar> moved = renderFrame(*manager, 1.0f, [](UOpenGLManager& m) {
        UOpenGLObjectLocation location;
        const double move[3] = { 16, -16, 0 };
        location.translateWithVector(move);
        m.setObjectLocation(location);
    });
    EXPECT_NE(pixelAt(moved, 64, 32, 26), clear);
    EXPECT_EQ(pixelAt(moved, 64, 16, 10), clear);
    EXPECT_EQ(pixelAt(moved, 64, 42, 26), clear);

    // Restricted to the quad's own rectangle (y up from the image's bottom), the whole image is
    // quad.
    const std::vector<uchar> restricted = renderFrame(*manager, 1.0f, [](UOpenGLManager& m) {
        m.setObjectLocation(UOpenGLObjectLocation());
        m.setRestrictiveDrawRect(QRectF(8, 32, 16, 12));
    });
    quint64 width = 0, height = 0, rowWidth = 0;
    manager->getPixelSize(&width, &height, &rowWidth);
    ASSERT_EQ(width, 16u);
    ASSERT_EQ(height, 12u);
    const QRgb quad = pixelAt(restricted, rowWidth, 0, 0);
    expectChannelNear(qRed(quad), expectedLitChannel(1.0));
    for (quint64 y = 0; y < height; ++y) {
        for (quint64 x = 0; x < width; ++x)
            ASSERT_EQ(pixelAt(restricted, rowWidth, int(x), int(y)), quad) << x << ", " << y;
    }
}

TEST(OpenGLManagerRender, ZeroSizeSkipsAndOversizeRaises)
{
    auto manager = softwareManager(UGLOfflineRenderingTypeFrameBufferObject);
    ASSERT_TRUE(manager);
    ASSERT_TRUE(manager->makeCurrentContext());
    manager->setSize(QSizeF(0, 0));
    manager->updateOpenGL();
    EXPECT_FALSE(manager->hasRenderTarget());
    EXPECT_EQ(manager->getPixelSize(nullptr, nullptr, nullptr), 0u);
    manager->getStandardizedPixelSizeRawImage(nullptr);

    GLint largest = 0;
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &largest);
    manager->setSize(QSizeF(double(largest) + 1, 1));
    const auto [name, reason] = raisedException([&] { manager->updateOpenGL(); });
    EXPECT_EQ(name, QStringLiteral("UOpenGLException"));
    EXPECT_TRUE(reason.startsWith(QStringLiteral("The image of "))) << reason.toStdString();
    EXPECT_FALSE(manager->hasRenderTarget());
    UOpenGLManager::clearCurrentContext();
}

TEST(OpenGLManagerRender, FailedContextCreationGivesTheError)
{
    UErrorPtr error;
    // Forced to a renderer that does not exist: the check is skipped and the display fails.
    EXPECT_FALSE(
        UOpenGLManager::create(1000, 1040, UGLOfflineRenderingTypeFrameBufferObject, true, &error));
    ASSERT_TRUE(error);
    EXPECT_TRUE(error->localizedDescription().contains(QStringLiteral("renderer 1000")));
    EXPECT_FALSE(UOpenGLManager::create(0, 1040, 7, true, &error));
    EXPECT_EQ(
        error->localizedDescription(), unexpectedErrorText("Creating OpenGLPixelFormat failed."));
    EXPECT_EQ(eglGetCurrentContext(), EGL_NO_CONTEXT);
    // Checked, the same request falls back to a renderer that works.
    auto corrected
        = UOpenGLManager::create(1000, 0, UGLOfflineRenderingTypeFrameBufferObject, false, &error);
    ASSERT_TRUE(corrected);
    EXPECT_EQ(corrected->virtualScreenIdentifier(),
        UGLGraphicProcessorInfoManager::sharedGraphicProcessorInfoManager()
            .defaultRendererVirtualScreenIdentifier());
    EXPECT_EQ(corrected->renderingOpenGLVersion(), 1040u);
    UOpenGLGraphicProcessorInfoRecord record;
    quint64 type = 0;
    ASSERT_TRUE(corrected->getGraphicProcessorInfo(&record, &type, &error));
    EXPECT_EQ(type, UGLOfflineRenderingTypeFrameBufferObject);
    EXPECT_FALSE(record.rendererString.isEmpty());
}

// Not in the ThreadSanitizer run: Mesa's driver is not instrumented, and TSan reports its own
// internal locking (mutexes made, taken and destroyed inside swrast_dri.so) as races.
// Terminating the displays ends the threads the driver started for them (none left when the call
// returns), and the next context opens its display again and renders.
TEST(OpenGLManagerRender, TerminatedDisplaysEndTheDriverThreadsAndOpenAgain)
{
    keepOpenGLDriversLoaded();
    UGLEGLDisplays::terminateDisplays();
    const quint64 threadsWithoutDisplay = processThreadCount();
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        {
            auto manager = softwareManager();
            ASSERT_TRUE(manager);
            const std::vector<uchar> pixels = renderFrame(*manager, 1.0f);
            EXPECT_EQ(pixelAt(pixels, imageWidth, 48, 38), qRgba(0, 0, 255, 255));
        }
        keepOpenGLDriversLoaded();
        UGLEGLDisplays::terminateDisplays();
        EXPECT_LE(processThreadCountAfterExits(threadsWithoutDisplay), threadsWithoutDisplay);
    }
}

TEST(OpenGLManagerConcurrency, TwoManagersRenderAtOnceOnTwoWorkers)
{
    // Built first on this thread, as the shell does at start-up.
    UGLGraphicProcessorInfoManager::sharedGraphicProcessorInfoManager();
    std::vector<std::vector<uchar>> reference(2);
    const float reds[2] = { 1.0f, 0.4f };
    for (int i = 0; i < 2; ++i)
        reference[std::size_t(i)] = renderFrame(*softwareManager(quint64(i + 1)), reds[i]);
    std::vector<std::function<void()>> jobs;
    for (int i = 0; i < 2; ++i) {
        jobs.push_back([&, i] {
            auto manager = softwareManager(quint64(i + 1));
            ASSERT_TRUE(manager);
            for (int frame = 0; frame < 20; ++frame)
                EXPECT_EQ(renderFrame(*manager, reds[i]), reference[std::size_t(i)]);
        });
    }
    runJobsWithDeadline(jobs);
}

TEST(OpenGLManagerConcurrency, MadeOnOneThreadRenderedOnAnother)
{
    auto manager = softwareManager(UGLOfflineRenderingTypePixelBuffer);
    ASSERT_TRUE(manager);
    const std::vector<uchar> reference = renderFrame(*manager, 0.8f);
    bool currentThere = false;
    bool releasedThere = false;
    std::vector<uchar> frame;
    runJobsWithDeadline({ [&] {
        frame = renderFrame(*manager, 0.8f);
        ASSERT_TRUE(manager->makeCurrentContext());
        currentThere = manager->isCurrentContext();
        UOpenGLManager::clearCurrentContext();
        releasedThere = !manager->isCurrentContext();
    } });
    EXPECT_TRUE(currentThere);
    EXPECT_TRUE(releasedThere);
    EXPECT_EQ(frame, reference);
    // Released there, so this thread may make it current again.
    EXPECT_TRUE(manager->makeCurrentContext());
    UOpenGLManager::clearCurrentContext();
}

TEST(OpenGLManagerImage, StandardisingFlipsRowsAndSwapsRedAndBlue)
{
    // Three rows of one pixel, blue-green-red-alpha, bottom row first.
    std::vector<uchar> pixels = { 1, 2, 3, 4, 11, 12, 13, 14, 21, 22, 23, 24 };
    UOpenGLStandardizeRawImageRows(pixels.data(), 1, 3);
    EXPECT_EQ(pixels, (std::vector<uchar> { 23, 22, 21, 24, 13, 12, 11, 14, 3, 2, 1, 4 }));

    std::vector<uchar> destination = { 200, 100, 0, 255 };
    const std::vector<uchar> source = { 0, 0, 255, 255 };
    UOpenGLCopyRawImageRows(
        destination.data(), source.data(), UOpenGLCopyRawImageRowsModeBlend, 1, 1, 0.5);
    // d (1 - a) + s a + 0.5 with a = 0.5.
    EXPECT_EQ(destination, (std::vector<uchar> { 100, 50, 128, 255 }));
    UOpenGLCopyRawImageRows(
        destination.data(), source.data(), UOpenGLCopyRawImageRowsModeCopy, 1, 1, 0.0);
    EXPECT_EQ(destination, source);

    QImage target(2, 1, QImage::Format_ARGB32);
    target.fill(Qt::black);
    const std::vector<uchar> rgba = { 255, 0, 0, 255, 0, 0, 0, 0 };
    QImage cache;
    {
        QPainter painter(&target);
        UOpenGLMakeImageFromRawImageData(
            painter, rgba.data(), QPainter::CompositionMode_SourceOver, 2, 1, 16, &cache, 1.0);
    }
    EXPECT_EQ(target.pixel(0, 0), qRgba(255, 0, 0, 255));
    EXPECT_EQ(target.pixel(1, 0), qRgba(0, 0, 0, 255));
    EXPECT_EQ(cache.size(), QSize(2, 1));
}

TEST(OpenGLManagerRender, QuadricErrorIsRaisedAfterTheGluCall)
{
    auto manager = softwareManager(UGLOfflineRenderingTypeFrameBufferObject);
    ASSERT_TRUE(manager);
    ASSERT_NE(manager->quadricObj(), nullptr);
    ASSERT_TRUE(manager->makeCurrentContext());
    // GLU reports an unknown draw style through the callback, which must return normally.
    gluQuadricDrawStyle(manager->quadricObj(), GL_RGBA);
    const auto [name, reason] = raisedException([] { UOpenGLRaiseRecordedQuadricError(); });
    EXPECT_EQ(name, QStringLiteral("UOpenGLException"));
    EXPECT_EQ(reason,
        QStringLiteral("An error occurred while gluQuadricFunction or ...(?). (ErrCode:%1)")
            .arg(GLU_INVALID_ENUM));
    // Raised once: the record is cleared.
    UOpenGLRaiseRecordedQuadricError();
    UOpenGLManager::clearCurrentContext();
}
