#pragma once

// Terminating the EGL displays unloads the OpenGL driver. Kept mapped instead, what it allocated
// and keeps stays reachable from its data, or attributed to it in the leak suppressions, rather
// than turning into leaks of an unknown module at exit. Call before terminating the displays.
void keepOpenGLDriversLoaded();
