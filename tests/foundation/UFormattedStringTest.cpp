#include "foundation/strings/UFormattedString.h"
#include "foundation/errors/UFemErrorsFile.h"

#include <QCoreApplication>
#include <QTranslator>

#include "ScopedLocale.h"

#include "ErrorExpectation.h"

#include <limits>

TEST(ErrorFrameFormatting, ObjectAndUnitConversions)
{
    EXPECT_EQ(UFormattedString("Unknown File Type '%@'.", QStringLiteral("xyz")),
        "Unknown File Type 'xyz'.");
    EXPECT_EQ(UFormattedString("%@@%@", QStringLiteral("node"), QStringLiteral("TX")), "node@TX");
    EXPECT_EQ(UFormattedString("[%C]", QChar(0x00E9)), QString::fromUtf8("[\u00E9]"));
    EXPECT_EQ(UFormattedString("[%C]", char16_t(u'x')), "[x]");
    EXPECT_EQ(UFormattedString("100%% of %@", "text"), "100% of text");
    // A number for %@ prints as its shortest text.
    EXPECT_EQ(UFormattedString("%@ %@ %@", 3, 2.5, quint64(7)), "3 2.5 7");
    EXPECT_EQ(UFormattedString("'%5@' '%-5@' '%.2@'", QStringLiteral("ab"), QStringLiteral("ab"),
                  QStringLiteral("abc")),
        "'   ab' 'ab   ' 'ab'");
}

TEST(ErrorFrameFormatting, IntegerConversions)
{
    EXPECT_EQ(UFormattedString("%lu columns, %ld names, %i, %d", quint64(18446744073709551615ull),
                  qint64(-3), 42, -7),
        "18446744073709551615 columns, -3 names, 42, -7");
    EXPECT_EQ(UFormattedString("%+03i|%5lu|%-4d|", 5, 12u, 3), "+05|   12|3   |");
    EXPECT_EQ(UFormattedString("_%*lu%*lu", 3, 7u, 2, 45u), "_  745");
    EXPECT_EQ(UFormattedString("%x %X %o", 255, 255, 8), "ff FF 10");
    EXPECT_EQ(UFormattedString("%ld", std::numeric_limits<qint64>::min()), "-9223372036854775808");
}

TEST(ErrorFrameFormatting, FloatingConversions)
{
    EXPECT_EQ(UFormattedString("%f", 1.5), "1.500000");
    EXPECT_EQ(UFormattedString("%g %g %g", 0.0001, 1e20, 100.0), "0.0001 1e+20 100");
    EXPECT_EQ(UFormattedString("%5.2f|%5.1f|%5.3f", 3.14159, 2.0, 1.0), " 3.14|  2.0|1.000");
    EXPECT_EQ(UFormattedString("%#+*.*f", 10, 3, 1.0), "    +1.000");
    EXPECT_EQ(UFormattedString("%+.0e|%#+.*e|%#+.*E", 12345.0, 2, 0.5, 1, 25.0),
        "+1e+04|+5.00e-01|+2.5E+01");
    EXPECT_EQ(UFormattedString("%f", 2), "2.000000");
}

TEST(ErrorFrameFormatting, NumbersIgnoreTheProcessLocale)
{
    ScopedLocale german("de_DE.UTF-8");
    if (!german.available())
        GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    EXPECT_EQ(UFormattedString("%f %g %5.2f", 1.5, 0.25, 3.14159), "1.500000 0.25  3.14");
}

TEST(ErrorFrameFormatting, MissingAndSurplusArgumentsAndStrayPercent)
{
    EXPECT_EQ(UFormattedString("a %@ b %lu c"), "a  b  c");
    EXPECT_EQ(UFormattedString("only %@", "one", "two"), "only one");
    EXPECT_EQ(UFormattedString("end %"), "end %");
    EXPECT_EQ(UFormattedString("odd %y here"), "odd %y here");
    // Absurd widths and precisions are capped.
    EXPECT_EQ(UFormattedString("%*d", std::numeric_limits<qint64>::min(), 1).size(), 1024);
    EXPECT_EQ(UFormattedString("%999999999d", 1).size(), 1024);
    EXPECT_EQ(UFormattedString("%.99999f", 1.0).size(), 1026);
}

TEST(ErrorFrameFormatting, LocalizedTextIsItsOwnKeyWhenUntranslated)
{
    EXPECT_EQ(ULocalizedFormattedString("Card '%@' not exist.", QStringLiteral("n1")),
        "Card 'n1' not exist.");
    EXPECT_EQ(ULocalizedFormattedString(""), "");
}

namespace {

// A translation table of two entries, looked up by the English text.
class GermanTranslator : public QTranslator {
public:
    bool isEmpty() const override { return false; }
    QString translate(const char*, const char* sourceText, const char*, int) const override
    {
        if (qstrcmp(sourceText, "Unknown File Type '%@'.") == 0)
            return QStringLiteral("Unbekannter Dateityp '%@'.");
        if (qstrcmp(sourceText, "The file can't be opened.") == 0)
            return QStringLiteral("Die Datei kann nicht ge\u00f6ffnet werden.");
        return QString();
    }
};

} // namespace

TEST(ErrorFrameFormatting, TranslationIsLookedUpByTheEnglishText)
{
    GermanTranslator translator;
    ASSERT_TRUE(QCoreApplication::installTranslator(&translator));
    const UErrorPtr error = UFemUnknownFileTypeError_withFileTypeString(QStringLiteral("xyz"));
    QCoreApplication::removeTranslator(&translator);
    EXPECT_EQ(error->localizedDescription(), "Unbekannter Dateityp 'xyz'.");
    EXPECT_EQ(error->localizedRecoverySuggestion(),
        QString::fromUtf8("Die Datei kann nicht ge\u00f6ffnet werden."));
    // Untranslated texts stay English.
    EXPECT_EQ(
        error->localizedOneLineDescription(), "Unknown File Type 'xyz'. The file can't be opened.");
    EXPECT_EQ(ULocalizedFormattedString(QStringLiteral("%@ left"), 3), "3 left");
}
