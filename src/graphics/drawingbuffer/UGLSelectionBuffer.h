#pragma once

#include "graphics/opengl/UGLOpenGL.h"

#include <QtGlobal>

#include <functional>
#include <vector>

// One hit of an OpenGL selection pass: the name stack at the hit and the window depths of the hit
// primitives, scaled to 0 ... 2^32 - 1.
struct UGLSelectionHit {
    std::vector<quint32> names;
    quint32 minimumDepth;
    quint32 maximumDepth;
};

// Runs drawings in OpenGL's select render mode and reads the hit records. When the records do not
// fit (the render mode answers -1), the buffer grows and the drawing is done again; at the
// largest size the records that fit are kept, so the hits never become garbage.
class UGLSelectionBuffer {
public:
    static constexpr quint64 defaultCapacity = 4096;
    static constexpr quint64 defaultMaximumCapacity = quint64(1) << 22;
    // The name on the stack before the drawing loads one.
    static constexpr quint32 noName = ~quint32(0);

    explicit UGLSelectionBuffer(
        quint64 capacity = defaultCapacity, quint64 maximumCapacity = defaultMaximumCapacity);

    // With a context current: sets up selection (name stack with one name), runs `draw`, and
    // answers the hits in OpenGL's order. `didOverflow` (may be null) tells whether records were
    // lost because even the largest buffer was too small. A drawing that cannot be repeated (a
    // buffer replay consumes its blocks) is recorded into a display list as it runs, and the list
    // is called again after an overflow; a repeatable one (which may itself compile lists) is run
    // again instead.
    std::vector<UGLSelectionHit> selectHits(
        const std::function<void()>& draw, bool isDrawingRepeatable, bool* didOverflow);

    quint64 capacity() const { return buffer_.size(); }

private:
    // One select pass; the hit count is -1 when the records did not fit.
    void runPass(const std::function<void()>& draw, GLint* hitCount);
    // The first `hitCount` records, or with a negative count every record that fits whole.
    std::vector<UGLSelectionHit> readHits(qint64 hitCount) const;

    std::vector<quint32> buffer_;
    quint64 maximumCapacity_;
};
