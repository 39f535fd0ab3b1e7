#include "foundation/strings/UFemNumberFormatter.h"
#include "foundation/UFemFolderItemKeys.h"
#include "foundation/errors/UFemErrorsColorScale.h"

#include "ScopedLocale.h"

#include <QCborValue>
#include <QSet>

#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <functional>
#include <limits>
#include <string>
#include <thread>
#include <vector>

namespace {

UFemNumberFormatter formatterWith(const QVariantMap& dictionary)
{
    return UFemNumberFormatter::numberFormatterWithPreferenceNumberFormatter(dictionary);
}

UFemNumberFormatter hintedResultTable()
{
    UFemNumberFormatter formatter = UFemNumberFormatter::defaultResultTableNumberFormatter();
    formatter.setNumberFormatterHintWithMaxValue(12345.6789);
    return formatter;
}

UFemNumberFormatter noExponent(qulonglong digits, bool extends)
{
    return formatterWith({ { UFemNumberFormatterNumberOfDigitsKey, digits },
        { UFemNumberFormatterExponentialNumberFormatTypeKey, UFemNoExponentialNumberFormatType },
        { UFemNumberFormatterDoesAllowExtendLengthKey, extends } });
}

UFemNumberFormatter leftEdgeComputer()
{
    return formatterWith({ { UFemNumberFormatterNumberOfDigitsKey, 6 },
        { UFemNumberFormatterIsLeftEdgeDecimalPointKey, true } });
}

struct WorkedResult {
    const char* formatter;
    std::function<QString(double)> format;
    double value;
    const char* text;
};

std::vector<WorkedResult> workedResults()
{
    const auto writtenFile = [](double v) {
        return UFemNumberFormatter::defaultWritingFileNumberFormatter().stringWithValue(v);
    };
    const auto resultTable = [](double v) {
        return UFemNumberFormatter::defaultResultTableNumberFormatter().stringWithValue(v);
    };
    const auto hinted = [](double v) { return hintedResultTable().stringWithValue(v); };
    const auto style3 = [](double v) { return noExponent(6, true).stringWithValue(v); };
    const auto style3Fixed = [](double v) { return noExponent(6, false).stringWithValue(v); };
    const auto leftEdge = [](double v) { return leftEdgeComputer().stringWithValue(v); };
    const auto narrow = [](double v) { return noExponent(3, false).stringWithValue(v); };
    return {
        { "written file", writtenFile, 0.0, "+0.00000000000E+00" },
        { "written file", writtenFile, 12345.6789, "+1.23456789000E+04" },
        { "written file", writtenFile, -0.000123456, "-1.23456000000E-04" },
        { "written file", writtenFile, 1e100, "+1.00000000000E+100" },
        { "simple, 4 digits", [](double v) { return UFemNumberFormatter::quickStringWithValue(v); },
            9.9999996, "+1.000E+01" },
        { "result table, no hint", resultTable, 12345.6789, "+1.23457E+04" },
        { "result table, hinted", hinted, -123.4, "-0.01234E+04" },
        { "result table, hinted", hinted, 0.0, "+0.00000E+04" },
        { "result table, hinted", hinted, 1234567.0, "+123.45670E+04" },
        { "style 3", style3, 12345.6789, "+12345.7" },
        { "style 3", style3, -0.000123456, "-0.00012" },
        { "style 3", style3, 12345678.0, "+12345678." },
        { "style 3", style3, 1e20, "+1.0e+20" },
        { "style 3, no extension", style3Fixed, 1234567.0, "+1234567" },
        { "left edge", leftEdge, 1.0, "+.100000E+01" },
        { "left edge", leftEdge, 99999.97, "+.100000E+06" },
        { "style 3, 3 digits, no extension", narrow, 99999.0, "*****" },
    };
}

void expectWorkedResults()
{
    const std::vector<WorkedResult> results = workedResults();
    ASSERT_EQ(results.size(), 17u);
    for (const WorkedResult& result : results)
        EXPECT_EQ(result.format(result.value).toStdString(), result.text)
            << result.formatter << " of " << result.value;
}

} // namespace

TEST(NumberFormatter, WorkedResults)
{
    expectWorkedResults();
}

TEST(NumberFormatterLocale, WorkedResultsUnderAGermanLocale)
{
    ScopedLocale german("de_DE.UTF-8");
    if (!german.available())
        GTEST_SKIP() << "the de_DE.UTF-8 locale is not installed";
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 1.5);
    ASSERT_STREQ(probe, "1,5") << "the locale does not switch the decimal separator";
    expectWorkedResults();
}

