#include "calculation/results/UFemResultDataManager_ClipboardCardValueImpl.h"

#include <QStringList>

#include "QStringPrinting.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>

namespace {

// Loads pasted values, recording the repeated-name warnings instead of showing them.
struct Pasted {
    QStringList alerts;
    UFemResultDataManager_ClipboardCardValueImpl values { nullptr,
        [this](const QString& message, const QString& information) {
            alerts << message << information;
        } };

    UErrorPtr load(const QString& text,
        UFemColumnSeparatingCharacterType type = UFemColumnSeparatingCharacterTypeCommaOrTab)
    {
        UErrorPtr error;
        const bool loaded
            = values.loadClipboardCardValueWithClipboardCardValueString(text, type, &error);
        EXPECT_EQ(loaded, error == nullptr);
        return error;
    }
    std::optional<double> value(const QString& name) const
    {
        double v = 0.0;
        if (values.getClipboardCardValue(&v, name))
            return v;
        EXPECT_TRUE(std::isnan(v));
        return std::nullopt;
    }
};

QString descriptionOf(const UErrorPtr& error)
{
    return error ? error->localizedDescription() : QStringLiteral("(no error)");
}

} // namespace

TEST(ClipboardCardValue, CommaAndTabSeparatedLines)
{
    Pasted pasted;
    EXPECT_EQ(pasted.load(QStringLiteral("elem_01 , 12.3\nelem_02\t13.5")), nullptr);
    EXPECT_EQ(pasted.values.clipboardCardValueCount(), 2u);
    EXPECT_EQ(pasted.value(QStringLiteral("elem_01")), 12.3);
    EXPECT_EQ(pasted.value(QStringLiteral("elem_02")), 13.5);
    EXPECT_EQ(pasted.value(QStringLiteral("elem_03")), std::nullopt);

    // With commas only the tab stays inside the name column, which the column reader refuses.
    Pasted commaOnly;
    const UErrorPtr error = commaOnly.load(
        QStringLiteral("elem_01 , 12.3\nelem_02\t13.5"), UFemColumnSeparatingCharacterTypeComma);
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(commaOnly.value(QStringLiteral("elem_01")), std::nullopt);
    EXPECT_EQ(commaOnly.values.clipboardCardValueCount(), 0u);

    Pasted tabOnly;
    EXPECT_EQ(
        tabOnly.load(QStringLiteral("a\t-1.5e2\n"), UFemColumnSeparatingCharacterTypeTab), nullptr);
    EXPECT_EQ(tabOnly.value(QStringLiteral("a")), -150.0);
}

TEST(ClipboardCardValue, LineEndsEmptyLinesAndColumns)
{
    struct Case {
        const char* text;
        const char* description; // nullptr: loads
    };
    const Case cases[] = {
        { "a , 1\n", nullptr },
        { "", nullptr },
        { "a , 1\n\nb , 2", "Clipboard Card Value Error - Unexpected Character exists." },
        { "a , 1\r\nb , 2\r\n", nullptr },
        { "a , 1\r\n\r\nb , 2", "Clipboard Card Value Error - Unexpected Character exists." },
        { "a , 1\n\rb , 2", "Clipboard Card Value Error - Unexpected Character exists." },
        { "a , 1\rb , 2\r", nullptr },
        { "elem_01 ,, 3",
            "Clipboard Card Value Error - Unexpected Character exists without comma or tab "
            "character." },
        { "elem_01 , 3 , 4", "Clipboard Card Value Error - Unexpected Column exists." },
        { "elem_01 , 3 ,,", nullptr },
        { "elem_01 , 3 \\ measured on site", nullptr },
        { "elem_01 3",
            "Clipboard Card Value Error - Unexpected Character exists without comma or tab "
            "character." },
        { "elem_01 , ", "Clipboard Card Value Error - Value column for card: elem_01 is empty." },
        { "elem_01 , \n", "Clipboard Card Value Error - Value column for card: elem_01 is empty." },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Pasted pasted;
        const UErrorPtr error = pasted.load(QString::fromUtf8(c.text));
        if (c.description == nullptr) {
            EXPECT_EQ(error, nullptr) << descriptionOf(error).toStdString();
            continue;
        }
        ASSERT_NE(error, nullptr);
        EXPECT_EQ(error->code(), 42019);
        EXPECT_TRUE(error->localizedDescription().startsWith(QString::fromUtf8(c.description)))
            << descriptionOf(error).toStdString();
        EXPECT_TRUE(error->localizedRecoverySuggestion().startsWith(
            QStringLiteral("To get Clipboard Card Value, Clipboard must contain string with card "
                           "name and the value, like\nelem_01 , 12.3 \n")));
    }
    Pasted comment;
    ASSERT_EQ(comment.load(QStringLiteral("elem_01 , 3 \\ measured on site")), nullptr);
    EXPECT_EQ(comment.value(QStringLiteral("elem_01")), 3.0);
}

TEST(ClipboardCardValue, BadNumbersAreWrapped)
{
    Pasted pasted;
    const UErrorPtr error = pasted.load(QStringLiteral("a , 1\nb , 1.2.3\n"));
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->code(), 42018);
    EXPECT_EQ(pasted.value(QStringLiteral("a")), std::nullopt);
}

TEST(ClipboardCardValue, RepeatedNamesKeepTheLastValueAndWarn)
{
    Pasted pasted;
    EXPECT_EQ(pasted.load(QStringLiteral("a , 1\na , 2\n")), nullptr);
    EXPECT_EQ(pasted.value(QStringLiteral("a")), 2.0);
    EXPECT_EQ(pasted.alerts,
        (QStringList { "Some card name for ClipboardCardValue are repeated.",
            "The values are overwritten by latter values." }));
    // A later load into the same object starts afresh.
    EXPECT_EQ(pasted.load(QStringLiteral("b , 5")), nullptr);
    EXPECT_EQ(pasted.value(QStringLiteral("a")), std::nullopt);
    EXPECT_EQ(pasted.value(QStringLiteral("b")), 5.0);
    EXPECT_EQ(pasted.alerts.size(), 2);
}

TEST(ClipboardCardValue, ManyLinesGrowTheTable)
{
    QString text;
    constexpr int count = 6000;
    for (int i = 0; i < count; ++i)
        text += QStringLiteral("n%1 , %2\n").arg(i).arg(i * 0.5);
    Pasted pasted;
    ASSERT_EQ(pasted.load(text), nullptr);
    EXPECT_EQ(pasted.values.clipboardCardValueCount(), quint64(count));
    for (int i = 0; i < count; i += 7)
        EXPECT_EQ(pasted.value(QStringLiteral("n%1").arg(i)), i * 0.5);
    EXPECT_TRUE(pasted.alerts.isEmpty());
}
