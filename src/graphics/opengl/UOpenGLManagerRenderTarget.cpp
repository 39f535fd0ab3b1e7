#include "graphics/opengl/UOpenGLManager.h"

#include "foundation/strings/UFormattedString.h"
#include "graphics/opengl/UGLEGLContext.h"
#include "graphics/opengl/UOpenGLException.h"
#include "graphics/opengl/UOpenGLImageFunctions.h"

namespace {

constexpr GLint packAlignment = 8;

void convertToFloats(const double matrix[16], GLfloat result[16])
{
    for (int i = 0; i < 16; ++i)
        result[i] = GLfloat(matrix[i]);
}

} // namespace

void UOpenGLManager::updateOpenGL()
{
    if (needsUpdateOGLModelView_)
        updateOGLModelView();
    if (needsUpdateOGLProjection_)
        updateOGLProjection();
    if (needsUpdateOGLViewport_)
        updateOGLViewport();
}

void UOpenGLManager::updateOGLModelView()
{
    const _UGLEyeLocationStruct eye = eyeLocation_.eyeLocationStruct();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(eye.eyePosition[0], eye.eyePosition[1], eye.eyePosition[2],
        eye.eyePosition[0] + eye.eyeDirection[0], eye.eyePosition[1] + eye.eyeDirection[1],
        eye.eyePosition[2] + eye.eyeDirection[2], eye.eyeUp[0], eye.eyeUp[1], eye.eyeUp[2]);
    double affine[16];
    objectLocation_.getObjectLocationAffineTransformMatrix(affine);
    GLfloat affineFloats[16];
    convertToFloats(affine, affineFloats);
    glMultMatrixf(affineFloats);
    needsUpdateOGLModelView_ = false;
}

void UOpenGLManager::updateOGLProjection()
{
    const _UGLEyeLocationStruct eye = eyeLocation_.eyeLocationStruct();
    const double l = eye.lengthPerPixel;
    const double halfWidth = size_.width() / 2.0;
    const double halfHeight = size_.height() / 2.0;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    if (isRestrictedInDrawRect_) {
        const QRectF& r = restrictiveDrawRect_;
        glOrtho((r.x() - halfWidth) * l, (r.x() + r.width() - halfWidth) * l,
            (r.y() - halfHeight) * l, (r.y() + r.height() - halfHeight) * l, eye.depthNear,
            eye.depthFar);
    } else {
        glOrtho(-halfWidth * l, halfWidth * l, -halfHeight * l, halfHeight * l, eye.depthNear,
            eye.depthFar);
    }
    needsUpdateOGLProjection_ = false;
}

void UOpenGLManager::updateOGLViewport()
{
    const bool sizeChanged
        = imagePixelWidth_int_ != targetPixelWidth_ || imagePixelHeight_int_ != targetPixelHeight_;
    if (sizeChanged) {
        // Forget the old size first, so that a target that fails is made again next time.
        targetPixelWidth_ = 0;
        targetPixelHeight_ = 0;
        if (imagePixelWidth_int_ > 0 && imagePixelHeight_int_ > 0) {
            if (offlineRenderingType_ == UGLOfflineRenderingTypeFrameBufferObject)
                makeFrameBufferObjectTarget();
            else
                makePixelBufferTarget();
        }
        glViewport(0, 0, GLsizei(imagePixelWidth_int_), GLsizei(imagePixelHeight_int_));
        targetPixelWidth_ = imagePixelWidth_int_;
        targetPixelHeight_ = imagePixelHeight_int_;
    }
    needsUpdateOGLViewport_ = false;
}

void UOpenGLManager::makeFrameBufferObjectTarget()
{
    GLint largest = 0;
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &largest);
    if (imagePixelWidth_int_ > quint64(largest) || imagePixelHeight_int_ > quint64(largest)) {
        UGLRaiseOpenGLException(QStringLiteral("updateOGLViewport"),
            ULocalizedFormattedString(
                "The image of %lu x %lu pixels is larger than the renderer allows (%lu).",
                imagePixelWidth_int_, imagePixelHeight_int_, quint64(largest)));
    }
    const GLsizei width = GLsizei(imagePixelWidth_int_);
    const GLsizei height = GLsizei(imagePixelHeight_int_);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glBindFramebuffer(GL_FRAMEBUFFER, openGLFrameBufferObjectIndex_);
    glBindRenderbuffer(GL_RENDERBUFFER, openGLRenderBufferObjectIndex_color_depth_[0]);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER,
        openGLRenderBufferObjectIndex_color_depth_[0]);
    glBindRenderbuffer(GL_RENDERBUFFER, openGLRenderBufferObjectIndex_color_depth_[1]);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, width, height);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER,
        openGLRenderBufferObjectIndex_color_depth_[1]);
    const GLenum status = glCheckFramebufferStatus(GL_FRAMEBUFFER);
    if (status != GL_FRAMEBUFFER_COMPLETE) {
        UGLRaiseOpenGLException(QStringLiteral("updateOGLViewport"),
            ULocalizedFormattedString(
                "The framebuffer is not complete (status %lu).", quint64(status)));
    }
}

void UOpenGLManager::makePixelBufferTarget()
{
    if (!openGLContext_->setPixelBufferSize(imagePixelWidth_int_, imagePixelHeight_int_))
        UGLRaiseOpenGLException(
            QStringLiteral("updateOGLViewport"), QStringLiteral("aPixelBuffer didn't created."));
}

void UOpenGLManager::getPixelSizeRawImage(uchar* rawImageData) const
{
    if (!hasRenderTarget())
        return;
    // An EGL pbuffer is back-buffered: its rendered image is the back buffer.
    glReadBuffer(offlineRenderingType_ == UGLOfflineRenderingTypeFrameBufferObject
            ? GL_COLOR_ATTACHMENT0
            : GL_BACK);
    glPixelStorei(GL_PACK_ROW_LENGTH, GLint(imagePixelWidth_int_buffer_));
    glPixelStorei(GL_PACK_ALIGNMENT, packAlignment);
    glReadPixels(0, 0, GLsizei(targetPixelWidth_), GLsizei(targetPixelHeight_), GL_BGRA,
        GL_UNSIGNED_INT_8_8_8_8_REV, rawImageData);
}

void UOpenGLManager::getStandardizedPixelSizeRawImage(uchar* rawImageData) const
{
    if (!hasRenderTarget())
        return;
    getPixelSizeRawImage(rawImageData);
    UOpenGLStandardizeRawImageRows(
        rawImageData, imagePixelWidth_int_buffer_, imagePixelHeight_int_);
}
