// Reads arbitrary UTF-8 text (the first byte picks the separator type) into a model of the real
// card classes with error cards, as opening a model file does. Every line must give one card; a
// card that read must write back the line's columns and comment unchanged (missing trailing
// columns write as empty ones), and an error card must keep the line as read (blanks at its ends
// and a written error tail aside).
#include "cardmodel/card/ErrorCard.h"
#include "cardmodel/card/UFemCardString.h"
#include "cardmodel/card/UFemCardTextColumns.h"
#include "cardmodel/card/UFemCardType.h"
#include "cardmodel/data/UFemDataController.h"
#include "cardmodel/text/UFemModelTextReader.h"
#include "cardmodel/text/UFemModelTextScanning.h"
#include "cards/UFemCardClasses.h"
#include "foundation/strings/UUnicharString.h"

#include <QCoreApplication>
#include <QDebug>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr char16_t byteOrderMark = 0xFEFF;

void require(bool condition, unsigned line = __builtin_LINE())
{
    if (!condition) {
        std::fprintf(stderr, "oracle failed at line %u\n", line);
        std::abort();
    }
}

// Shows both sides of a failed comparison, so that the log tells what went wrong.
template <typename Value>
void requireEqual(const Value& found, const Value& expected, unsigned line = __builtin_LINE())
{
    if (!(found == expected)) {
        qWarning() << "found" << found << "expected" << expected;
        require(false, line);
    }
}

// The columns without trailing empty ones, then the comment (an empty one as none); an error
// line has none.
QStringList contentsOf(const UFemCardTextColumns& record)
{
    QStringList list;
    if (record.isErrorCard())
        return list;
    for (quint64 i = 0; i < record.numberOfColumns(); ++i) {
        const QString text = record.columnStringAtIndex(i).value_or(QString());
        // A value column holding a sign alone is empty: the sign has no value to go with.
        const QString trimmed = text.trimmed();
        list.append(trimmed == u"+" || trimmed == u"-" ? QString() : text);
    }
    while (!list.isEmpty() && list.last().isEmpty())
        list.removeLast();
    list.append(record.commentString().value_or(QString()));
    return list;
}

UFemCardTextColumns readLine(const QString& line, UFemColumnSeparatingCharacterType type)
{
    UFemCardTextColumns record;
    const UUnicharString source(line);
    quint64 index = 0;
    record.readModelStringCharactersFromString(source, index, type);
    return record;
}

std::vector<QString> linesOf(const QString& text)
{
    const UUnicharString source(text);
    const quint64 length = source.length();
    std::vector<QString> lines;
    quint64 index = length > 0 && source.characterAtIndex(0) == byteOrderMark ? 1 : 0;
    while (index < length) {
        const quint64 end = UFemLineEndIndex(source, index, length);
        lines.push_back(text.mid(qsizetype(index), qsizetype(end - index)));
        index = UFemIndexAfterLineEnd(source, end, length);
    }
    return lines;
}

// The line as an error card keeps it: without a written error tail and blanks at its ends.
QString keptLine(const QString& line)
{
    const UUnicharString source(line);
    const quint64 end = UFemWrittenErrorTailIndex(source, 0, source.length());
    qsizetype first = 0;
    qsizetype last = qsizetype(end);
    while (first < last && (line[first] == u' ' || line[first] == u'\t'))
        ++first;
    while (last > first && (line[last - 1] == u' ' || line[last - 1] == u'\t'))
        --last;
    return line.mid(first, last - first);
}

// A line the text reader refuses is kept as read; a line refused only by its card class may be
// kept as written in the comma form of model files, with the same contents.
void checkCard(UFemCard& card, const QString& line, UFemColumnSeparatingCharacterType type)
{
    const UFemCardTextColumns read = readLine(line, type);
    const QStringList expected = contentsOf(read);
    if (card.cardType() == UFemErrorCardType) {
        const QString kept
            = dynamic_cast<const ErrorCard&>(card).errorCardString_NoCardErrorDescription();
        require(keptLine(kept) == keptLine(line)
            || (!read.isErrorCard()
                && contentsOf(readLine(kept, UFemColumnSeparatingCharacterTypeComma)) == expected));
        return;
    }
    require(!read.isErrorCard());
    requireEqual(contentsOf(*card.cardTextColumns()), expected);
    const auto writeType = type == UFemColumnSeparatingCharacterTypeCommaOrTab
        ? UFemColumnSeparatingCharacterTypeComma
        : type;
    requireEqual(
        contentsOf(readLine(UFemCardStringWithSeparator(card, writeType), type)), expected);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication application(*argc, *argv);
    UFemInstallCardClasses();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const auto type = UFemColumnSeparatingCharacterType(1 + data[0] % 4);
    const QString text
        = QString::fromUtf8(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    // One model for all inputs: each reading resets it, as opening a file does.
    static UFemDataController controller;
    UErrorPtr error;
    require(controller.resetWithModelText(text, type, true, &error));
    const std::vector<QString> lines = linesOf(text);
    require(controller.cardCount() == lines.size());
    for (quint64 row = 0; row < lines.size(); ++row)
        checkCard(*controller.cardAtCardRowIndex(row), lines[row], type);
    return 0;
}
