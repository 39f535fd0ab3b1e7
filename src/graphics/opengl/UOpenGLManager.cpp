#include "graphics/opengl/UOpenGLManager.h"

#include "foundation/errors/UFemErrorsOther.h"
#include "graphics/opengl/UGLEGLContext.h"
#include "graphics/opengl/UGLEGLGraphicProcessorInfoSource.h"
#include "graphics/opengl/UGLGraphicProcessorInfoManager.h"
#include "graphics/opengl/UOpenGLQuadricError.h"
#include "graphics/primitives/UGLScaledRoundedSize.h"

namespace {

constexpr quint64 rowWidthMultiple = 16;
constexpr quint64 bytesPerPixel = 4;
constexpr GLfloat lightModelAmbient[4] = { 0.5f, 0.5f, 0.5f, 1.0f };
constexpr GLfloat lightAmbient[4] = { 0.0f, 0.0f, 0.0f, 1.0f };
constexpr GLfloat lightDiffuse[4] = { 0.5f, 0.5f, 0.5f, 1.0f };
constexpr GLfloat lightSpecular[4] = { 0.0f, 0.0f, 0.0f, 1.0f };
// w = 0: a directional light.
constexpr GLfloat lightPosition[4] = { 1.0f, 1.0f, 1.0f, 0.0f };
constexpr GLfloat pointSize = 6.0f;
constexpr GLfloat lineWidth = 4.0f;

using QuadricCallback = void (*)();

} // namespace

std::unique_ptr<UOpenGLManager> UOpenGLManager::create(quint64 virtualScreenIdentifier,
    UGLOpenGLVersion renderingOpenGLVersion, quint64 offlineRenderingType, bool doesForceToSet,
    UErrorPtr* error)
{
    return create(virtualScreenIdentifier, renderingOpenGLVersion, offlineRenderingType,
        doesForceToSet, UGLGraphicProcessorInfoManager::sharedGraphicProcessorInfoManager(), error);
}

std::unique_ptr<UOpenGLManager> UOpenGLManager::create(quint64 virtualScreenIdentifier,
    UGLOpenGLVersion renderingOpenGLVersion, quint64 offlineRenderingType, bool doesForceToSet,
    const UGLGraphicProcessorInfoManager& catalogue, UErrorPtr* error)
{
    quint64 screen = virtualScreenIdentifier;
    UGLOpenGLVersion version = renderingOpenGLVersion;
    quint64 type = offlineRenderingType;
    UErrorPtr checkError;
    const bool checked = checkAndUpdateVirtualScreenIdentifier(
        &screen, &version, &type, doesForceToSet, catalogue, &checkError);
    if (doesForceToSet) {
        screen = virtualScreenIdentifier;
        version = renderingOpenGLVersion;
        type = offlineRenderingType;
    } else if (!checked) {
        UFemSetError(error, checkError);
        return nullptr;
    }
    if (!isValidOfflineRenderingType(type)) {
        UFemSetError(error,
            UFemUnexpectedError_withDescription(
                QStringLiteral("Creating OpenGLPixelFormat failed.")));
        return nullptr;
    }
    std::unique_ptr<UGLEGLContext> context = UGLEGLContext::create(screen, type, error);
    if (!context)
        return nullptr;
    if (!context->makeCurrent()) {
        UFemSetError(error,
            UFemUnexpectedError_withDescription(QStringLiteral("Creating OpenGLContext failed.")));
        return nullptr;
    }
    std::unique_ptr<UOpenGLManager> manager(
        new UOpenGLManager(std::move(context), screen, version, type));
    manager->setUpOpenGLState();
    clearCurrentContext();
    return manager;
}

UOpenGLManager::UOpenGLManager(std::unique_ptr<UGLEGLContext> context,
    quint64 virtualScreenIdentifier, UGLOpenGLVersion renderingOpenGLVersion,
    quint64 offlineRenderingType)
    : openGLContext_(std::move(context))
    , virtualScreenIdentifier_(virtualScreenIdentifier)
    , renderingOpenGLVersion_(renderingOpenGLVersion)
    , offlineRenderingType_(offlineRenderingType)
{
}

UOpenGLManager::~UOpenGLManager()
{
    if (quadricObj_ != nullptr)
        gluDeleteQuadric(quadricObj_);
    // The names belong to this context, so it must be current to delete them.
    if (!isCurrentContext() && !makeCurrentContext())
        return;
    if (openGLFrameBufferObjectIndex_ != 0) {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glDeleteFramebuffers(1, &openGLFrameBufferObjectIndex_);
        glDeleteRenderbuffers(2, openGLRenderBufferObjectIndex_color_depth_);
    }
    clearCurrentContext();
}

