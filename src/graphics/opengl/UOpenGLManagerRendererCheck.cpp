#include "graphics/opengl/UOpenGLManager.h"

#include "foundation/errors/UFemErrorsOther.h"
#include "foundation/strings/UFormattedString.h"
#include "graphics/opengl/UGLGraphicProcessorInfoManager.h"
#include "graphics/opengl/UGLOpenGLVersion.h"

namespace {

struct RendererChoice {
    quint64 virtualScreenIdentifier;
    UGLOpenGLVersion renderingOpenGLVersion;
    quint64 offlineRenderingType;
};

enum class CheckOutcome { usable, refused, fallBack };

UErrorPtr errorWrapping(const QString& description, const UErrorPtr& baseError)
{
    if (baseError)
        return UFemFewChanceError_withDescription(description, baseError);
    return UFemFewChanceError_withDescription(description, QStringLiteral("Unexpected Error."));
}

// Corrects the version and type of `choice` for a renderer whose information is known.
CheckOutcome checkAgainstRecord(RendererChoice* choice,
    const UOpenGLGraphicProcessorInfoRecord& record, bool isCheckOnly, UErrorPtr* error)
{
    if (!UOpenGLManager::isValidOfflineRenderingType(choice->offlineRenderingType)) {
        if (isCheckOnly) {
            *error = UFemFewChanceError_withDescription(
                ULocalizedFormattedString(
                    "Offline rendering type %lu is not known.", choice->offlineRenderingType),
                std::nullopt);
            return CheckOutcome::refused;
        }
        // Asked for nothing known: whatever the renderer offers, the framebuffer object first.
        choice->offlineRenderingType
            = record.isPixelBufferSupported && !record.isFrameBufferObjectSupported
            ? UGLOfflineRenderingTypePixelBuffer
            : UGLOfflineRenderingTypeFrameBufferObject;
    }
    if (choice->renderingOpenGLVersion == 0) {
        if (isCheckOnly) {
            *error = UFemFewChanceError_withDescription(
                ULocalizedFormattedString("Valid RenderingOpenGLVersion is not specified."),
                std::nullopt);
            return CheckOutcome::refused;
        }
        choice->renderingOpenGLVersion
            = UGLStandardizedRenderingOpenGLVersion(record.openGLVersion);
    }
    if (choice->offlineRenderingType == UGLOfflineRenderingTypeFrameBufferObject
        && !record.isFrameBufferObjectSupported) {
        if (isCheckOnly) {
            *error = UFemFewChanceError_withDescription(
                ULocalizedFormattedString(
                    "FBO-Rendering specified to GPU '%@' which doesn't support FBO.",
                    record.rendererString),
                std::nullopt);
            return CheckOutcome::refused;
        }
        if (!record.isPixelBufferSupported)
            return CheckOutcome::fallBack;
        choice->offlineRenderingType = UGLOfflineRenderingTypePixelBuffer;
    } else if (choice->offlineRenderingType == UGLOfflineRenderingTypePixelBuffer
        && !record.isPixelBufferSupported) {
        if (isCheckOnly) {
            *error = UFemFewChanceError_withDescription(
                ULocalizedFormattedString("PixelBuffer-Rendering specified to GPU '%@' which "
                                          "doesn't support PixelBuffer.",
                    record.rendererString),
                std::nullopt);
            return CheckOutcome::refused;
        }
        if (!record.isFrameBufferObjectSupported)
            return CheckOutcome::fallBack;
        choice->offlineRenderingType = UGLOfflineRenderingTypeFrameBufferObject;
    }
    return CheckOutcome::usable;
}

CheckOutcome checkChoice(RendererChoice* choice, bool isCheckOnly,
    const UGLGraphicProcessorInfoManager& catalogue, UErrorPtr* error)
{
    if (choice->virtualScreenIdentifier >= catalogue.virtualScreenCount()) {
        if (!isCheckOnly)
            return CheckOutcome::fallBack;
        *error = UFemFewChanceError_withDescription(
            ULocalizedFormattedString(
                "Unexpected GPU identifier ( %lu ). ( GPU identifier is over GPU count. )",
                choice->virtualScreenIdentifier),
            ULocalizedFormattedString("Update GPU Info or Restart this application."));
        return CheckOutcome::refused;
    }
    UOpenGLGraphicProcessorInfoRecord record;
    UErrorPtr infoError;
    if (!catalogue.getGraphicProcessorInfo(choice->virtualScreenIdentifier, &record, &infoError)) {
        if (!isCheckOnly)
            return CheckOutcome::fallBack;
        *error
            = errorWrapping(ULocalizedFormattedString("Getting Renderer Info of GPU: %lu failed.",
                                choice->virtualScreenIdentifier),
                infoError);
        return CheckOutcome::refused;
    }
    return checkAgainstRecord(choice, record, isCheckOnly, error);
}

// One renderer of the fall-back, asked with version 0 and type 1; it starts no fall-back itself.
[[nodiscard]] bool tryFallBackRenderer(quint64 virtualScreenIdentifier, RendererChoice* choice,
    const UGLGraphicProcessorInfoManager& catalogue, UErrorPtr* error)
{
    RendererChoice candidate { virtualScreenIdentifier, 0,
        UGLOfflineRenderingTypeFrameBufferObject };
    if (checkChoice(&candidate, false, catalogue, error) != CheckOutcome::usable)
        return false;
    *choice = candidate;
    return true;
}

} // namespace

bool UOpenGLManager::checkAndUpdateVirtualScreenIdentifier(quint64* virtualScreenIdentifier,
    UGLOpenGLVersion* renderingOpenGLVersion, quint64* offlineRenderingType, bool isCheckOnly,
    const UGLGraphicProcessorInfoManager& catalogue, UErrorPtr* error)
{
    RendererChoice choice { *virtualScreenIdentifier, *renderingOpenGLVersion,
        *offlineRenderingType };
    UErrorPtr failure;
    CheckOutcome outcome = checkChoice(&choice, isCheckOnly, catalogue, &failure);
    if (outcome == CheckOutcome::fallBack) {
        const quint64 defaultIdentifier = catalogue.defaultRendererVirtualScreenIdentifier();
        const bool usable
            = (defaultIdentifier != *virtualScreenIdentifier
                  && tryFallBackRenderer(defaultIdentifier, &choice, catalogue, &failure))
            || tryFallBackRenderer(
                catalogue.softwareRendererVirtualScreenIdentifier(), &choice, catalogue, &failure);
        if (!usable)
            failure = errorWrapping(
                ULocalizedFormattedString("Error occurred on Software Renderer, still."), failure);
        outcome = usable ? CheckOutcome::usable : CheckOutcome::refused;
    }
    if (outcome != CheckOutcome::usable) {
        UFemSetError(error, failure);
        return false;
    }
    *virtualScreenIdentifier = choice.virtualScreenIdentifier;
    *renderingOpenGLVersion = choice.renderingOpenGLVersion;
    *offlineRenderingType = choice.offlineRenderingType;
    return true;
}
