#include "foundation/errors/UErrorRangeHighlightedString.h"

#include "ErrorExpectation.h"

namespace {

// "abc..." so that every position is recognisable.
QString letters(qsizetype count)
{
    QString text;
    for (qsizetype index = 0; index < count; ++index)
        text += QChar(char16_t(u'a' + index % 26));
    return text;
}

} // namespace

TEST(ErrorFrameExcerpt, WorkedExample)
{
    const QString text = QStringLiteral("abcdefghijklmnopqrstuvwxyz0123456789");
    EXPECT_EQ(UMakeErrorRangeHighlightedString(text, 0, 36, 21, 1),
        "abcdefgh...nopqrstu'v'wxyz0123456789");
}

TEST(ErrorFrameExcerpt, BoundariesBeforeTheError)
{
    const QString text = letters(30);
    // 19 and 20 characters before the error stand whole; 21 are shortened to 8 + "..." + 8.
    EXPECT_EQ(UMakeErrorRangeHighlightedString(text, 0, 20, 19, 1), "abcdefghijklmnopqrs't'");
    EXPECT_EQ(UMakeErrorRangeHighlightedString(text, 0, 21, 20, 1), "abcdefghijklmnopqrst'u'");
    EXPECT_EQ(UMakeErrorRangeHighlightedString(text, 0, 22, 21, 1), "abcdefgh...nopqrstu'v'");
    // The range need not start at 0: the stretch is counted from its location.
    const QString shifted = QStringLiteral("XXXXX") + letters(30);
    EXPECT_EQ(UMakeErrorRangeHighlightedString(shifted, 5, 21, 25, 1), "abcdefghijklmnopqrst'u'");
    EXPECT_EQ(UMakeErrorRangeHighlightedString(shifted, 5, 22, 26, 1), "abcdefgh...nopqrstu'v'");
}

TEST(ErrorFrameExcerpt, BoundariesAfterTheError)
{
    const QString text = letters(30);
    // 19 and 20 characters after the error stand whole; 21 give 8 + "..." + the last 10.
    EXPECT_EQ(UMakeErrorRangeHighlightedString(text, 0, 20, 0, 1), "'a'bcdefghijklmnopqrst");
    EXPECT_EQ(UMakeErrorRangeHighlightedString(text, 0, 21, 0, 1), "'a'bcdefghijklmnopqrstu");
    EXPECT_EQ(UMakeErrorRangeHighlightedString(text, 0, 22, 0, 1), "'a'bcdefghi...mnopqrstuv");
    // The range's end limits the after part, not the string's end.
    EXPECT_EQ(UMakeErrorRangeHighlightedString(text, 0, 5, 2, 1), "ab'c'de");
}

TEST(ErrorFrameExcerpt, EmptyErrorRangeGivesTwoQuotes)
{
    const QString text = letters(10);
    EXPECT_EQ(UMakeErrorRangeHighlightedString(text, 0, 10, 4, 0), "abcd''efghij");
    EXPECT_EQ(UMakeErrorRangeHighlightedString(text, 0, 10, 10, 0), "abcdefghij''");
    EXPECT_EQ(UMakeErrorRangeHighlightedString(QString(), 0, 0, 0, 0), "''");
}

TEST(ErrorFrameExcerpt, RangesBeyondTheStringDoNotReadOutside)
{
    const QString text = letters(5);
    EXPECT_EQ(UMakeErrorRangeHighlightedString(text, 0, 50, 3, 10), "abc'de'...");
    EXPECT_EQ(UMakeErrorRangeHighlightedString(text, 0, 100, 60, 2), "abcde...''...");
}