TEST(NumberFormatter, MissingKeysGiveTheDefaults)
{
    const UFemNumberFormatter empty = formatterWith({});
    EXPECT_EQ(empty.numberOfDigits(), 6u);
    EXPECT_EQ(empty.numberExponentialFormatterType(), UFemNumberFormatter::ComputerStyle);
    EXPECT_FALSE(empty.doesUseConstantExponentialNumber());
    EXPECT_TRUE(empty.doesAllowExtendLength());
    EXPECT_FALSE(empty.isLeftEdgeDecimalPoint());
    EXPECT_FALSE(empty.numberFormatterFont().has_value());
    EXPECT_EQ(empty, UFemNumberFormatter());

    EXPECT_EQ(formatterWith({ { UFemNumberFormatterNumberOfDigitsKey, 0 } }).numberOfDigits(), 1u);

    const UFemNumberFormatter other
        = formatterWith({ { UFemNumberFormatterExponentialNumberFormatTypeKey, "engineering" } });
    EXPECT_EQ(other.numberExponentialFormatterType(), UFemNumberFormatter::NoExponentStyle);
    EXPECT_TRUE(other.doesUseConstantDecimalPointPosition());
    EXPECT_FALSE(other.isConstantDecimalPointPositionValid());
    EXPECT_FALSE(other.isConstantDecimalPointPositionEditable());

    const UFemNumberFormatter mathematics
        = formatterWith({ { UFemNumberFormatterExponentialNumberFormatTypeKey,
            UFemMathematicsExponentialNumberFormatType } });
    EXPECT_EQ(mathematics.numberExponentialFormatterType(), UFemNumberFormatter::MathematicsStyle);
    EXPECT_EQ(mathematics.stringWithValue(12345.6789), "+1.23457E+04");
}

TEST(NumberFormatter, FlagsAreReadAsymmetrically)
{
    EXPECT_TRUE(formatterWith({ { UFemNumberFormatterDoesAllowExtendLengthKey, true } })
                    .doesAllowExtendLength());
    EXPECT_FALSE(formatterWith({ { UFemNumberFormatterDoesAllowExtendLengthKey, false } })
                     .doesAllowExtendLength());
    EXPECT_FALSE(formatterWith({ { UFemNumberFormatterIsLeftEdgeDecimalPointKey, false } })
                     .isLeftEdgeDecimalPoint());
    // A fixed position without a fixed exponent is not read for the exponent styles.
    const UFemNumberFormatter positionOnly
        = formatterWith({ { UFemNumberFormatterDoesUseConstantDecimalPointPositionKey, true },
            { UFemNumberFormatterConstantDecimalPointPositionKey, 2 } });
    EXPECT_FALSE(positionOnly.doesUseConstantDecimalPointPosition());
    EXPECT_EQ(positionOnly.constantDecimalPointPosition(), 0u);
    // Without an exponent the position is used unless switched off.
    const UFemNumberFormatter style3Off
        = formatterWith({ { UFemNumberFormatterExponentialNumberFormatTypeKey, "none" },
            { UFemNumberFormatterDoesUseConstantDecimalPointPositionKey, false },
            { UFemNumberFormatterConstantDecimalPointPositionKey, 2 } });
    EXPECT_FALSE(style3Off.doesUseConstantDecimalPointPosition());
    EXPECT_FALSE(style3Off.isConstantDecimalPointPositionValid());
}

TEST(NumberFormatter, DictionaryRoundTripKeepsAutomaticValuesAutomatic)
{
    const UFemNumberFormatter hinted = hintedResultTable();
    ASSERT_TRUE(hinted.isConstantExponentialNumberValid());
    EXPECT_EQ(hinted.constantExponentialNumber(), 4);
    EXPECT_EQ(hinted.constantDecimalPointPosition(), 5u);

    const QVariantMap stored = hinted.preferenceNumberFormatter();
    EXPECT_FALSE(stored.contains(UFemNumberFormatterConstantExponentialNumberKey));
    EXPECT_FALSE(stored.contains(UFemNumberFormatterConstantDecimalPointPositionKey));
    const UFemNumberFormatter reread = formatterWith(stored);
    EXPECT_TRUE(reread.isConstantExponentialNumberEditable());
    EXPECT_FALSE(reread.isConstantExponentialNumberValid());
    EXPECT_TRUE(reread.isConstantDecimalPointPositionEditable());
    EXPECT_FALSE(reread.isConstantDecimalPointPositionValid());
    EXPECT_EQ(reread, UFemNumberFormatter::defaultResultTableNumberFormatter());
}

