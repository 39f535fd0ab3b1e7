#pragma once

#include <QString>

#include <functional>

// The card model's number formatter, installed at start-up so that the foundation's errors can
// print numbers as the rest of the program shows them. Until one is installed, numbers print
// with "%g". Installing an empty function restores that default.
void UFemSetNumberTextFunction(std::function<QString(double)> function);
QString UFemNumberText(double value);
