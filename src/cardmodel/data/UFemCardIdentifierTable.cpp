#include "cardmodel/data/UFemCardIdentifierTable.h"

bool UFemCardIdentifierTable::holdsNumberFrom(quint64 number) const
{
    bool holds = false;
    cards_.forEach([&](quint64 key, UFemCard*) { holds = holds || key > number; });
    return holds;
}
