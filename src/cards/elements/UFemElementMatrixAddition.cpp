#include "cards/elements/UFemElementMatrixAddition.h"

#include <cmath>

namespace {

constexpr quint64 UFemTranslationsPerNode = 3;
constexpr quint64 UFemValuesPerNodeForce = 6;

} // namespace

bool UFemIsEveryEntryFinite(const double* values, quint64 count)
{
    for (quint64 index = 0; index < count; ++index) {
        if (!std::isfinite(values[index]))
            return false;
    }
    return true;
}

void UFemMakeElementNodeForceTable(double* nodeForceTable, const double* stiffnessMatrix,
    const double* displacement, quint64 numberOfNode)
{
    const quint64 size = UFemTranslationsPerNode * numberOfNode;
    for (quint64 node = 0; node < numberOfNode; ++node) {
        double* nodeForce = nodeForceTable + UFemValuesPerNodeForce * node;
        for (quint64 direction = 0; direction < UFemTranslationsPerNode; ++direction) {
            const double* row
                = stiffnessMatrix + (UFemTranslationsPerNode * node + direction) * size;
            double force = 0.0;
            for (quint64 column = 0; column < size; ++column)
                force += row[column] * displacement[column];
            nodeForce[direction] = force;
            nodeForce[UFemTranslationsPerNode + direction] = 0.0;
        }
    }
}
