#pragma once

#include <QString>
#include <QtGlobal>

// What one renderer (virtual screen) offers; immutable once made.
struct UOpenGLGraphicProcessorInfoRecord {
    quint64 virtualScreenIdentifier = 0;
    QString rendererString;
    QString venderString;
    quint64 openGLVersion = 0;
    QString versionString;
    bool isFrameBufferObjectSupported = false;
    bool isPixelBufferSupported = false;
    QString extensionsString;
};
