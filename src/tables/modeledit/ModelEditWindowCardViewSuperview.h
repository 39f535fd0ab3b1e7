#pragma once

#include <QSize>

// What the card view asks of the window that hosts it: to link its key loop again after every
// swap, and to fit the window to the card view's minimum size.
class ModelEditWindowCardViewSuperview {
public:
    virtual ~ModelEditWindowCardViewSuperview() = default;

    virtual void connectWithCardView() = 0;
    virtual void updateSuperviewSizeWithCardViewMinSize(QSize cardViewMinSize) = 0;
};
