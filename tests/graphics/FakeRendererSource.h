#pragma once

#include "foundation/errors/UFemErrorsOther.h"
#include "graphics/opengl/UGLGraphicProcessorInfoSource.h"

#include <vector>

// A catalogue source that lists given renderers, or fails at a given one.
class FakeRendererSource : public UGLGraphicProcessorInfoSource {
public:
    explicit FakeRendererSource(
        std::vector<UOpenGLGraphicProcessorInfoRecord> records, quint64 failingScreen = ~quint64(0))
        : records_(std::move(records))
        , failingScreen_(failingScreen)
    {
    }

    quint64 virtualScreenCount(UErrorPtr*) override { return records_.size(); }

    bool getGraphicProcessorInfo(
        quint64 screen, UOpenGLGraphicProcessorInfoRecord* record, UErrorPtr* error) override
    {
        if (screen == failingScreen_) {
            UFemSetError(error, UFemUnexpectedError_withDescription(QStringLiteral("driver gone")));
            return false;
        }
        *record = records_.at(screen);
        return true;
    }

private:
    std::vector<UOpenGLGraphicProcessorInfoRecord> records_;
    quint64 failingScreen_;
};

inline UOpenGLGraphicProcessorInfoRecord fakeRenderer(
    const char* name, quint64 version, bool frameBufferObjects, bool pixelBuffers)
{
    UOpenGLGraphicProcessorInfoRecord record;
    record.rendererString = QString::fromUtf8(name);
    record.venderString = QStringLiteral("Vendor");
    record.openGLVersion = version;
    record.isFrameBufferObjectSupported = frameBufferObjects;
    record.isPixelBufferSupported = pixelBuffers;
    return record;
}
