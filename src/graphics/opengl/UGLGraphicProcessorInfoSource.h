#pragma once

#include "foundation/errors/UError.h"
#include "graphics/opengl/UOpenGLGraphicProcessorInfoRecord.h"

// Where the renderer catalogue learns which renderers exist: the EGL devices of this machine, or
// a stand-in in tests.
class UGLGraphicProcessorInfoSource {
public:
    virtual ~UGLGraphicProcessorInfoSource() = default;

    // 0 with the error when the renderers cannot be counted.
    virtual quint64 virtualScreenCount(UErrorPtr* error) = 0;
    [[nodiscard]] virtual bool getGraphicProcessorInfo(quint64 virtualScreenIdentifier,
        UOpenGLGraphicProcessorInfoRecord* record, UErrorPtr* error)
        = 0;
};
