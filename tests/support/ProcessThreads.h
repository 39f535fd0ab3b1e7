#pragma once

#include <QtGlobal>

// The threads this process started, as the kernel lists them: a thread that was joined is gone
// from the count, one that was only told to end may still be in it. ThreadSanitizer's own thread
// is not counted.
quint64 processThreadCount();
