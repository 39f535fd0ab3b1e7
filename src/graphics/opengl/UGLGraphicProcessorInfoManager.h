#pragma once

#include "foundation/errors/UError.h"
#include "graphics/opengl/UGLGraphicProcessorInfoSource.h"
#include "graphics/opengl/UOpenGLGraphicProcessorInfoRecord.h"

#include <QHash>

#include <memory>
#include <mutex>
#include <vector>

// All ones: no renderer (none qualifies, or the catalogue is empty).
inline constexpr quint64 UGLNoVirtualScreenIdentifier = ~quint64(0);

// The catalogue of renderers by virtual screen, with the default renderer (the first that can
// render off-screen) and the software renderer (the last). Lookups may come from any thread.
class UGLGraphicProcessorInfoManager {
public:
    explicit UGLGraphicProcessorInfoManager(std::shared_ptr<UGLGraphicProcessorInfoSource> source);

    // The process's catalogue of EGL renderers, filled on first use. An error of that first
    // filling is kept in lastUpdateError() for the shell to show.
    static UGLGraphicProcessorInfoManager& sharedGraphicProcessorInfoManager();

    // Rebuilds the catalogue; on an error it is left empty and the error given.
    [[nodiscard]] bool update(UErrorPtr* error);
    void _reset();
    UErrorPtr lastUpdateError() const;

    quint64 virtualScreenCount() const;
    quint64 defaultRendererVirtualScreenIdentifier() const;
    // The last screen; all ones when there is none.
    quint64 softwareRendererVirtualScreenIdentifier() const;
    std::vector<UOpenGLGraphicProcessorInfoRecord> graphicProcessorInfoArray() const;

    // All ones with "The OpenGL Renderer is not found." when no renderer has that name.
    quint64 virtualScreenIdentifierWithRendererString(
        const QString& rendererString, UErrorPtr* error) const;
    [[nodiscard]] bool getGraphicProcessorInfo(quint64 virtualScreenIdentifier,
        UOpenGLGraphicProcessorInfoRecord* record, UErrorPtr* error) const;
    [[nodiscard]] bool getGraphicProcessorInfoWithRendererString(const QString& rendererString,
        UOpenGLGraphicProcessorInfoRecord* record, UErrorPtr* error) const;

private:
    void resetLocked();

    std::shared_ptr<UGLGraphicProcessorInfoSource> source_;
    mutable std::mutex mutex_;
    quint64 virtualScreenCount_ = 0;
    std::vector<UOpenGLGraphicProcessorInfoRecord> graphicProcessorInfoArray_;
    QHash<QString, UOpenGLGraphicProcessorInfoRecord> graphicProcessorInfoDictionary_;
    quint64 defaultRendererVirtualScreenIdentifier_ = UGLNoVirtualScreenIdentifier;
    UErrorPtr lastUpdateError_;
};
