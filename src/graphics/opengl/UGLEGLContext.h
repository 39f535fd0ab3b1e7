#pragma once

#include "foundation/errors/UError.h"

#include <EGL/egl.h>

#include <memory>

// One off-screen desktop-OpenGL compatibility context on a renderer's EGL display, with the
// pbuffer it renders into when it has one. Current on one thread at a time, not necessarily the
// one that made it. EGL keeps the bound API per thread (OpenGL ES until told otherwise), so every
// operation binds desktop OpenGL first.
class UGLEGLContext {
public:
    // "Creating OpenGLContext failed." (or the display's or pixel format's error) on failure.
    [[nodiscard]] static std::unique_ptr<UGLEGLContext> create(
        quint64 virtualScreenIdentifier, quint64 offlineRenderingType, UErrorPtr* error);
    ~UGLEGLContext();
    UGLEGLContext(const UGLEGLContext&) = delete;
    UGLEGLContext& operator=(const UGLEGLContext&) = delete;

    // Binds the context, with its pbuffer when it has one, to the calling thread.
    bool makeCurrent();
    static void clearCurrent();
    bool isCurrent() const;

    // Replaces the pbuffer by one of the new size and makes the context current on it; false when
    // EGL refuses the size, leaving no pbuffer.
    bool setPixelBufferSize(quint64 width, quint64 height);
    bool hasPixelBuffer() const { return pixelBuffer_ != EGL_NO_SURFACE; }
    EGLDisplay display() const { return display_; }
    EGLConfig config() const { return config_; }

private:
    UGLEGLContext(EGLDisplay display, EGLConfig config, EGLContext context);

    EGLDisplay display_;
    EGLConfig config_;
    EGLContext context_;
    EGLSurface pixelBuffer_ = EGL_NO_SURFACE;
};
