#pragma once

#include "graphics/opengl/UGLGraphicProcessorInfoSource.h"

class UGLEGLContext;

// The renderers of this machine, read from a context made on each EGL device.
class UGLEGLGraphicProcessorInfoSource : public UGLGraphicProcessorInfoSource {
public:
    quint64 virtualScreenCount(UErrorPtr* error) override;
    [[nodiscard]] bool getGraphicProcessorInfo(quint64 virtualScreenIdentifier,
        UOpenGLGraphicProcessorInfoRecord* record, UErrorPtr* error) override;

    // Makes `context` current, reads its strings and releases it from the thread.
    [[nodiscard]] static bool getGraphicProcessorInfoWithOpenGLContext(UGLEGLContext& context,
        quint64 virtualScreenIdentifier, UOpenGLGraphicProcessorInfoRecord* record,
        UErrorPtr* error);
};
