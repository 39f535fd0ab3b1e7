#pragma once

#include <QString>
#include <QtGlobal>

#include <array>

// The states of the three directions of one DOF triple (the three translations or the three
// rotations of a node), one byte per direction, byte 0 for direction 0. The triple is also read as
// one word (byte d at bits 8d..8d+7, the fourth byte always 0) so that a whole triple is tested at
// once.
inline constexpr quint8 UFemNodeDOFStateValid = 1;
inline constexpr quint8 UFemNodeDOFStateRestrained = 2;
inline constexpr quint8 UFemNodeDOFStateZeroStiffness = 4;

struct _UFemNode3DOFState {
    std::array<quint8, 4> state {};

    constexpr quint32 integer() const
    {
        return quint32(state[0]) | quint32(state[1]) << 8 | quint32(state[2]) << 16
            | quint32(state[3]) << 24;
    }
    constexpr void setInteger(quint32 value)
    {
        for (int i = 0; i < 4; ++i)
            state[i] = quint8(value >> (8 * i));
    }

    constexpr bool hasValidDOF() const { return (integer() & 0x010101u) != 0; }
    constexpr bool hasValidOrRestrainedDOF() const { return (integer() & 0x030303u) != 0; }
    constexpr bool hasNotValidDOF() const { return (integer() & 0xFEFEFEu) != 0; }
    constexpr bool isAllRestrained() const { return integer() == 0x020202u; }
    constexpr bool isAllZeroStiffness() const { return integer() == 0x040404u; }
};

inline constexpr quint32 UFemNode3DOFStateAllValid = 0x010101u;

// "Valid", "Restrained", "ZeroStiffness", or "UnknownState", for the low byte of `state`.
QString UFemNodeDOFStateName(quint64 state);
