#include "graphics/opengl/UGLGraphicProcessorInfoManager.h"

#include "foundation/errors/UFemErrorsOther.h"
#include "graphics/opengl/UGLEGLGraphicProcessorInfoSource.h"

namespace {

constexpr qsizetype initialCapacity = 8;

UErrorPtr notFoundError()
{
    return UFemUnexpectedError_withDescription(QStringLiteral("The OpenGL Renderer is not found."));
}

} // namespace

UGLGraphicProcessorInfoManager::UGLGraphicProcessorInfoManager(
    std::shared_ptr<UGLGraphicProcessorInfoSource> source)
    : source_(std::move(source))
{
    graphicProcessorInfoArray_.reserve(initialCapacity);
    graphicProcessorInfoDictionary_.reserve(initialCapacity);
}

UGLGraphicProcessorInfoManager& UGLGraphicProcessorInfoManager::sharedGraphicProcessorInfoManager()
{
    static UGLGraphicProcessorInfoManager* shared = [] {
        auto* manager = new UGLGraphicProcessorInfoManager(
            std::make_shared<UGLEGLGraphicProcessorInfoSource>());
        UErrorPtr error;
        // The error stays in lastUpdateError() for the shell to show.
        static_cast<void>(manager->update(&error));

        return manager;
    }();
    return *shared;
}

bool UGLGraphicProcessorInfoManager::update(UErrorPtr* error)
{
    std::lock_guard lock(mutex_);
    resetLocked();
    UErrorPtr failure;
    const quint64 count = source_->virtualScreenCount(&failure);
    std::vector<UOpenGLGraphicProcessorInfoRecord> records;
    quint64 defaultIdentifier = UGLNoVirtualScreenIdentifier;
    for (quint64 screen = 0; !failure && screen < count; ++screen) {
        UOpenGLGraphicProcessorInfoRecord record;
        if (!source_->getGraphicProcessorInfo(screen, &record, &failure))
            break;
        record.virtualScreenIdentifier = screen;
        if (defaultIdentifier == UGLNoVirtualScreenIdentifier
            && (record.isFrameBufferObjectSupported || record.isPixelBufferSupported))
            defaultIdentifier = screen;
        records.push_back(record);
    }
    lastUpdateError_ = failure;
    if (failure) {
        UFemSetError(error, failure);
        return false;
    }
    for (const UOpenGLGraphicProcessorInfoRecord& record : records)
        graphicProcessorInfoDictionary_.insert(record.rendererString, record);
    graphicProcessorInfoArray_ = std::move(records);
    virtualScreenCount_ = count;
    defaultRendererVirtualScreenIdentifier_ = defaultIdentifier;
    return true;
}

void UGLGraphicProcessorInfoManager::_reset()
{
    std::lock_guard lock(mutex_);
    resetLocked();
}

void UGLGraphicProcessorInfoManager::resetLocked()
{
    graphicProcessorInfoArray_.clear();
    graphicProcessorInfoDictionary_.clear();
    virtualScreenCount_ = 0;
    // All ones, not 0: an empty catalogue has no renderer 0 to fall back to.
    defaultRendererVirtualScreenIdentifier_ = UGLNoVirtualScreenIdentifier;
}

UErrorPtr UGLGraphicProcessorInfoManager::lastUpdateError() const
{
    std::lock_guard lock(mutex_);
    return lastUpdateError_;
}

quint64 UGLGraphicProcessorInfoManager::virtualScreenCount() const
{
    std::lock_guard lock(mutex_);
    return virtualScreenCount_;
}

quint64 UGLGraphicProcessorInfoManager::defaultRendererVirtualScreenIdentifier() const
{
    std::lock_guard lock(mutex_);
    return defaultRendererVirtualScreenIdentifier_;
}

quint64 UGLGraphicProcessorInfoManager::softwareRendererVirtualScreenIdentifier() const
{
    std::lock_guard lock(mutex_);
    return virtualScreenCount_ - 1;
}

std::vector<UOpenGLGraphicProcessorInfoRecord>
UGLGraphicProcessorInfoManager::graphicProcessorInfoArray() const
{
    std::lock_guard lock(mutex_);
    return graphicProcessorInfoArray_;
}

quint64 UGLGraphicProcessorInfoManager::virtualScreenIdentifierWithRendererString(
    const QString& rendererString, UErrorPtr* error) const
{
    UOpenGLGraphicProcessorInfoRecord record;
    if (!getGraphicProcessorInfoWithRendererString(rendererString, &record, error))
        return UGLNoVirtualScreenIdentifier;
    return record.virtualScreenIdentifier;
}

bool UGLGraphicProcessorInfoManager::getGraphicProcessorInfo(quint64 virtualScreenIdentifier,
    UOpenGLGraphicProcessorInfoRecord* record, UErrorPtr* error) const
{
    std::lock_guard lock(mutex_);
    if (virtualScreenIdentifier >= graphicProcessorInfoArray_.size()) {
        UFemSetError(error,
            UFemUnexpectedError_withDescription(
                QStringLiteral("VirtualScreenIdentifier is over virtualScreenCount.")));
        return false;
    }
    *record = graphicProcessorInfoArray_[virtualScreenIdentifier];
    return true;
}

bool UGLGraphicProcessorInfoManager::getGraphicProcessorInfoWithRendererString(
    const QString& rendererString, UOpenGLGraphicProcessorInfoRecord* record,
    UErrorPtr* error) const
{
    std::lock_guard lock(mutex_);
    const auto found = graphicProcessorInfoDictionary_.constFind(rendererString);
    if (found == graphicProcessorInfoDictionary_.constEnd()) {
        UFemSetError(error, notFoundError());
        return false;
    }
    *record = found.value();
    return true;
}
