#pragma once

#include "foundation/UGLColor.h"

#include <QPushButton>

#include <functional>

class QColorDialog;

// A button showing a colour, which opens the colour dialog to change it. The colour is kept as
// four doubles: a colour the user leaves as it was is written back exactly, never rounded through
// the dialog's colour type. Whether the dialog offers the opacity is the subclass's choice.
class UFemColorWell : public QPushButton {
public:
    using ColorChangedHandler = std::function<void(const _UGLColor&)>;

    _UGLColor color() const { return color_; }
    void setColor(const _UGLColor& color);
    void setColorChangedHandler(ColorChangedHandler handler) { handler_ = std::move(handler); }
    bool showsAlphaControl() const { return showsAlpha_; }
    // Opens the dialog on the colour; it answers later, as a sheet does.
    QColorDialog* activate();

protected:
    UFemColorWell(bool showsAlpha, QWidget* parent);
    void paintEvent(QPaintEvent* event) override;

private:
    void takeColorOfDialog(const QColor& shown, const QColor& chosen);

    bool showsAlpha_;
    _UGLColor color_ { 0.0, 0.0, 0.0, 1.0 };
    ColorChangedHandler handler_;
};
