// Feeds arbitrary bytes to the keyed-archive reader. Whatever the input, reading must answer with
// an archive or an error; an archive that reads must write, and what it writes must read back
// and write again to the same bytes.

#include "platform/KeyedArchive.h"

#include <cstdint>
#include <cstdlib>

namespace {

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
    KeyedArchiveError error;
    const std::optional<KeyedArchive> archive = KeyedArchive::fromData(data, &error);
    if (!archive) {
        require(!error.reason.isEmpty());
        return 0;
    }
    for (const KeyedArchiveField& field : archive->fields())
        archive->decodeIntegerForKey(field.key);
    const QByteArray written = archive->data(&error);
    require(!written.isEmpty());
    const std::optional<KeyedArchive> back = KeyedArchive::fromData(written, &error);
    // Sharing in the written archive may leave a tree that is large for so small a file.
    if (!back) {
        require(error.code == KeyedArchiveErrorCode::TooLarge);
        return 0;
    }
    require(back->fields().size() == archive->fields().size());
    require(back->data() == written);
    return 0;
}
