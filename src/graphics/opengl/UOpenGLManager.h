#pragma once

#include "foundation/errors/UError.h"
#include "graphics/camera/UOpenGLEyeLocation.h"
#include "graphics/camera/UOpenGLObjectLocation.h"
#include "graphics/drawingbuffer/UGLDrawingTypes.h"
#include "graphics/opengl/UOpenGLGraphicProcessorInfoRecord.h"

#include <QRectF>
#include <QSizeF>

#include "graphics/opengl/UGLOpenGL.h"

#include <memory>

class UGLEGLContext;
class UGLGraphicProcessorInfoManager;

// Offline rendering types.
inline constexpr quint64 UGLOfflineRenderingTypeFrameBufferObject = 1;
inline constexpr quint64 UGLOfflineRenderingTypePixelBuffer = 2;

// One off-screen OpenGL context with its render target, camera, lights and read-back. Made and
// destroyed on one thread; used by one thread at a time, the one that made it current.
class UOpenGLManager {
public:
    // Checks the renderer choice against `catalogue` (correcting it unless `doesForceToSet`) and
    // makes the context. nullptr with the error when the renderer, pixel format or context fails;
    // the caller shows the error.
    [[nodiscard]] static std::unique_ptr<UOpenGLManager> create(quint64 virtualScreenIdentifier,
        UGLOpenGLVersion renderingOpenGLVersion, quint64 offlineRenderingType, bool doesForceToSet,
        UErrorPtr* error);
    [[nodiscard]] static std::unique_ptr<UOpenGLManager> create(quint64 virtualScreenIdentifier,
        UGLOpenGLVersion renderingOpenGLVersion, quint64 offlineRenderingType, bool doesForceToSet,
        const UGLGraphicProcessorInfoManager& catalogue, UErrorPtr* error);
    ~UOpenGLManager();
    UOpenGLManager(const UOpenGLManager&) = delete;
    UOpenGLManager& operator=(const UOpenGLManager&) = delete;

    // Checks a renderer choice (in-out) and, unless `isCheckOnly`, corrects it, falling back to the
    // default and then the software renderer.
    [[nodiscard]] static bool checkAndUpdateVirtualScreenIdentifier(
        quint64* virtualScreenIdentifier, UGLOpenGLVersion* renderingOpenGLVersion,
        quint64* offlineRenderingType, bool isCheckOnly,
        const UGLGraphicProcessorInfoManager& catalogue, UErrorPtr* error);
    static bool isValidOfflineRenderingType(quint64 offlineRenderingType)
    {
        return offlineRenderingType == UGLOfflineRenderingTypeFrameBufferObject
            || offlineRenderingType == UGLOfflineRenderingTypePixelBuffer;
    }
    // This context's renderer as the catalogue records it, and the offline rendering type.
    [[nodiscard]] bool getGraphicProcessorInfo(UOpenGLGraphicProcessorInfoRecord* record,
        quint64* currentOfflineRenderingType, UErrorPtr* error) const;

    UGLOpenGLVersion renderingOpenGLVersion() const { return renderingOpenGLVersion_; }
    quint64 virtualScreenIdentifier() const { return virtualScreenIdentifier_; }
    quint64 offlineRenderingType() const { return offlineRenderingType_; }

    bool makeCurrentContext();
    static void clearCurrentContext();
    bool isCurrentContext() const;

    void setSize(QSizeF size);
    QSizeF size() const { return size_; }
    // The restricting rectangle's size while restricted, else the image size.
    QSizeF imageSize() const;
    QSizeF imagePixelSize() const;
    void setImageResolutionPer72(double resolution);
    double imageResolutionPer72() const { return imageResolutionPer72_; }
    UGLImageQuality imageQuality() const { return imageQuality_; }
    void setImageQuality(UGLImageQuality quality) { imageQuality_ = quality; }
    void setRestrictiveDrawRect(QRectF rect);
    void clearRestrictiveDrawRect();
    bool isRestrictedInDrawRect() const { return isRestrictedInDrawRect_; }
    QRectF restrictiveDrawRect() const { return restrictiveDrawRect_; }
    // Each pointer may be null; returns the byte size of a read-back image.
    quint64 getPixelSize(
        quint64* pixelWidth, quint64* pixelHeight, quint64* pixelBufferWidth) const;

    UOpenGLEyeLocation eyeLocation() const { return eyeLocation_; }
    UOpenGLObjectLocation objectLocation() const { return objectLocation_; }
    void setEyeLocation(const UOpenGLEyeLocation& eyeLocation);
    void setObjectLocation(const UOpenGLObjectLocation& objectLocation);

    // With the context current: redoes the model view, projection and viewport that are marked.
    // Raises "UOpenGLException" when the render target cannot be made.
    void updateOpenGL();
    bool needsUpdateOGLModelView() const { return needsUpdateOGLModelView_; }
    bool needsUpdateOGLProjection() const { return needsUpdateOGLProjection_; }
    bool needsUpdateOGLViewport() const { return needsUpdateOGLViewport_; }
    // False while the pixel size is zero or the target has not been made for it by updateOpenGL:
    // there is nothing to draw into or read then, and the read-back leaves the buffer untouched.
    bool hasRenderTarget() const
    {
        return targetPixelWidth_ > 0 && targetPixelHeight_ > 0
            && targetPixelWidth_ == imagePixelWidth_int_
            && targetPixelHeight_ == imagePixelHeight_int_;
    }

    // With the context current, after drawing: the image, bottom row first, rows of row-width
    // pixels, bytes blue, green, red, alpha; the buffer holds getPixelSize() bytes.
    void getPixelSizeRawImage(uchar* rawImageData) const;
    // The same turned top row first, bytes red, green, blue, alpha.
    void getStandardizedPixelSizeRawImage(uchar* rawImageData) const;

    GLUquadric* quadricObj() const { return quadricObj_; }

private:
    UOpenGLManager(std::unique_ptr<UGLEGLContext> context, quint64 virtualScreenIdentifier,
        UGLOpenGLVersion renderingOpenGLVersion, quint64 offlineRenderingType);
    void setUpOpenGLState();
    void recomputePixelSize();
    void updateOGLModelView();
    void updateOGLProjection();
    void updateOGLViewport();
    void makeFrameBufferObjectTarget();
    void makePixelBufferTarget();

    std::unique_ptr<UGLEGLContext> openGLContext_;
    quint64 virtualScreenIdentifier_;
    UGLOpenGLVersion renderingOpenGLVersion_;
    quint64 offlineRenderingType_;
    quint64 targetPixelWidth_ = 0;
    quint64 targetPixelHeight_ = 0;
    GLuint openGLFrameBufferObjectIndex_ = 0;
    GLuint openGLRenderBufferObjectIndex_color_depth_[2] = { 0, 0 };
    QSizeF size_;
    double imageResolutionPer72_ = 1.0;
    UGLImageQuality imageQuality_ = UGLImageQualityScreen;
    quint64 imagePixelWidth_int_ = 0;
    quint64 imagePixelHeight_int_ = 0;
    quint64 imagePixelWidth_int_buffer_ = 0;
    UOpenGLEyeLocation eyeLocation_;
    UOpenGLObjectLocation objectLocation_;
    bool isRestrictedInDrawRect_ = false;
    QRectF restrictiveDrawRect_;
    GLUquadric* quadricObj_ = nullptr;
    bool needsUpdateOGLModelView_ = true;
    bool needsUpdateOGLProjection_ = true;
    bool needsUpdateOGLViewport_ = true;
};
