#include "FakeRendererSource.h"
#include "GraphicsTestSupport.h"

#include "graphics/opengl/UGLEGLGraphicProcessorInfoSource.h"
#include "graphics/opengl/UGLGraphicProcessorInfoManager.h"
#include "graphics/opengl/UGLOpenGLVersion.h"
#include "graphics/opengl/UOpenGLManager.h"

#include "RunJobsWithDeadline.h"

#include <gtest/gtest.h>

namespace {

const QString programError = QStringLiteral("Program Error.");

// Two hardware renderers and the software renderer last: the first GPU renders into pixel
// buffers only, the second has nothing for off-screen rendering.
std::vector<UOpenGLGraphicProcessorInfoRecord> threeRenderers()
{
    return { fakeRenderer("GPU A", 2010, false, true), fakeRenderer("GPU B", 1020, false, false),
        fakeRenderer("Software", 4050, true, true) };
}

std::unique_ptr<UGLGraphicProcessorInfoManager> catalogueOf(
    std::vector<UOpenGLGraphicProcessorInfoRecord> records)
{
    auto catalogue = std::make_unique<UGLGraphicProcessorInfoManager>(
        std::make_shared<FakeRendererSource>(std::move(records)));
    UErrorPtr error;
    EXPECT_TRUE(catalogue->update(&error));
    return catalogue;
}

struct Choice {
    quint64 screen;
    UGLOpenGLVersion version;
    quint64 type;
};

bool check(Choice* choice, bool isCheckOnly, const UGLGraphicProcessorInfoManager& catalogue,
    UErrorPtr* error)
{
    return UOpenGLManager::checkAndUpdateVirtualScreenIdentifier(
        &choice->screen, &choice->version, &choice->type, isCheckOnly, catalogue, error);
}

} // namespace

TEST(RendererVersion, NumbersSplitFormatAndStandardise)
{
    EXPECT_EQ(UGLStandardizedRenderingOpenGLVersion(1030), 1010u);
    EXPECT_EQ(UGLStandardizedRenderingOpenGLVersion(1040), 1040u);
    EXPECT_EQ(UGLStandardizedRenderingOpenGLVersion(4010), 1040u);
    EXPECT_TRUE(UGLIsValidRenderingOpenGLVersion(1010));
    EXPECT_FALSE(UGLIsValidRenderingOpenGLVersion(1020));
    EXPECT_EQ(UGLMakeOpenGLVersion(10, 10), 10100u);
    EXPECT_EQ(UGLOpenGLVersionString(1040), QStringLiteral("OpenGL 1.4"));
    quint64 major = 0, minor = 0;
    UGLSplitOpenGLVersion(4050, &major, &minor);
    EXPECT_EQ(major, 4u);
    EXPECT_EQ(minor, 5u);
    EXPECT_EQ(raisedException([] { UGLOpenGLVersionString(1045); }),
        std::make_pair(programError, QStringLiteral("OpenGL Version Number seems incorrect.")));
    EXPECT_EQ(raisedException([] { UGLMakeOpenGLVersion(11, 0); }).second,
        QStringLiteral("OpenGL Version Number seems too big."));
    EXPECT_EQ(raisedException([] { UGLSplitOpenGLVersion(1110, nullptr, nullptr); }).second,
        QStringLiteral("OpenGL Version Number seems too big."));
}

TEST(RendererVersion, VersionTextsParse)
{
    EXPECT_EQ(UGLOpenGLVersionWithVersionString(QStringLiteral("2.1 NVIDIA-1.6")), 2010u);
    EXPECT_EQ(UGLOpenGLVersionWithVersionString(QStringLiteral("1.4")), 1040u);
    EXPECT_EQ(UGLOpenGLVersionWithVersionString(
                  QStringLiteral("4.5 (Compatibility Profile) Mesa 22.3.6")),
        4050u);
    EXPECT_EQ(UGLOpenGLVersionWithVersionString(QStringLiteral("3")), 3000u);
    EXPECT_EQ(UGLOpenGLVersionWithVersionString(QStringLiteral("OpenGL ES 3.2")), 0u);
    EXPECT_EQ(raisedException([] { UGLOpenGLVersionWithVersionString(QStringLiteral("1.21")); }),
        std::make_pair(programError, QStringLiteral("OpenGL Version Number seems too big.")));
    // Driver texts never raise, however long their digit runs.
    EXPECT_EQ(UGLOpenGLVersionWithDriverVersionString(QStringLiteral("1.21")), 0u);
    EXPECT_EQ(
        UGLOpenGLVersionWithDriverVersionString(QStringLiteral("99999999999999999999999999.5")),
        0u);
    EXPECT_EQ(UGLOpenGLVersionWithDriverVersionString(QString()), 0u);
    EXPECT_EQ(UGLOpenGLVersionWithDriverVersionString(QStringLiteral("4.6.0 NVIDIA 535.1")), 4060u);
}

