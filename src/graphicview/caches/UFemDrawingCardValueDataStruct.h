#pragma once

#include "cardmodel/card/UFemCard.h"
#include "foundation/UFemCardValueArraySize.h"

#include <array>

// What one drawn card draws with: its nodes' deformed positions (x, y, z, then the rotations
// times the displacement factor, six doubles per node) and the value that colours it.
struct UFemDrawingCardValueDataStruct {
    static constexpr quint64 inlineNodeCount = 8;
    static constexpr quint64 doublesPerNode = 6;
    static constexpr quint64 inlineValueCount = 8;

    enum ColorValueStatus : quint64 { NoValue = 0, ValueValid = 1, GettingValueFailed = 2 };

    UFemCard* card = nullptr; // held by the cache's card table
    bool isNodeDataValid = false;
    quint64 colorValueStatus = NoValue;
    _UFemCardValueArraySize colorValueArraySize {};
    double* nodeTable = nullptr;
    double* colorValues = nullptr;
    std::array<double, inlineNodeCount * doublesPerNode> inlineNodeTable;
    std::array<double, inlineValueCount> inlineColorValues;

    void reset(UFemCard* drawnCard)
    {
        card = drawnCard;
        isNodeDataValid = false;
        colorValueStatus = NoValue;
        colorValueArraySize = {};
        nodeTable = nullptr;
        colorValues = nullptr;
    }
};
