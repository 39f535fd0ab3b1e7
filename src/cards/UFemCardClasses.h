#pragma once

#include <vector>

class UFemCardClass;

// The concrete card classes in the registry's order.
const std::vector<const UFemCardClass*>& UFemCardClassesInRegistryOrder();

// Gives the classes to the shared card class manager, once per process; call at start-up before
// the first model is made.
void UFemInstallCardClasses();