TEST(RendererCatalogue, FakeCatalogueOrderLookupsAndDuplicates)
{
    std::vector<UOpenGLGraphicProcessorInfoRecord> records = threeRenderers();
    records.push_back(fakeRenderer("GPU A", 3000, true, false));
    const auto catalogueOwner = catalogueOf(records);
    const UGLGraphicProcessorInfoManager& catalogue = *catalogueOwner;
    EXPECT_EQ(catalogue.virtualScreenCount(), 4u);
    EXPECT_EQ(catalogue.defaultRendererVirtualScreenIdentifier(), 0u);
    EXPECT_EQ(catalogue.softwareRendererVirtualScreenIdentifier(), 3u);
    // The array keeps both GPUs named "GPU A", the name finds the later one.
    UErrorPtr error;
    EXPECT_EQ(
        catalogue.virtualScreenIdentifierWithRendererString(QStringLiteral("GPU A"), &error), 3u);
    EXPECT_EQ(catalogue.graphicProcessorInfoArray().at(0).openGLVersion, 2010u);
    EXPECT_EQ(catalogue.virtualScreenIdentifierWithRendererString(QStringLiteral("GPU C"), &error),
        ~quint64(0));
    EXPECT_EQ(
        error->localizedDescription(), unexpectedErrorText("The OpenGL Renderer is not found."));
    UOpenGLGraphicProcessorInfoRecord record;
    EXPECT_FALSE(catalogue.getGraphicProcessorInfo(4, &record, &error));
    EXPECT_EQ(error->localizedDescription(),
        unexpectedErrorText("VirtualScreenIdentifier is over virtualScreenCount."));
    EXPECT_TRUE(catalogue.getGraphicProcessorInfo(1, &record, &error));
    EXPECT_EQ(record.rendererString, QStringLiteral("GPU B"));
    EXPECT_EQ(record.virtualScreenIdentifier, 1u);
}

TEST(RendererCatalogue, FailedOrEmptyCatalogueHasNoDefaultRenderer)
{
    UGLGraphicProcessorInfoManager failing(
        std::make_shared<FakeRendererSource>(threeRenderers(), 1));
    UErrorPtr error;
    EXPECT_FALSE(failing.update(&error));
    EXPECT_EQ(error->localizedDescription(), unexpectedErrorText("driver gone"));
    EXPECT_EQ(failing.lastUpdateError(), error);
    EXPECT_EQ(failing.virtualScreenCount(), 0u);
    EXPECT_EQ(failing.defaultRendererVirtualScreenIdentifier(), ~quint64(0));
    EXPECT_EQ(failing.softwareRendererVirtualScreenIdentifier(), ~quint64(0));
    // A renderer check then ends in an error, not a crash or a loop.
    Choice choice { 0, 0, 1 };
    EXPECT_FALSE(check(&choice, false, failing, &error));
    EXPECT_EQ(error->localizedDescription(),
        QStringLiteral("Error occurred on Software Renderer, still."));

    const auto nothingOffscreenCatalogue = catalogueOf({ fakeRenderer("Old", 1010, false, false) });
    const UGLGraphicProcessorInfoManager& nothingOffscreen = *nothingOffscreenCatalogue;
    EXPECT_EQ(nothingOffscreen.defaultRendererVirtualScreenIdentifier(), ~quint64(0));
}

