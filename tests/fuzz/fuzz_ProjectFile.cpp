// Feeds arbitrary bytes to the project-file reader. Whatever the input, reading must answer with
// the project's contents or the project-file error; contents that read must write and read back
// the same.

#include "documents/document/UFemProjectFile.h"

#include <cstdint>
#include <cstdlib>

namespace {

constexpr qint64 UnknownProjectFileCode = 11003;
constexpr qint64 NewerProjectFileCode = 11004;

void require(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    const QByteArray data
        = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes), qsizetype(size));
    UErrorPtr error;
    const std::optional<UFemProjectFileContents> contents = UFemReadProjectFileData(data, &error);
    if (!contents) {
        require(error != nullptr);
        require(error->code() == UnknownProjectFileCode || error->code() == NewerProjectFileCode);
        return 0;
    }
    const std::optional<UFemProjectFileContents> back
        = UFemReadProjectFileData(UFemProjectFileData(*contents), &error);
    require(back.has_value());
    require(back->projectTitleString == contents->projectTitleString);
    require(back->projectModelFilePathString == contents->projectModelFilePathString);
    require(back->projectDoesLoadResultDataAuto == contents->projectDoesLoadResultDataAuto);
    return 0;
}
