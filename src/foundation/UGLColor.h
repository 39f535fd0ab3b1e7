#pragma once

// An RGBA colour of four doubles, each 0.0-1.0; the graphics engine draws with it and the
// preferences store it as an array of the same four numbers.
struct _UGLColor {
    double red = 0.0;
    double green = 0.0;
    double blue = 0.0;
    double alpha = 0.0;

    friend bool operator==(const _UGLColor&, const _UGLColor&) = default;
};
