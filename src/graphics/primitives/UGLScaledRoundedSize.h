#pragma once

#include <QSizeF>
#include <QtGlobal>

// Every points-to-pixels conversion of the graphics engine rounds here, so that an image, its
// viewport and its legend agree to the pixel. Each value becomes the integer part of
// value x scale + 0.5; negative or non-finite products give 0 and huge ones saturate, since an
// unsigned conversion of them would be undefined.
void UGLScaledRoundedIntegerSize(
    double width, double height, double scale, quint64* outWidth, quint64* outHeight);
QSizeF UGLScaledRoundedSize(double width, double height, double scale);
