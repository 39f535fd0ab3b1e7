// Loads arbitrary UTF-8 text (the first byte picks the separator type) as pasted card values.
// A text is refused exactly when one of its lines gives no name and value; a refused text leaves
// no value, and a loaded one holds, for each of its lines read as columns, the
// value of the last line naming the card, counts every line and warns exactly when a name repeats.
#include "calculation/results/UFemResultDataManager_ClipboardCardValueImpl.h"
#include "cardmodel/card/UFemCardTextColumns.h"
#include "cardmodel/text/UFemModelTextScanning.h"
#include "cardmodel/text/UFemModelValueParser.h"
#include "foundation/strings/UUnicharString.h"

#include <QHash>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

bool isSameValue(double a, double b)
{
    return a == b || (std::isnan(a) && std::isnan(b));
}

bool isBlank(const QString& line, UFemColumnSeparatingCharacterType type)
{
    return std::all_of(line.cbegin(), line.cend(), [type](QChar unit) {
        return unit == u' ' || (unit == u'\t' && !UFemIsTabSeparator(type));
    });
}

// The name and value of every line, by the text-columns reader; false when a line gives no name
// and value (a blank last line aside).
bool readLines(const QString& text, UFemColumnSeparatingCharacterType type,
    QHash<QString, double>& values, quint64& count)
{
    const UUnicharString source(text);
    const quint64 length = source.length();
    quint64 index = 0;
    while (index < length) {
        const quint64 end = UFemLineEndIndex(source, index, length);
        const UUnicharString line(text.mid(qsizetype(index), qsizetype(end - index)));
        quint64 at = 0;
        UFemCardTextColumns record;
        record.readModelStringCharactersFromString(line, at, type);
        if (record.isErrorCard())
            return false;
        if (end == length && isBlank(line.string(), type))
            break;
        if (record.numberOfColumns() < 2)
            return false;
        const QString name = record.columnStringAtIndex(0).value_or(QString());
        const QString valueText = record.columnStringAtIndex(1).value_or(QString());
        for (quint64 column = 2; column < record.numberOfColumns(); ++column) {
            if (!record.columnStringAtIndex(column).value_or(QString()).isEmpty())
                return false;
        }
        URange range;
        double value = 0;
        UErrorPtr error;
        if (name.isEmpty() || valueText.isEmpty()
            || !UFemParseRealColumnString(valueText, range, value, &error))
            return false;
        values.insert(name, value);
        ++count;
        index = UFemIndexAfterLineEnd(source, end, length);
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const auto type = UFemColumnSeparatingCharacterType(1 + data[0] % 4);
    const QString text
        = QString::fromUtf8(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    quint64 warnings = 0;
    UFemResultDataManager_ClipboardCardValueImpl manager(
        nullptr, [&warnings](const QString&, const QString&) { ++warnings; });
    QHash<QString, double> values;
    quint64 count = 0;
    const bool reads = readLines(text, type, values, count);
    UErrorPtr error;
    if (!manager.loadClipboardCardValueWithClipboardCardValueString(text, type, &error)) {
        require(!reads);
        require(error != nullptr && manager.clipboardCardValueCount() == 0 && warnings == 0);
        return 0;
    }
    require(error == nullptr && reads);
    require(manager.clipboardCardValueCount() == count);
    require(warnings == (quint64(values.size()) == count ? 0 : 1));
    for (auto entry = values.cbegin(); entry != values.cend(); ++entry) {
        double value = 0;
        require(manager.getClipboardCardValue(&value, entry.key()));
        require(isSameValue(value, entry.value()));
    }
    return 0;
}
