#pragma once

#include <atomic>

// Whether the 3-D view writes its drawing time: off at start, set by the preference panel and
// read by the view when it draws (on any thread).
inline std::atomic<bool> UFemDoesDisplayGraphicViewDrawingTime { false };
