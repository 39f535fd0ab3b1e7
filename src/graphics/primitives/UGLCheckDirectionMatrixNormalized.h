#pragma once

// Checks that the rows r0, r1, r2 are an orthonormal right-handed frame of row length `length`
// (0: the length of r0) within one per cent, and leaves the corrected frame in place.
// True when the frame was normalized already.
[[nodiscard]] bool UGLCheckDirectionMatrixNormalized(double direction[3][3], double length);