TEST(NumberFormatter, DictionaryRoundTripKeepsUserValuesThroughStorage)
{
    const QVariantMap userSet {
        { UFemNumberFormatterFontKey, "DejaVu Sans Mono,10.5" },
        { UFemNumberFormatterNumberOfDigitsKey, 8 },
        { UFemNumberFormatterDoesAllowExtendLengthKey, false },
        { UFemNumberFormatterIsLeftEdgeDecimalPointKey, true },
        { UFemNumberFormatterExponentialNumberFormatTypeKey,
            UFemMathematicsExponentialNumberFormatType },
        { UFemNumberFormatterDoesUseConstantExponentialNumberKey, true },
        { UFemNumberFormatterConstantExponentialNumberKey, -3 },
        { UFemNumberFormatterDoesUseConstantDecimalPointPositionKey, true },
        { UFemNumberFormatterConstantDecimalPointPositionKey, 4 },
    };
    const UFemNumberFormatter formatter = formatterWith(userSet);
    ASSERT_TRUE(formatter.numberFormatterFont().has_value());
    EXPECT_EQ(formatter.numberFormatterFont()->family, "DejaVu Sans Mono");
    EXPECT_EQ(formatter.constantExponentialNumber(), -3);
    EXPECT_FALSE(formatter.isConstantExponentialNumberEditable());

    // As the user defaults keep it: through CBOR, where unsigned numbers come back signed.
    const QVariantMap stored
        = QCborValue::fromVariant(formatter.preferenceNumberFormatter()).toVariant().toMap();
    const UFemNumberFormatter reread = formatterWith(stored);
    EXPECT_EQ(reread, formatter);
    EXPECT_EQ(reread.preferenceNumberFormatter(), formatter.preferenceNumberFormatter());

    // A user-set exponent with an automatic position: the hint fills only the position, from the
    // layout of 12345 / 10^2 = 123.45 at 6 digits.
    UFemNumberFormatter partly
        = formatterWith({ { UFemNumberFormatterDoesUseConstantExponentialNumberKey, true },
            { UFemNumberFormatterConstantExponentialNumberKey, 2 },
            { UFemNumberFormatterDoesUseConstantDecimalPointPositionKey, true } });
    partly.setNumberFormatterHintWithMaxValue(12345.0);
    EXPECT_EQ(partly.constantExponentialNumber(), 2);
    EXPECT_TRUE(partly.isConstantDecimalPointPositionValid());
    EXPECT_EQ(partly.constantDecimalPointPosition(), 3u);
    EXPECT_EQ(partly.stringWithValue(12345.0), "+123.450E+02");
}

TEST(NumberFormatter, EqualSettingsAreEqualAndHashAlike)
{
    const UFemNumberFormatter first = UFemNumberFormatter::defaultColorScaleImageNumberFormatter();
    const UFemNumberFormatter second = UFemNumberFormatter::defaultResultTableNumberFormatter();
    EXPECT_EQ(first, second);
    EXPECT_EQ(qHash(first), qHash(second));
    EXPECT_EQ(QSet<UFemNumberFormatter>({ first, second }).size(), 1);

    EXPECT_NE(first, hintedResultTable());
    EXPECT_NE(first, UFemNumberFormatter::defaultWritingFileNumberFormatter());
    EXPECT_NE(qHash(first), qHash(UFemNumberFormatter::defaultWritingFileNumberFormatter()));
    QVariantMap otherFont = first.preferenceNumberFormatter();
    otherFont.insert(UFemNumberFormatterFontKey, "Courier,12");
    EXPECT_NE(formatterWith(otherFont), first);

    const UFemNumberFormatter copy = hintedResultTable();
    EXPECT_EQ(UFemNumberFormatter(copy), hintedResultTable());
}

TEST(NumberFormatter, DefaultFolderArray)
{
    const QVariantList folders = UFemNumberFormatter::defaultPreferenceNumberFormatterFolderArray();
    ASSERT_EQ(folders.size(), 2);
    const QVariantMap first = folders[0].toMap();
    const QVariantMap second = folders[1].toMap();
    EXPECT_EQ(first.value(UFemFolderItemNameStringPreferencesKey).toString(), "NumberFormatter 1");
    EXPECT_EQ(first.value(UFemFolderItemOrderHintNumberPreferencesKey).toULongLong(), 1100u);
    EXPECT_EQ(formatterWith(first.value(UFemFolderItemObjectPreferencesKey).toMap()),
        UFemNumberFormatter::defaultResultTableNumberFormatter());
    EXPECT_EQ(second.value(UFemFolderItemNameStringPreferencesKey).toString(), "NumberFormatter 2");
    EXPECT_EQ(second.value(UFemFolderItemOrderHintNumberPreferencesKey).toULongLong(), 1200u);
    const UFemNumberFormatter writing
        = formatterWith(second.value(UFemFolderItemObjectPreferencesKey).toMap());
    EXPECT_EQ(writing, UFemNumberFormatter::defaultWritingFileNumberFormatter());
    EXPECT_EQ(writing.numberOfDigits(), 12u);
    ASSERT_TRUE(writing.numberFormatterFont().has_value());
    EXPECT_EQ(writing.numberFormatterFont()->pointSize, 12.0);
    EXPECT_FALSE(writing.doesUseConstantExponentialNumber());
}