TEST(RendererCatalogue, ThisMachineListsTheSoftwareRendererLast)
{
    UGLGraphicProcessorInfoManager catalogue(std::make_shared<UGLEGLGraphicProcessorInfoSource>());
    UErrorPtr error;
    ASSERT_TRUE(catalogue.update(&error)) << error->localizedDescription().toStdString();
    ASSERT_GE(catalogue.virtualScreenCount(), 1u);
    const std::vector<UOpenGLGraphicProcessorInfoRecord> records
        = catalogue.graphicProcessorInfoArray();
    const UOpenGLGraphicProcessorInfoRecord& software = records.back();
    EXPECT_EQ(
        software.virtualScreenIdentifier, catalogue.softwareRendererVirtualScreenIdentifier());
    EXPECT_FALSE(software.rendererString.isEmpty());
    EXPECT_TRUE(software.isFrameBufferObjectSupported);
    EXPECT_TRUE(software.isPixelBufferSupported);
    EXPECT_GE(software.openGLVersion, 1040u);
    EXPECT_TRUE(
        software.versionString.startsWith(UGLOpenGLVersionString(software.openGLVersion).mid(7)));
    EXPECT_NE(catalogue.defaultRendererVirtualScreenIdentifier(), ~quint64(0));
    const quint64 found
        = catalogue.virtualScreenIdentifierWithRendererString(software.rendererString, &error);
    ASSERT_LT(found, records.size());
    EXPECT_EQ(records[found].rendererString, software.rendererString);
}

TEST(RendererCheck, CheckOnlyRefusesWithTheRendererText)
{
    const auto catalogueOwner = catalogueOf(threeRenderers());
    const UGLGraphicProcessorInfoManager& catalogue = *catalogueOwner;
    UErrorPtr error;
    Choice overCount { 3, 1040, 1 };
    EXPECT_FALSE(check(&overCount, true, catalogue, &error));
    EXPECT_EQ(error->localizedDescription(),
        QStringLiteral("Unexpected GPU identifier ( 3 ). ( GPU identifier is over GPU count. )"));
    EXPECT_EQ(error->localizedRecoverySuggestion(),
        QStringLiteral("Update GPU Info or Restart this application."));
    EXPECT_EQ(overCount.screen, 3u);

    Choice noVersion { 0, 0, 2 };
    EXPECT_FALSE(check(&noVersion, true, catalogue, &error));
    EXPECT_EQ(error->localizedDescription(),
        QStringLiteral("Valid RenderingOpenGLVersion is not specified."));

    Choice fboOnPixelBufferGpu { 0, 1040, 1 };
    EXPECT_FALSE(check(&fboOnPixelBufferGpu, true, catalogue, &error));
    EXPECT_EQ(error->localizedDescription(),
        QStringLiteral("FBO-Rendering specified to GPU 'GPU A' which doesn't support FBO."));

    Choice pixelBufferOnOldGpu { 1, 1010, 2 };
    EXPECT_FALSE(check(&pixelBufferOnOldGpu, true, catalogue, &error));
    EXPECT_EQ(error->localizedDescription(),
        QStringLiteral(
            "PixelBuffer-Rendering specified to GPU 'GPU B' which doesn't support PixelBuffer."));

    Choice fine { 2, 1010, 2 };
    EXPECT_TRUE(check(&fine, true, catalogue, &error));
    EXPECT_EQ(fine.screen, 2u);
    EXPECT_EQ(fine.version, 1010u);
    EXPECT_EQ(fine.type, 2u);
}

