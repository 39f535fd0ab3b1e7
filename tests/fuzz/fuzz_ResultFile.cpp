// Feeds arbitrary bytes to the result-file reader. Every input must end as no result with an
// error, a result that carries its reading error, or a complete result whose every query stays in
// bounds and which writes the same file again after a round trip (in both byte orders).

#include "calculation/results/UFemResultDataManagerImpl.h"
#include "calculation/results/UFemResultFileWriter.h"

#include <cstdint>
#include <cstdlib>

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

void queryEverything(const UFemResultDataManagerImpl& resultData)
{
    for (quint64 q = 0; q < resultData.caseCount(); ++q) {
        for (quint64 n = 0; n < resultData.nodeCount(); ++n) {
            double values[6];
            quint8 states[6];
            std::optional<QString> errorText;
            static_cast<void>(resultData.getNodeDisplacement(
                values, states, n, UFemRotationIndexSetBoth, q, &errorText, nullptr));
        }
    }
}

std::shared_ptr<UFemResultDataManagerImpl> readComplete(const QByteArray& data)
{
    UErrorPtr readingError;
    UErrorPtr error;
    auto resultData
        = UFemResultDataManagerImpl::initWithResultFileData(data, &readingError, &error);
    require(resultData != nullptr && readingError == nullptr && error == nullptr);
    require(resultData->canSynchronizeNodeNoAndCaseNoWithModelData());
    return resultData;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    const QByteArray data(reinterpret_cast<const char*>(bytes), qsizetype(size));
    UErrorPtr readingError;
    UErrorPtr error;
    const auto resultData
        = UFemResultDataManagerImpl::initWithResultFileData(data, &readingError, &error);
    if (resultData == nullptr) {
        require(error != nullptr && readingError == nullptr);
        return 0;
    }
    require(error == nullptr && resultData->modelText().has_value());
    if (readingError) {
        require(!resultData->canSynchronizeNodeNoAndCaseNoWithModelData());
        require(resultData->calculationError() != nullptr);
        return 0;
    }
    queryEverything(*resultData);
    const std::optional<QByteArray> written = resultData->resultFileData(nullptr);
    require(written.has_value());
    const auto again = readComplete(*written);
    queryEverything(*again);
    require(again->resultFileData(nullptr) == written);
    const std::optional<QByteArray> swapped
        = UFemResultFileDataWithContents(resultData->contents(), 2, nullptr);
    require(swapped.has_value());
    require(readComplete(*swapped)->resultFileData(nullptr) == written);
    return 0;
}
