#pragma once

class UOpenGLManager;

// Makes a manager's context current on this thread for the guard's life and releases it on
// every way out, so that the next thread (or frame) can take it.
class UFemOpenGLCurrentContext {
public:
    explicit UFemOpenGLCurrentContext(UOpenGLManager& manager);
    ~UFemOpenGLCurrentContext();
    UFemOpenGLCurrentContext(const UFemOpenGLCurrentContext&) = delete;
    UFemOpenGLCurrentContext& operator=(const UFemOpenGLCurrentContext&) = delete;

    bool isCurrent() const { return isCurrent_; }

private:
    bool isCurrent_;
};
