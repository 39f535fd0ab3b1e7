#pragma once

#include <QtGlobal>

// The size and cost of one restraint set's solution, for reports and benchmarks.
struct UFemWFSolutionFigures {
    quint64 pageCount = 0; // of 48 equations each
    quint64 maxPageBandWidth = 0; // pages of the widest envelope row
    double avePageBandWidth = 0.0;
    quint64 estimatedMemoryCapacity = 0; // bytes, before the factor was allocated
    quint64 factorValueMemoryCapacity = 0; // bytes of L's blocks
    quint64 stiffnessValueMemoryCapacity = 0; // bytes of K's blocks
    quint64 floatingOperations = 0; // the solution's progress total in operations
    bool factorPagesFellBack = false; // see _UFemWFMatrixCalculationContext
    double nodeOrderingSeconds = 0.0;
    double buildCalculationMatrixSeconds = 0.0;
    double runCalculationSeconds = 0.0;
};
