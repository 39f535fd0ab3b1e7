// Randomly generated lines written with each separator type read back to the same columns,
// comment and numbers, in the C locale and in a locale whose decimal separator is a comma.
#include "cardmodel/card/UFemCardTextColumns.h"
#include "cardmodel/text/UFemModelValueParser.h"
#include "foundation/strings/UCLocaleFormat.h"
#include "foundation/strings/UUnicharString.h"

#include "ScopedLocale.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

namespace {

constexpr int LineCount = 3000;
constexpr int MaxColumns = 14;

// Legal inside a column: no comma, backslash, U+00A1, TAB or line end.
const QString WordCharacters
    = QStringLiteral("abcXYZ019_.-+@#()[]{}<>*/=:;!?'\"$%&~^|`\u00E9\u00DF\u03A9\u65E5\u00FF");
// A comment may hold commas and backslashes as well.
const QString CommentCharacters = WordCharacters + QStringLiteral(",\\,\\");

struct GeneratedLine {
    QStringList columns; // trimmed texts; empty for an empty column
    std::optional<QString> comment;
    QList<std::pair<qsizetype, double>> reals;
};

class LineGenerator {
public:
    explicit LineGenerator(unsigned seed)
        : random_(seed)
    {
    }

    GeneratedLine next()
    {
        GeneratedLine line;
        const int count = pick(0, MaxColumns);
        for (int i = 0; i < count; ++i) {
            const int kind = pick(0, 3);
            if (kind == 0) {
                line.columns.append(QString());
            } else if (kind == 1) {
                const double value = randomReal();
                line.reals.append({ line.columns.size(), value });
                line.columns.append(QString::fromLatin1(UCLocaleFormat("%.17g", value)));
            } else {
                line.columns.append(words(WordCharacters));
            }
        }
        if (pick(0, 2) > 0)
            line.comment = pick(0, 5) == 0 ? QString() : words(CommentCharacters);
        return line;
    }

    // Blanks and TABs around a text, which setting a column or comment trims.
    QString padded(const QString& text) { return blanks() + text + blanks(); }

private:
    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

    QString blanks()
    {
        static const QString choices[] = { QString(), u" "_qs, u"  "_qs, u"\t"_qs, u" \t "_qs };
        return choices[pick(0, 4)];
    }

    QString words(const QString& characters)
    {
        QString text;
        const int count = pick(1, 3);
        for (int w = 0; w < count; ++w) {
            if (w > 0)
                text += QString(pick(1, 2), u' ');
            const int length = pick(1, 8);
            for (int c = 0; c < length; ++c)
                text += characters[pick(0, int(characters.size()) - 1)];
        }
        return text;
    }

    double randomReal()
    {
        double value;
        do {
            quint64 bits = random_();
            std::memcpy(&value, &bits, sizeof value);
        } while (!std::isfinite(value));
        return pick(0, 3) == 0 ? double(pick(-1000, 1000)) / 8 : value;
    }

    std::mt19937_64 random_;
};

// The columns as they read back: trailing empty columns leave no token behind.
QStringList expectedColumns(QStringList columns)
{
    while (!columns.isEmpty() && columns.back().isEmpty())
        columns.removeLast();
    return columns;
}

UFemCardTextColumns build(LineGenerator& generator, const GeneratedLine& line)
{
    UFemCardTextColumns columns;
    UErrorPtr error;
    for (qsizetype i = 0; i < line.columns.size(); ++i)
        EXPECT_TRUE(columns.setColumnString(generator.padded(line.columns[i]), quint64(i), &error));
    if (line.comment) {
        EXPECT_TRUE(columns.setCommentString(generator.padded(*line.comment), &error));
    }
    EXPECT_FALSE(error) << (error ? error->localizedOneLineDescription().toStdString() : "");
    return columns;
}

QStringList columnsOf(const UFemCardTextColumns& columns)
{
    QStringList list;
    for (quint64 i = 0; i < columns.numberOfColumns(); ++i)
        list.append(columns.columnStringAtIndex(i).value_or(QString()));
    return list;
}

void expectReadsBack(
    const QList<GeneratedLine>& lines, const QString& text, UFemColumnSeparatingCharacterType type)
{
    const UUnicharString source(text);
    quint64 index = 0;
    for (const GeneratedLine& line : lines) {
        UFemCardTextColumns read;
        const char16_t stop = read.readModelStringCharactersFromString(source, index, type);
        UErrorPtr error;
        ASSERT_FALSE(read.isErrorCard()) << read.errorCardString()->toStdString() << " / "
                                         << read.cardErrorDescriptionString()->toStdString();
        EXPECT_EQ(columnsOf(read), expectedColumns(line.columns));
        // An empty comment is written as a bare backslash, which reads back as none.
        const bool hasText = line.comment && !line.comment->isEmpty();
        EXPECT_EQ(read.commentString(), hasText ? line.comment : std::nullopt);
        for (const auto& [column, value] : line.reals) {
            URange range;
            double parsed = 0;
            ASSERT_TRUE(UFemParseRealColumnString(
                *read.columnStringAtIndex(quint64(column)), range, parsed, &error));
            EXPECT_EQ(parsed, value);
        }
        ASSERT_NE(stop, 0);
        ++index;
    }
    EXPECT_EQ(index, source.length());
}

void roundTrip(unsigned seed)
{
    LineGenerator generator(seed);
    QList<GeneratedLine> lines;
    QString commaText;
    QString tabText;
    for (int i = 0; i < LineCount; ++i) {
        lines.append(generator.next());
        const UFemCardTextColumns columns = build(generator, lines.back());
        const QString lineEnd = i % 7 == 3 ? u"\r"_qs : u"\n"_qs;
        commaText += columns.cardString() + lineEnd;
        tabText += columns.cardStringWithColumnSeparatingCharacterType(
                       UFemColumnSeparatingCharacterTypeTab)
            + lineEnd;
    }
    expectReadsBack(lines, commaText, UFemColumnSeparatingCharacterTypeComma);
    expectReadsBack(lines, commaText, UFemColumnSeparatingCharacterTypeCommaOrTab);
    expectReadsBack(lines, tabText, UFemColumnSeparatingCharacterTypeTab);
    expectReadsBack(lines, tabText, UFemColumnSeparatingCharacterTypeCommaOrTab);
}

TEST(ModelTextRoundTrip, GeneratedLinesReadBackInTheCLocale)
{
    roundTrip(20261207);
}

TEST(ModelTextRoundTrip, GeneratedLinesReadBackUnderAGermanLocale)
{
    const ScopedLocale locale("de_DE.UTF-8");
    if (!locale.available())
        GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    URange range;
    double value = 0;
    UErrorPtr error;
    ASSERT_TRUE(UFemParseRealColumnString(u"2.5"_qs, range, value, &error));
    EXPECT_EQ(value, 2.5);
    roundTrip(4711);
}

} // namespace