TEST(RendererCheck, CorrectionsAndFallBackOrder)
{
    const auto catalogueOwner = catalogueOf(threeRenderers());
    const UGLGraphicProcessorInfoManager& catalogue = *catalogueOwner;
    UErrorPtr error;
    // GPU A renders into pixel buffers only: type 1 becomes 2, version 2.1 becomes 1040.
    Choice onA { 0, 0, 1 };
    EXPECT_TRUE(check(&onA, false, catalogue, &error));
    EXPECT_EQ(onA.screen, 0u);
    EXPECT_EQ(onA.version, 1040u);
    EXPECT_EQ(onA.type, 2u);

    // GPU B (OpenGL 1.2) has neither: the default renderer, GPU A, takes over with type 1
    // corrected.
    Choice onB { 1, 0, 1 };
    EXPECT_TRUE(check(&onB, false, catalogue, &error));
    EXPECT_EQ(onB.screen, 0u);
    EXPECT_EQ(onB.version, 1040u);
    EXPECT_EQ(onB.type, 2u);

    // An index equal to the count falls back to the default renderer too.
    Choice overCount { 3, 1010, 1 };
    EXPECT_TRUE(check(&overCount, false, catalogue, &error));
    EXPECT_EQ(overCount.screen, 0u);

    // When only the software renderer renders off-screen, it is the default that takes over.
    const auto noDefaultCatalogue = catalogueOf({ fakeRenderer("GPU B", 1020, false, false),
        fakeRenderer("GPU C", 1020, false, false), fakeRenderer("Software", 1020, true, false) });
    const UGLGraphicProcessorInfoManager& noDefault = *noDefaultCatalogue;
    EXPECT_EQ(noDefault.defaultRendererVirtualScreenIdentifier(), 2u);
    Choice onOld { 0, 0, 2 };
    EXPECT_TRUE(check(&onOld, false, noDefault, &error));
    EXPECT_EQ(onOld.screen, 2u);
    EXPECT_EQ(onOld.version, 1010u);
    EXPECT_EQ(onOld.type, 1u);

    // Nothing usable anywhere ends with one error, without looping.
    const auto nothingCatalogue = catalogueOf({ fakeRenderer("GPU B", 1020, false, false),
        fakeRenderer("Software", 1020, false, false) });
    const UGLGraphicProcessorInfoManager& nothing = *nothingCatalogue;
    Choice hopeless { 0, 1010, 1 };
    EXPECT_FALSE(check(&hopeless, false, nothing, &error));
    EXPECT_EQ(error->localizedDescription(),
        QStringLiteral("Error occurred on Software Renderer, still."));
    EXPECT_EQ(error->localizedRecoverySuggestion(), QStringLiteral("Unexpected Error."));
    EXPECT_EQ(hopeless.screen, 0u);
}

TEST(RendererCheck, VersionZeroBecomesTheStandardisedRendererVersion)
{
    const auto catalogueOwner = catalogueOf(
        { fakeRenderer("Old", 1020, true, false), fakeRenderer("New", 2010, true, false) });
    const UGLGraphicProcessorInfoManager& catalogue = *catalogueOwner;
    UErrorPtr error;
    Choice old { 0, 0, 1 };
    EXPECT_TRUE(check(&old, false, catalogue, &error));
    EXPECT_EQ(old.version, 1010u);
    Choice newer { 1, 0, 1 };
    EXPECT_TRUE(check(&newer, false, catalogue, &error));
    EXPECT_EQ(newer.version, 1040u);
}

TEST(RendererCatalogueThreads, LookupsWhileTheCatalogueIsRebuilt)
{
    UGLGraphicProcessorInfoManager catalogue(
        std::make_shared<FakeRendererSource>(threeRenderers()));
    UErrorPtr error;
    ASSERT_TRUE(catalogue.update(&error));
    std::atomic<bool> stop { false };
    std::vector<std::function<void()>> jobs;
    jobs.push_back([&] {
        UErrorPtr updateError;
        for (int round = 0; round < 200; ++round)
            EXPECT_TRUE(catalogue.update(&updateError));
        stop = true;
    });
    for (int reader = 0; reader < 2; ++reader) {
        jobs.push_back([&] {
            while (!stop) {
                // A rebuild is atomic to readers: they see the old or the new catalogue, whole.
                UErrorPtr lookupError;
                UOpenGLGraphicProcessorInfoRecord record;
                EXPECT_TRUE(catalogue.getGraphicProcessorInfoWithRendererString(
                    QStringLiteral("GPU B"), &record, &lookupError));
                EXPECT_EQ(record.openGLVersion, 1020u);
                Choice choice { 1, 0, 1 };
                EXPECT_TRUE(check(&choice, false, catalogue, &lookupError));
                EXPECT_EQ(choice.screen, 0u);
            }
        });
    }
    runJobsWithDeadline(jobs);
}
