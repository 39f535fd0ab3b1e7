#include "tables/UFemColorWell.h"

#include <QColorDialog>
#include <QPainter>
#include <QStyleOptionButton>

namespace {

constexpr int swatchMargin = 5;

QColor displayColor(const _UGLColor& color)
{
    return QColor::fromRgbF(
        float(color.red), float(color.green), float(color.blue), float(color.alpha));
}

} // namespace

UFemColorWell::UFemColorWell(bool showsAlpha, QWidget* parent)
    : QPushButton(parent)
    , showsAlpha_(showsAlpha)
{
    connect(this, &QPushButton::clicked, this, [this] { activate(); });
}

void UFemColorWell::setColor(const _UGLColor& color)
{
    color_ = color;
    update();
}

QColorDialog* UFemColorWell::activate()
{
    const QColor shown = displayColor(color_);
    auto* dialog = new QColorDialog(this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setOption(QColorDialog::DontUseNativeDialog);
    // Before the colour: without the control the dialog drops the colour's opacity.
    dialog->setOption(QColorDialog::ShowAlphaChannel, showsAlpha_);
    dialog->setCurrentColor(shown);
    connect(dialog, &QColorDialog::colorSelected, this,
        [this, shown](const QColor& chosen) { takeColorOfDialog(shown, chosen); });
    dialog->open();
    return dialog;
}

// The dialog works in 8 bits a channel: what it hands back unchanged at that precision is the
// stored colour itself.
void UFemColorWell::takeColorOfDialog(const QColor& shown, const QColor& chosen)
{
    const bool isUnchanged
        = showsAlpha_ ? chosen.rgba() == shown.rgba() : chosen.rgb() == shown.rgb();
    if (isUnchanged)
        return;
    _UGLColor color { chosen.redF(), chosen.greenF(), chosen.blueF(),
        showsAlpha_ ? chosen.alphaF() : color_.alpha };
    setColor(color);
    if (handler_)
        handler_(color_);
}

void UFemColorWell::paintEvent(QPaintEvent* event)
{
    QPushButton::paintEvent(event);
    QPainter painter(this);
    painter.fillRect(rect().adjusted(swatchMargin, swatchMargin, -swatchMargin, -swatchMargin),
        displayColor(color_));
}
