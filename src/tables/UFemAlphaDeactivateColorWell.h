#pragma once

#include "tables/UFemColorWell.h"

// A colour well for opaque colours: its dialog hides the opacity control and the colour keeps
// its opacity.
class UFemAlphaDeactivateColorWell : public UFemColorWell {
public:
    explicit UFemAlphaDeactivateColorWell(QWidget* parent = nullptr)
        : UFemColorWell(false, parent)
    {
    }
};
