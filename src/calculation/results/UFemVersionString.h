#pragma once

#include <QString>

// The version text of a version number shown in messages: 801051 is "0.8.1.5.1", 800000 "0.8";
// a null string above 999999.
QString UFemVersionStringWithVersionNumber(quint64 versionNumber);