void UOpenGLManager::setUpOpenGLState()
{
    if (offlineRenderingType_ == UGLOfflineRenderingTypeFrameBufferObject) {
        glGenFramebuffers(1, &openGLFrameBufferObjectIndex_);
        glGenRenderbuffers(2, openGLRenderBufferObjectIndex_color_depth_);
    }
    glDisable(GL_BLEND);
    glFrontFace(GL_CCW);
    glPolygonMode(GL_FRONT, GL_FILL);
    glDisable(GL_CULL_FACE);
    glShadeModel(GL_SMOOTH);
    glEnable(GL_LIGHT0);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_TRUE);
    glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, GL_FALSE);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, lightModelAmbient);
    glLightfv(GL_LIGHT0, GL_AMBIENT, lightAmbient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, lightDiffuse);
    glLightfv(GL_LIGHT0, GL_SPECULAR, lightSpecular);
    // Placed under the identity, the light stays fixed to the eye.
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glLightfv(GL_LIGHT0, GL_POSITION, lightPosition);
    glEnable(GL_POINT_SMOOTH);
    glHint(GL_POINT_SMOOTH_HINT, GL_FASTEST);
    glDisable(GL_LINE_SMOOTH);
    glHint(GL_LINE_SMOOTH_HINT, GL_FASTEST);
    glPointSize(pointSize);
    glLineWidth(lineWidth);
    quadricObj_ = gluNewQuadric();
    if (quadricObj_ == nullptr)
        return;
    gluQuadricCallback(
        quadricObj_, GLU_ERROR, reinterpret_cast<QuadricCallback>(&UOpenGLQuadricErrorCallback));
    gluQuadricDrawStyle(quadricObj_, GLU_FILL);
    gluQuadricOrientation(quadricObj_, GLU_OUTSIDE);
    gluQuadricNormals(quadricObj_, GLU_SMOOTH);
}

bool UOpenGLManager::getGraphicProcessorInfo(UOpenGLGraphicProcessorInfoRecord* record,
    quint64* currentOfflineRenderingType, UErrorPtr* error) const
{
    if (!UGLEGLGraphicProcessorInfoSource::getGraphicProcessorInfoWithOpenGLContext(
            *openGLContext_, virtualScreenIdentifier_, record, error))
        return false;
    if (currentOfflineRenderingType != nullptr)
        *currentOfflineRenderingType = offlineRenderingType_;
    return true;
}

bool UOpenGLManager::makeCurrentContext()
{
    return openGLContext_->makeCurrent();
}

void UOpenGLManager::clearCurrentContext()
{
    UGLEGLContext::clearCurrent();
}

bool UOpenGLManager::isCurrentContext() const
{
    return openGLContext_->isCurrent();
}

QSizeF UOpenGLManager::imageSize() const
{
    return isRestrictedInDrawRect_ ? restrictiveDrawRect_.size() : size_;
}

QSizeF UOpenGLManager::imagePixelSize() const
{
    return QSizeF(double(imagePixelWidth_int_), double(imagePixelHeight_int_));
}

void UOpenGLManager::recomputePixelSize()
{
    const QSizeF points = imageSize();
    UGLScaledRoundedIntegerSize(points.width(), points.height(), imageResolutionPer72_,
        &imagePixelWidth_int_, &imagePixelHeight_int_);
    imagePixelWidth_int_buffer_
        = (imagePixelWidth_int_ + rowWidthMultiple - 1) / rowWidthMultiple * rowWidthMultiple;
}

void UOpenGLManager::setSize(QSizeF size)
{
    size_ = size;
    recomputePixelSize();
    needsUpdateOGLViewport_ = true;
    needsUpdateOGLProjection_ = true;
}

void UOpenGLManager::setImageResolutionPer72(double resolution)
{
    imageResolutionPer72_ = resolution;
    recomputePixelSize();
    needsUpdateOGLViewport_ = true;
}

void UOpenGLManager::setRestrictiveDrawRect(QRectF rect)
{
    isRestrictedInDrawRect_ = true;
    restrictiveDrawRect_ = rect;
    recomputePixelSize();
    needsUpdateOGLViewport_ = true;
    needsUpdateOGLProjection_ = true;
}

void UOpenGLManager::clearRestrictiveDrawRect()
{
    isRestrictedInDrawRect_ = false;
    restrictiveDrawRect_ = QRectF();
    recomputePixelSize();
    needsUpdateOGLViewport_ = true;
    needsUpdateOGLProjection_ = true;
}

quint64 UOpenGLManager::getPixelSize(
    quint64* pixelWidth, quint64* pixelHeight, quint64* pixelBufferWidth) const
{
    if (pixelWidth != nullptr)
        *pixelWidth = imagePixelWidth_int_;
    if (pixelHeight != nullptr)
        *pixelHeight = imagePixelHeight_int_;
    if (pixelBufferWidth != nullptr)
        *pixelBufferWidth = imagePixelWidth_int_buffer_;
    return imagePixelWidth_int_buffer_ * imagePixelHeight_int_ * bytesPerPixel;
}

void UOpenGLManager::setEyeLocation(const UOpenGLEyeLocation& eyeLocation)
{
    eyeLocation_ = eyeLocation;
    needsUpdateOGLModelView_ = true;
    needsUpdateOGLProjection_ = true;
}

void UOpenGLManager::setObjectLocation(const UOpenGLObjectLocation& objectLocation)
{
    objectLocation_ = objectLocation;
    needsUpdateOGLModelView_ = true;
}
