#pragma once

#include <QtGlobal>

// What the toolbar's move mode switch asks of the 3-D view's controller: its object move mode,
// 1 pointer, 2 move, 3 rotate, 4 roll, 5 zoom.
class UFemGraphicMoveModeController {
public:
    virtual ~UFemGraphicMoveModeController() = default;
    virtual quint64 objectMoveMode() const = 0;
    virtual void setObjectMoveMode(quint64 objectMoveMode) = 0;
};
