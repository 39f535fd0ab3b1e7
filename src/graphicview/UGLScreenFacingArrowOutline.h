#pragma once

// The flat outline of an arrow from `base` along `vector` that faces the viewer looking along
// `viewAxis` (all in one coordinate system): seven points (21 doubles) base + s·rod, neck + s·rod,
// neck + s·head/2, tip, neck − s·head/2, neck − s·rod, base − s·rod, where s is the unit of
// vector × viewAxis. `rodWidth` and `headSize` are lengths of that system. False, writing
// nothing, for a zero vector or one along the view axis, whose outline would be degenerate.
bool UGLMakeScreenFacingArrowOutline(double rodWidth, double headSize, double outline[21],
    const double base[3], const double vector[3], const double viewAxis[3]);
