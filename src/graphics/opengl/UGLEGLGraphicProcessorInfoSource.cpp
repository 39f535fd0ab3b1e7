#include "graphics/opengl/UGLEGLGraphicProcessorInfoSource.h"

#include "foundation/errors/UFemErrorsOther.h"
#include "graphics/opengl/UGLEGLContext.h"
#include "graphics/opengl/UGLEGLDisplays.h"
#include "graphics/opengl/UGLOpenGLVersion.h"

#include <QStringList>

#include "graphics/opengl/UGLOpenGL.h"

namespace {

constexpr quint64 frameBufferObjectRenderingType = 1;
constexpr quint64 pixelBufferRenderingType = 2;

QString glText(GLenum name)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(glGetString(name)));
}

bool hasExtension(const QString& extensions, QStringView name)
{
    return extensions.split(u' ', Qt::SkipEmptyParts).contains(name);
}

UErrorPtr unknownError()
{
    return UFemUnexpectedError_withDescription(
        QStringLiteral("Unknown Error occurred while getting Renderer Info from view."));
}

} // namespace

quint64 UGLEGLGraphicProcessorInfoSource::virtualScreenCount(UErrorPtr* error)
{
    return UGLEGLDisplays::virtualScreenCount(error);
}

bool UGLEGLGraphicProcessorInfoSource::getGraphicProcessorInfo(
    quint64 virtualScreenIdentifier, UOpenGLGraphicProcessorInfoRecord* record, UErrorPtr* error)
{
    const std::unique_ptr<UGLEGLContext> context
        = UGLEGLContext::create(virtualScreenIdentifier, frameBufferObjectRenderingType, error);
    if (!context)
        return false;
    return getGraphicProcessorInfoWithOpenGLContext(
        *context, virtualScreenIdentifier, record, error);
}

bool UGLEGLGraphicProcessorInfoSource::getGraphicProcessorInfoWithOpenGLContext(
    UGLEGLContext& context, quint64 virtualScreenIdentifier,
    UOpenGLGraphicProcessorInfoRecord* record, UErrorPtr* error)
{
    if (!context.makeCurrent()) {
        UFemSetError(error, unknownError());
        return false;
    }
    UOpenGLGraphicProcessorInfoRecord result;
    result.virtualScreenIdentifier = virtualScreenIdentifier;
    result.venderString = glText(GL_VENDOR);
    result.rendererString = glText(GL_RENDERER);
    result.versionString = glText(GL_VERSION);
    result.extensionsString = glText(GL_EXTENSIONS);
    UGLEGLContext::clearCurrent();
    if (result.rendererString.isEmpty()) {
        UFemSetError(error, unknownError());
        return false;
    }
    result.openGLVersion = UGLOpenGLVersionWithDriverVersionString(result.versionString);
    // The core names that the manager calls exist with either extension.
    result.isFrameBufferObjectSupported
        = hasExtension(result.extensionsString, u"GL_EXT_framebuffer_object")
        || hasExtension(result.extensionsString, u"GL_ARB_framebuffer_object");
    EGLConfig config = nullptr;
    UErrorPtr ignored;
    result.isPixelBufferSupported = UGLEGLDisplays::chooseConfig(
        context.display(), pixelBufferRenderingType, &config, &ignored);
    *record = result;
    return true;
}
