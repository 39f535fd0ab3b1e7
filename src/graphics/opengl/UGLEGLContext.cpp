#include "graphics/opengl/UGLEGLContext.h"

#include "foundation/errors/UFemErrorsOther.h"
#include "graphics/opengl/UGLEGLDisplays.h"

#include <EGL/eglext.h>

#include <limits>

namespace {

// Displays without surfaceless contexts still need something to be current on.
constexpr EGLint placeholderSurfaceSize = 1;

EGLSurface makePixelBuffer(EGLDisplay display, EGLConfig config, EGLint width, EGLint height)
{
    const EGLint attributes[] = { EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE };
    return eglCreatePbufferSurface(display, config, attributes);
}

} // namespace

std::unique_ptr<UGLEGLContext> UGLEGLContext::create(
    quint64 virtualScreenIdentifier, quint64 offlineRenderingType, UErrorPtr* error)
{
    const EGLDisplay display = UGLEGLDisplays::display(virtualScreenIdentifier, error);
    if (display == EGL_NO_DISPLAY)
        return nullptr;
    EGLConfig config = nullptr;
    if (!UGLEGLDisplays::chooseConfig(display, offlineRenderingType, &config, error))
        return nullptr;
    const EGLint attributes[] = { EGL_CONTEXT_OPENGL_PROFILE_MASK,
        EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT, EGL_NONE };
    EGLContext context = EGL_NO_CONTEXT;
    if (eglBindAPI(EGL_OPENGL_API))
        context = eglCreateContext(display, config, EGL_NO_CONTEXT, attributes);
    if (context == EGL_NO_CONTEXT) {
        UFemSetError(error,
            UFemUnexpectedError_withDescription(QStringLiteral("Creating OpenGLContext failed.")));
        return nullptr;
    }
    std::unique_ptr<UGLEGLContext> result(new UGLEGLContext(display, config, context));
    if (!UGLEGLDisplays::hasDisplayExtension(display, "EGL_KHR_surfaceless_context")
        && !result->setPixelBufferSize(placeholderSurfaceSize, placeholderSurfaceSize)) {
        UFemSetError(error,
            UFemUnexpectedError_withDescription(QStringLiteral("Creating OpenGLContext failed.")));
        return nullptr;
    }
    if (result->isCurrent())
        clearCurrent();
    return result;
}

UGLEGLContext::UGLEGLContext(EGLDisplay display, EGLConfig config, EGLContext context)
    : display_(display)
    , config_(config)
    , context_(context)
{
}

UGLEGLContext::~UGLEGLContext()
{
    if (isCurrent())
        clearCurrent();
    if (pixelBuffer_ != EGL_NO_SURFACE)
        eglDestroySurface(display_, pixelBuffer_);
    eglDestroyContext(display_, context_);
}

bool UGLEGLContext::makeCurrent()
{
    eglBindAPI(EGL_OPENGL_API);
    return eglMakeCurrent(display_, pixelBuffer_, pixelBuffer_, context_) == EGL_TRUE;
}

void UGLEGLContext::clearCurrent()
{
    eglBindAPI(EGL_OPENGL_API);
    const EGLDisplay display = eglGetCurrentDisplay();
    if (display != EGL_NO_DISPLAY)
        eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
}

bool UGLEGLContext::isCurrent() const
{
    eglBindAPI(EGL_OPENGL_API);
    return eglGetCurrentContext() == context_;
}

bool UGLEGLContext::setPixelBufferSize(quint64 width, quint64 height)
{
    constexpr quint64 largest = quint64(std::numeric_limits<EGLint>::max());
    EGLSurface replacement = EGL_NO_SURFACE;
    if (width > 0 && height > 0 && width <= largest && height <= largest)
        replacement = makePixelBuffer(display_, config_, EGLint(width), EGLint(height));
    const EGLSurface old = pixelBuffer_;
    pixelBuffer_ = replacement;
    const bool current = replacement != EGL_NO_SURFACE && makeCurrent();
    if (old != EGL_NO_SURFACE)
        eglDestroySurface(display_, old);
    return current;
}
