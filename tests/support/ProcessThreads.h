#pragma once

#include <QtGlobal>

// The threads of this process as the kernel lists them: a thread that was joined is gone from
// the count, one that was only told to end may still be in it.
quint64 processThreadCount();
