// Reads arbitrary UTF-16 text as model text lines (the first byte picks the separator type) and
// checks what every line must satisfy: the index stops on the reported line end, a read line
// written back and read again gives the same columns and comment, an error line writes back as
// the line it kept, and the column parsers take every column without crashing.
#include "cardmodel/card/UFemCardTextColumns.h"
#include "cardmodel/text/UFemModelValueParser.h"
#include "cardmodel/text/UFemParenthesisBlockReader.h"
#include "foundation/strings/UUnicharString.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

QStringList columnsOf(const UFemCardTextColumns& columns)
{
    QStringList list;
    for (quint64 i = 0; i < columns.numberOfColumns(); ++i)
        list.append(columns.columnStringAtIndex(i).value_or(QString()));
    return list;
}

void parseEveryColumn(const QStringList& columns)
{
    for (const QString& column : columns) {
        URange range;
        URange other;
        double real = 0;
        qint64 integer = 0;
        bool flag = false;
        int direction = 0;
        UErrorPtr error;
        static_cast<void>(UFemParseRealColumnString(column, range, real, &error));
        static_cast<void>(UFemParseIntegerColumnString(column, range, integer, &error));
        static_cast<void>(UFemParseBoolColumnString(column, range, flag, &error));
        UFemParseCardNameColumnString(column, range, &error);
        static_cast<void>(
            UFemParseDegreeOfFreedomColumnString(column, range, other, direction, &error));
        require(URangeIsWithin(range, quint64(column.size())));
        const UUnicharString source(column);
        quint64 index = 0;
        UFemReadParenthesisBlock(source, index, source.length(), range, &error);
        require(index <= source.length());
    }
}

void checkWrittenLine(const UFemCardTextColumns& read, UFemColumnSeparatingCharacterType type)
{
    if (read.isErrorCard()) {
        require(read.cardString() == *read.errorCardString());
        return;
    }
    const auto writeType = type == UFemColumnSeparatingCharacterTypeCommaOrTab
        ? UFemColumnSeparatingCharacterTypeComma
        : type;
    const QString written = read.cardStringWithColumnSeparatingCharacterType(writeType);
    const UUnicharString source(written);
    UFemCardTextColumns again;
    quint64 index = 0;
    require(again.readModelStringCharactersFromString(source, index, type) == 0);
    require(!again.isErrorCard());
    require(columnsOf(again) == columnsOf(read));
    require(again.commentString() == read.commentString());
    parseEveryColumn(columnsOf(read));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const auto type = UFemColumnSeparatingCharacterType(1 + data[0] % 4);
    QString text(qsizetype((size - 1) / 2), Qt::Uninitialized);
    std::memcpy(text.data(), data + 1, size_t(text.size()) * 2);
    const UUnicharString source(text);
    quint64 index = 0;
    while (index <= source.length()) {
        UFemCardTextColumns read;
        const quint64 start = index;
        const char16_t stop = read.readModelStringCharactersFromString(source, index, type);
        require(index >= start && index <= source.length());
        require(stop == 0 ? index == source.length() : source.characterAtIndex(index) == stop);
        checkWrittenLine(read, type);
        UErrorPtr listError;
        static_cast<void>(UFemParseCardValueExpressionStringList(read.cardString(), &listError));
        if (stop == 0)
            break;
        ++index;
    }
    return 0;
}
