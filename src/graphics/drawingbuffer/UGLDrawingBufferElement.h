#pragma once

#include <QtGlobal>

#include <bit>
#include <cstring>
#include <type_traits>

// One 4-byte cell of a drawing buffer's command stream. A cell holds an unsigned 32-bit value, a
// float, or a one-byte flag in its first byte. Values go in and out by copying bytes, never by
// reading a union member other than the one written, so that the stream is defined behaviour and
// the replay can hand the floats straight to OpenGL's array pointers.
struct alignas(4) _UGLDrawingBufferElement {
    unsigned char bytes[4];

    quint32 unsignedValue() const
    {
        quint32 value;
        std::memcpy(&value, bytes, sizeof value);
        return value;
    }
    float floatValue() const { return std::bit_cast<float>(unsignedValue()); }
    // Only the first byte of a flag cell is written, so only it is read.
    bool flagValue() const { return bytes[0] != 0; }

    void setUnsignedValue(quint32 value) { std::memcpy(bytes, &value, sizeof value); }
    void setFloatValue(float value) { setUnsignedValue(std::bit_cast<quint32>(value)); }
    void setFlagValue(bool flag) { bytes[0] = flag ? 1 : 0; }
};
static_assert(sizeof(_UGLDrawingBufferElement) == 4);
static_assert(std::is_trivially_copyable_v<_UGLDrawingBufferElement>);
