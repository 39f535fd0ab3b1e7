#include "cards/elements/UFemRodElementMatrix.h"

#include <cmath>

namespace {

constexpr int UFemRodNodeDOFCount = 3;
constexpr int UFemRodElementDOFCount = 6;
constexpr int UFemStrainComponentCount = 6;

// Direction from Node 1 to Node 2 scaled by 1/L, the form in which every rod formula uses it.
void unitDirection(double direction[3], const double location1[3], const double location2[3])
{
    const double lengthInverse = 1.0 / UFemRodLength(location1, location2);
    for (int axis = 0; axis < UFemRodNodeDOFCount; ++axis)
        direction[axis] = (location2[axis] - location1[axis]) * lengthInverse;
}

} // namespace

double UFemRodLength(const double location1[3], const double location2[3])
{
    double sum = 0.0;
    for (int axis = 0; axis < UFemRodNodeDOFCount; ++axis) {
        const double difference = location2[axis] - location1[axis];
        sum += difference * difference;
    }
    return std::sqrt(sum);
}

void UFemRodMakeElementStiffnessMatrix(double stiffnessMatrix[36], const double location1[3],
    const double location2[3], double youngsModulus, double sectionArea)
{
    const double axialStiffness
        = youngsModulus * sectionArea * (1.0 / UFemRodLength(location1, location2));
    double direction[3];
    unitDirection(direction, location1, location2);
    for (int row = 0; row < UFemRodNodeDOFCount; ++row) {
        for (int column = 0; column < UFemRodNodeDOFCount; ++column) {
            const double term = direction[row] * direction[column] * axialStiffness;
            const int near = row * UFemRodElementDOFCount + column;
            const int far = (row + UFemRodNodeDOFCount) * UFemRodElementDOFCount + column;
            stiffnessMatrix[near] = term;
            stiffnessMatrix[near + UFemRodNodeDOFCount] = -term;
            stiffnessMatrix[far] = -term;
            stiffnessMatrix[far + UFemRodNodeDOFCount] = term;
        }
    }
}

double UFemRodAxialStrain(const double location1[3], const double location2[3],
    const double displacement1[3], const double displacement2[3])
{
    const double lengthInverse = 1.0 / UFemRodLength(location1, location2);
    double direction[3];
    unitDirection(direction, location1, location2);
    double extension = 0.0;
    for (int axis = 0; axis < UFemRodNodeDOFCount; ++axis)
        extension += direction[axis] * (displacement2[axis] - displacement1[axis]);
    return lengthInverse * extension;
}

void UFemRodMakeStrainVector(double strain[6], double axialStrain, double poissonsRatio)
{
    for (int component = 0; component < UFemStrainComponentCount; ++component)
        strain[component] = 0.0;
    strain[0] = axialStrain;
    strain[1] = -poissonsRatio * axialStrain;
    strain[2] = -poissonsRatio * axialStrain;
}

void UFemRodMakeStressVector(double stress[6], double axialStrain, double youngsModulus)
{
    for (int component = 0; component < UFemStrainComponentCount; ++component)
        stress[component] = 0.0;
    stress[0] = youngsModulus * axialStrain;
}
