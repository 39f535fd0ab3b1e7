#pragma once

#include <QtGlobal>

#include <algorithm>
#include <array>

// The 3-D view draws with at most two OpenGL contexts, each for up to nine card type records.
inline constexpr quint64 UFemGraphicViewMaximumOpenGLContextCount = 2;
inline constexpr quint64 UFemGraphicViewCardTypeRecordCount = 9;

// The card type records one OpenGL context draws.
struct UFemGraphicViewTargetRecordIndexes {
    std::array<quint64, UFemGraphicViewCardTypeRecordCount> table {};
    quint64 count = 0;

    void assign(const quint64* indexes, quint64 indexCount);
};