TEST(NumberFormatter, WidthsAndThreeDigitExponents)
{
    const UFemNumberFormatter writing = UFemNumberFormatter::defaultWritingFileNumberFormatter();
    EXPECT_EQ(writing.valueStringLength(), 18u);
    EXPECT_EQ(writing.stringLength(), 18u);
    EXPECT_EQ(static_cast<quint64>(writing.stringWithValue(1e-100).size()),
        writing.valueStringLength() + 1);
    EXPECT_EQ(noExponent(6, true).valueStringLength(), 8u);
    EXPECT_EQ(noExponent(6, true).stringLength(), 8u);
}

TEST(NumberFormatter, NonFiniteValuesAreRightAlignedAndIgnoredByTheHint)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const UFemNumberFormatter table = UFemNumberFormatter::defaultResultTableNumberFormatter();
    EXPECT_EQ(table.stringWithValue(nan), "         nan");
    EXPECT_EQ(table.stringWithValue(inf), "        +inf");
    EXPECT_EQ(table.stringWithValue(-inf), "        -inf");
    EXPECT_EQ(hintedResultTable().stringWithValue(-inf), "        -inf");
    EXPECT_EQ(noExponent(3, false).stringWithValue(nan), "  nan");

    UFemNumberFormatter hinted = table;
    hinted.setNumberFormatterHintWithMaxValue(inf);
    hinted.setNumberFormatterHintWithMaxValue(nan);
    EXPECT_EQ(hinted, table);
}

TEST(NumberFormatter, LeftEdgeKeepsWidthAndValue)
{
    // A padded mantissa keeps its width: "   +0.50" becomes "    +.50".
    const UFemNumberFormatter padded
        = formatterWith({ { UFemNumberFormatterIsLeftEdgeDecimalPointKey, true },
            { UFemNumberFormatterDoesAllowExtendLengthKey, false },
            { UFemNumberFormatterDoesUseConstantExponentialNumberKey, true },
            { UFemNumberFormatterConstantExponentialNumberKey, 0 },
            { UFemNumberFormatterDoesUseConstantDecimalPointPositionKey, true },
            { UFemNumberFormatterConstantDecimalPointPositionKey, 2 } });
    EXPECT_EQ(padded.stringWithValue(0.5), "    +.50E+00");
    EXPECT_EQ(padded.stringWithValue(-0.5), "    -.50E+00");

    const UFemNumberFormatter style3
        = formatterWith({ { UFemNumberFormatterIsLeftEdgeDecimalPointKey, true },
            { UFemNumberFormatterExponentialNumberFormatTypeKey,
                UFemNoExponentialNumberFormatType } });
    EXPECT_EQ(style3.stringWithValue(-0.5), "-.500000");
    EXPECT_EQ(style3.stringWithValue(-12.5), "-12.5000");

    // Only a "0." right after the sign moves: 10.5 with five fixed decimals stays 10.5.
    const UFemNumberFormatter fixedDecimals
        = formatterWith({ { UFemNumberFormatterIsLeftEdgeDecimalPointKey, true },
            { UFemNumberFormatterExponentialNumberFormatTypeKey,
                UFemNoExponentialNumberFormatType },
            { UFemNumberFormatterConstantDecimalPointPositionKey, 5 } });
    EXPECT_EQ(fixedDecimals.stringWithValue(10.5), "+10.50000");
}

TEST(NumberFormatter, HostileDictionariesStayBounded)
{
    const UFemNumberFormatter huge = formatterWith({ { UFemNumberFormatterNumberOfDigitsKey, 1e18 },
        { UFemNumberFormatterDoesUseConstantExponentialNumberKey, true },
        { UFemNumberFormatterConstantExponentialNumberKey, -1e15 } });
    EXPECT_LE(huge.numberOfDigits(), 100u);
    EXPECT_GE(huge.constantExponentialNumber(), -1000);
    const QString text = huge.stringWithValue(1e300);
    EXPECT_FALSE(text.isEmpty());
    EXPECT_LT(text.size(), 200);
}

