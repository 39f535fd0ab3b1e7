#pragma once

#include <QtGlobal>

// The threads this process started, as the kernel lists them. ThreadSanitizer's own thread is not
// counted.
quint64 processThreadCount();

// Waits up to two seconds for the count to fall to at most `count` and answers the last count
// seen. A joined thread can stay listed a moment: the kernel wakes the joiner before it drops
// the thread from the list, longer so on a loaded machine.
quint64 processThreadCountAfterExits(quint64 count);
