#pragma once

#include "foundation/errors/UError.h"

#include <EGL/egl.h>

// The renderers ("virtual screens") of this machine as EGL displays: one per EGL device,
// hardware devices first and the software device (EGL_MESA_device_software) last. Without
// device enumeration there is one screen, Mesa's surfaceless platform.
class UGLEGLDisplays {
public:
    // 0 with the error when EGL offers no display.
    static quint64 virtualScreenCount(UErrorPtr* error);
    // The initialised display of screen `virtualScreenIdentifier`, or EGL_NO_DISPLAY with the
    // error. Displays stay initialised while the program runs: a context elsewhere in the process
    // may still use one.
    static EGLDisplay display(quint64 virtualScreenIdentifier, UErrorPtr* error);
    // Terminates every display display() can answer, which ends the driver's threads, and releases
    // the calling thread's EGL state. For the end of a program, once no context is in use; a later
    // display() initialises the display again.
    static void terminateDisplays();
    // The pixel format of an offline rendering type: RGBA 8, depth 24, desktop OpenGL; type 2
    // also needs pbuffers. "Creating OpenGLPixelFormat failed." when there is none.
    [[nodiscard]] static bool chooseConfig(
        EGLDisplay display, quint64 offlineRenderingType, EGLConfig* config, UErrorPtr* error);
    static bool hasDisplayExtension(EGLDisplay display, const char* extension);
};