TEST(NumberFormatter, SimpleFormattersAreCachedForTwoToEightDigits)
{
    EXPECT_EQ(UFemNumberFormatter::_simpleNumberFormatterWithNumberOfDigits(2),
        UFemNumberFormatter::_simpleNumberFormatterWithNumberOfDigits(2));
    EXPECT_EQ(UFemNumberFormatter::_simpleNumberFormatterWithNumberOfDigits(8),
        UFemNumberFormatter::_simpleNumberFormatterWithNumberOfDigits(8));
    EXPECT_NE(UFemNumberFormatter::_simpleNumberFormatterWithNumberOfDigits(9),
        UFemNumberFormatter::_simpleNumberFormatterWithNumberOfDigits(9));
    EXPECT_EQ(UFemNumberFormatter::stringWithValue(-2.5, 2), "-2.5E+00");
}

TEST(NumberFormatterThreads, SharedFormattersFormatAlikeOnEveryThread)
{
    ScopedLocale german("de_DE.UTF-8");
    const UFemNumberFormatter hinted = hintedResultTable();
    const QString expectedHinted = hinted.stringWithValue(1234567.0);
    std::vector<std::thread> threads;
    std::vector<int> mismatches(8, 0);
    for (size_t t = 0; t < mismatches.size(); ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 200; ++i) {
                const quint64 digits = 2 + (t + static_cast<size_t>(i)) % 7;
                if (UFemNumberFormatter::stringWithValue(-2.5, digits).indexOf(u',') >= 0)
                    ++mismatches[t];
                if (UFemNumberFormatter::quickStringWithValue(9.9999996)
                    != QStringLiteral("+1.000E+01"))
                    ++mismatches[t];
                if (hinted.stringWithValue(1234567.0) != expectedHinted)
                    ++mismatches[t];
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(expectedHinted, "+123.45670E+04");
    EXPECT_EQ(std::count(mismatches.begin(), mismatches.end(), 0), 8);
}

TEST(NumberFormatter, IsTheNumberTextOfErrors)
{
    EXPECT_EQ(UFemNumberFormatter::quickStringWithValue(12345.6789), "+1.235E+04");
    EXPECT_EQ(UFemNumberFormatter::quickStringWithValue(-std::numeric_limits<double>::infinity()),
        "      -inf");
    const QString text
        = UFemColorScaleValueRangeMinValueAndMaxValueAreEqualOrTooCloseError_withRangeMinValue(
            12345.6789, 12345.6789)
              ->localizedDescription();
    EXPECT_TRUE(text.contains("+1.235E+04")) << text.toStdString();
}

TEST(NumberFormatter, HintFillsOnlyAutomaticSettings)
{
    QVariantMap leftEdgeTable
        = UFemNumberFormatter::defaultResultTableNumberFormatter().preferenceNumberFormatter();
    leftEdgeTable.insert(UFemNumberFormatterIsLeftEdgeDecimalPointKey, true);
    UFemNumberFormatter leftEdge = formatterWith(leftEdgeTable);
    leftEdge.setNumberFormatterHintWithMaxValue(-12345.6789);
    EXPECT_EQ(leftEdge.constantExponentialNumber(), 5);
    EXPECT_EQ(leftEdge.constantDecimalPointPosition(), 6u);
    EXPECT_EQ(leftEdge.stringWithValue(12345.6789), "+.123457E+05");

    UFemNumberFormatter zero = UFemNumberFormatter::defaultResultTableNumberFormatter();
    zero.setNumberFormatterHintWithMaxValue(0.0);
    EXPECT_EQ(zero.constantExponentialNumber(), 0);
    EXPECT_EQ(zero.stringWithValue(1.5), "+1.50000E+00");

    for (UFemNumberFormatter unchanged :
        { noExponent(6, true), UFemNumberFormatter::defaultWritingFileNumberFormatter(),
            formatterWith({ { UFemNumberFormatterDoesUseConstantExponentialNumberKey, true },
                { UFemNumberFormatterConstantExponentialNumberKey, 1 },
                { UFemNumberFormatterDoesUseConstantDecimalPointPositionKey, true },
                { UFemNumberFormatterConstantDecimalPointPositionKey, 2 } }) }) {
        const UFemNumberFormatter before = unchanged;
        unchanged.setNumberFormatterHintWithMaxValue(987.0);
        EXPECT_EQ(unchanged, before);
    }
}
