#pragma once

#include "foundation/errors/UError.h"

#include <QString>

#include <memory>
#include <optional>

class QWidget;
class UGLGraphicProcessorInfoManager;

// The OpenGL renderer information window: a scrolling, read-only text listing what each renderer
// of the catalogue offers. A new window is made for every request and deletes itself when closed.
class UFemOpenGLInfoWindow {
public:
    // The text for every renderer of `catalogue`; nullopt with the error of a renderer that cannot
    // be read, or of a catalogue that could not be filled.
    [[nodiscard]] static std::optional<QString> rendererInfoText(
        const UGLGraphicProcessorInfoManager& catalogue, UErrorPtr* error);
    static std::unique_ptr<QWidget> makeWindow(const QString& text);
};
