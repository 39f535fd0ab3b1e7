#pragma once

#include "calculation/results/UFemResultDataManager_ClipboardCardValueImpl.h"

struct UFemDataControllerServices;

// Gives the data controllers the result-file reader and the reader of pasted card values.
// `repeatedNameAlert` shows the warning of a name pasted twice (the application's modal alert).
void UFemInstallResultDataServices(UFemDataControllerServices& services,
    UFemResultDataManager_ClipboardCardValueImpl::RepeatedNameAlert repeatedNameAlert);
