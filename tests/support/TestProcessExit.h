#pragma once

// Ends the threads that the libraries under test keep for the whole process (the shared thread
// pools; the OpenGL driver's threads behind the displays; Qt's pool), so that the leak check at
// exit stops a process whose only thread is the main one. The sanitizer runtime of GCC 12 takes
// some dynamic TLS blocks (those 16 bytes past a page boundary) for an old glibc's and records a
// range made of the allocator's header; its leak check then reads that range for every thread
// still alive and dies. Which of these threads a test program has depends on the library it
// links: one implementation per level.
void endProcessWideThreads();
