#pragma once

#include "tables/UFemColorWell.h"

// A colour well for colours with an opacity: its dialog shows the opacity control.
class UFemAlphaActivateColorWell : public UFemColorWell {
public:
    explicit UFemAlphaActivateColorWell(QWidget* parent = nullptr)
        : UFemColorWell(true, parent)
    {
    }
};
