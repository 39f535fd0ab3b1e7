#pragma once

#include "calculation/results/UFemResultDataRecords.h"
#include "foundation/errors/UError.h"

#include <QByteArray>

// Reads the project texts and the model text of a result file of the older keyed-archive form
// into `contents`. False with the error when the data are no such file, need a newer reader or
// carry no model text.
[[nodiscard]] bool UFemReadOldFormatResultFile(
    const QByteArray& data, UFemResultDataContents* contents, UErrorPtr* error);
