#pragma once

#include <QtGlobal>

// Integration points and weights over the natural coordinate interval [-1, 1], per dimension one
// rule chosen by an integral number: -1 to -5 Gauss-Legendre with |n| points, 1 to 120 n equal
// cells with a point in the middle of each. Pure functions, callable from any thread.

// The one-dimensional point `index` of the rule and its weight. A Gauss-Legendre index at or past
// |n| is a program error.
void UFemGaussLegendrePointAndWeight(
    double* weight, double* point, int integralNumber, quint64 index);

// Point `index` of a rule of 1, 2 or 3 dimensions, the last dimension varying fastest: its
// coordinates into `pointArray` (one per dimension) and the product of the weights. Integral
// numbers of dimensions above `dimensionNumber` are ignored.
void UFemGaussIntegrationPoints(double* weight, double* pointArray, quint64 dimensionNumber,
    int integralNumber1, int integralNumber2, int integralNumber3, quint64 index);

// The number of points of the rule.
quint64 UFemIntegrationPointCount(
    quint64 dimensionNumber, int integralNumber1, int integralNumber2, int integralNumber3);
