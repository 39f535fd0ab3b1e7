#pragma once

#include "foundation/UGLColor.h"

#include <QFont>
#include <QImage>
#include <QPointF>
#include <QString>

#include <variant>

class QPainter;

// Something drawn with QPainter over the OpenGL image of a stage, at a point of the image. It is
// a plain value: Qt's implicit sharing makes copies cheap and safe to hand from a drawing thread
// to the layer-image thread.
class UFemGraphicCocoaDrawObject {
public:
    struct Text {
        QString string;
        QFont font;
        _UGLColor color;
    };
    using DrawObject = std::variant<Text, QImage>;

    static UFemGraphicCocoaDrawObject cocoaDrawObjectWithDrawObject(
        DrawObject drawObject, QPointF drawPoint);

    const DrawObject& drawObject() const { return drawObject_; }
    QPointF drawPoint() const { return drawPoint_; }
    // Over the stage's image: a text's baseline starts at the point, an image's top left corner
    // lies on it (the painter's own coordinates).
    void draw(QPainter& painter) const;

private:
    UFemGraphicCocoaDrawObject(DrawObject drawObject, QPointF drawPoint);

    DrawObject drawObject_;
    QPointF drawPoint_;
};
