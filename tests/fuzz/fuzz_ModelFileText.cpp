// Decodes arbitrary bytes as a model file. Valid UTF-8 must decode and write back to the same
// bytes (a leading byte-order mark aside) unless it looks like UTF-16 without its mark, which is
// refused; anything else decodes only as UTF-16 behind its byte-order mark, into valid UTF-16
// that writes and decodes back alike. The rename of old class names must leave no row to rename.
#include "documents/document/UFemModelFileText.h"

#include <cstdint>
#include <cstdlib>

namespace {

const QByteArray utf8Mark("\xEF\xBB\xBF");
const QByteArray utf16LittleMark("\xFF\xFE");
const QByteArray utf16BigMark("\xFE\xFF");

void require(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    const QByteArray data(reinterpret_cast<const char*>(bytes), qsizetype(size));
    const std::optional<QString> text = UFemModelTextFromModelFileData(data);
    if (UFemModelFileDataLooksLikeUtf16WithoutMark(data)) {
        require(!text.has_value());
    } else if (QByteArrayView(data).isValidUtf8()) {
        require(text.has_value());
        const QByteArray written = UFemModelFileDataFromModelText(*text);
        require(written == (data.startsWith(utf8Mark) ? data.mid(utf8Mark.size()) : data));
    } else if (!data.startsWith(utf16LittleMark) && !data.startsWith(utf16BigMark)) {
        require(!text.has_value());
    }
    if (!text)
        return 0;
    require(QStringView(*text).isValidUtf16());
    const QByteArray written = UFemModelFileDataFromModelText(*text);
    require(UFemModelTextFromModelFileData(written) == *text || text->startsWith(QChar(0xFEFF))
        || UFemModelFileDataLooksLikeUtf16WithoutMark(written));
    require(
        !UFemModelTextHasRestraintExpressionRow(UFemModelTextReplacingRestraintExpression(*text)));
    return 0;
}
