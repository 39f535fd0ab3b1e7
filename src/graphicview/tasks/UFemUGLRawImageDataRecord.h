#pragma once

#include "graphics/drawingbuffer/UFemGraphicCocoaDrawObject.h"

#include <QtGlobal>

#include <vector>

// One layer's image as read back from its OpenGL context: rows top first, straight-alpha RGBA.
// The storage only grows; clearing marks the record pending and drops the draw objects.
struct UFemUGLRawImageDataRecord {
    enum Validness : quint64 { Pending = 0, ImageReadBack = 1, FinishedWithoutImage = 2 };

    quint64 validness = Pending;
    std::vector<uchar> imageData;
    std::vector<UFemGraphicCocoaDrawObject> cocoaDrawObjectArray;

    quint64 capacity() const { return imageData.size(); }
};
