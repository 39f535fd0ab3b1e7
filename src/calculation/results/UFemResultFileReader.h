#pragma once

#include "calculation/results/UFemResultDataRecords.h"
#include "foundation/errors/UError.h"

#include <QByteArray>

#include <memory>

class UFemResultDataManagerImpl;

// Reads result-file data back into result data, every count, index and range of the file checked
// before it is used. Nullptr with `error` when not even the model text could be read; a manager
// with `readingError` (and carrying that error) when a later step failed; a complete manager
// otherwise.
class UFemResultFileReader {
public:
    [[nodiscard]] static std::shared_ptr<UFemResultDataManagerImpl> read(
        const QByteArray& resultFileData, UErrorPtr* readingResultDataError, UErrorPtr* error);

private:
    explicit UFemResultFileReader(const QByteArray& data)
        : data_(data)
    {
    }

    // Each step: nullptr on success, else the error that ends the reading.
    UErrorPtr readUpToModelText();
    UErrorPtr checkVersions() const;
    UErrorPtr readCalculationTexts();
    UErrorPtr readNames();
    UErrorPtr readTables();
    UErrorPtr readErrorTexts();
    UErrorPtr checkTables(
        const QByteArray& caseBytes, const QByteArray& nodeBytes, const QByteArray& valueBytes);
    UErrorPtr checkNodeRecords() const;
    [[nodiscard]] std::shared_ptr<UFemResultDataManagerImpl> managerAfterModelText(
        UErrorPtr* readingResultDataError);
    [[nodiscard]] std::shared_ptr<UFemResultDataManagerImpl> managerWithReadingError(
        const UErrorPtr& failure, UErrorPtr* readingResultDataError);

    const QByteArray& data_;
    UFemResultDataContents contents_;
    UErrorPtr calculationError_;
};
