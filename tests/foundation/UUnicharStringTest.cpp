#include "foundation/strings/UUnicharString.h"
#include "foundation/containers/UArrayAddition.h"
#include "foundation/errors/UException.h"
#include "foundation/strings/UCharacterReader.h"
#include "foundation/strings/UPlatformString.h"
#include "foundation/strings/UStringAddition.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <vector>

namespace {

const QString alphabet = QStringLiteral("abcdefghijklmnopqrstuvwxyz");

QString readAll(const UStringGettingCharactersProtocol& source, quint64 start, quint64 end)
{
    UCharacterReader reader(source, start, end);
    QString read;
    while (!reader.atEnd()) {
        EXPECT_EQ(reader.index(), start + static_cast<quint64>(read.size()));
        const char16_t peeked = reader.peek();
        const char16_t unit = reader.next();
        EXPECT_EQ(peeked, unit);
        read += QChar(unit);
    }
    EXPECT_EQ(reader.next(), u'\0');
    EXPECT_EQ(reader.index(), end);
    return read;
}

} // namespace

TEST(Strings, BulkReadOfAUnicharStringAnswersTheRestFromItsOwnBuffer)
{
    const UUnicharStringPtr text = UUnicharString::unicharStringWithString(alphabet);
    char16_t buffer[4] = {};
    const char16_t* valid = nullptr;
    EXPECT_EQ(text->getCharacterAndSetValidCharacterBufferPtr(&valid, 3, 10, buffer, 4), 7u);
    EXPECT_EQ(valid, text->unicharPtr() + 3);
    EXPECT_EQ(QString::fromUtf16(valid, 7), "defghij");
    EXPECT_EQ(buffer[0], u'\0');
}

TEST(Strings, BulkReadOfAPlatformStringFillsAtMostTheCallersBuffer)
{
    const UPlatformString text(alphabet);
    char16_t buffer[4] = {};
    const char16_t* valid = nullptr;
    EXPECT_EQ(text.getCharacterAndSetValidCharacterBufferPtr(&valid, 3, 10, buffer, 4), 4u);
    EXPECT_EQ(valid, buffer);
    EXPECT_EQ(QString::fromUtf16(buffer, 4), "defg");
    EXPECT_EQ(text.getCharacterAndSetValidCharacterBufferPtr(&valid, 24, 26, buffer, 4), 2u);
    EXPECT_EQ(QString::fromUtf16(buffer, 2), "yz");
}

TEST(Strings, EmptyAndOutOfRangeRequestsRaise)
{
    const UUnicharString unichar(alphabet);
    const UPlatformString platform(alphabet);
    char16_t buffer[4];
    const char16_t* valid = nullptr;
    for (const UStringGettingCharactersProtocol* source :
        { static_cast<const UStringGettingCharactersProtocol*>(&unichar),
            static_cast<const UStringGettingCharactersProtocol*>(&platform) }) {
        EXPECT_THROW(source->getCharacterAndSetValidCharacterBufferPtr(&valid, 5, 5, buffer, 4),
            URangeException);
        EXPECT_THROW(source->getCharacterAndSetValidCharacterBufferPtr(&valid, 6, 5, buffer, 4),
            URangeException);
        EXPECT_THROW(source->getCharacterAndSetValidCharacterBufferPtr(&valid, 20, 27, buffer, 4),
            URangeException);
        EXPECT_EQ(source->characterAtIndex(25), u'z');
        EXPECT_THROW(source->characterAtIndex(26), URangeException);
        EXPECT_EQ(source->substringWithRange({ 24, 2 }), "yz");
        EXPECT_EQ(source->substringWithRange({ 26, 0 }), "");
        EXPECT_THROW(source->substringWithRange({ 25, 2 }), URangeException);
        EXPECT_THROW(source->substringWithRange({ ~quint64(0), 2 }), URangeException);
        EXPECT_EQ(source->string(), alphabet);
        EXPECT_EQ(source->length(), 26u);
    }
    EXPECT_THROW(platform.getCharacterAndSetValidCharacterBufferPtr(&valid, 0, 5, buffer, 0),
        URangeException);
    EXPECT_THROW(UUnicharString(alphabet, URange { 20, 7 }), URangeException);
    EXPECT_THROW(UStringWithUUnicharString(unichar, URange { 1, 26 }), URangeException);
    EXPECT_EQ(UStringWithUUnicharString(unichar, URange { 1, 3 }), "bcd");
    EXPECT_EQ(UStringWithUUnicharString(unichar), alphabet);
}

TEST(Strings, UnicharStringIsAnIndependentCopy)
{
    char16_t raw[] = u"model text";
    const QString borrowed = QString::fromRawData(reinterpret_cast<const QChar*>(raw), 10);
    const UUnicharString whole(borrowed);
    const UUnicharString part(borrowed, URange { 6, 4 });
    raw[0] = u'M';
    raw[6] = u'T';
    EXPECT_EQ(whole.string(), "model text");
    EXPECT_EQ(part.string(), "text");
    EXPECT_EQ(part.view(), u"text");
    EXPECT_EQ(part.stringView(), QStringLiteral("text"));
    EXPECT_EQ(UUnicharString(QString()).length(), 0u);
}

TEST(Strings, ReaderGivesTheSameUnitsFromBothSources)
{
    QString text;
    for (int i = 0; i < 300; ++i)
        text += QChar(u'a' + i % 26);
    text += QString::fromUtf8("\xF0\x9D\x90\x80 end"); // a surrogate pair
    text.insert(100, QChar(u'\0'));
    const UUnicharString unichar(text);
    const UPlatformString platform(text);
    const quint64 length = static_cast<quint64>(text.size());
    EXPECT_EQ(readAll(unichar, 0, length), text);
    EXPECT_EQ(readAll(platform, 0, length), text);
    EXPECT_EQ(readAll(platform, 63, 130), text.mid(63, 67));
    EXPECT_EQ(readAll(unichar, 5, 5), "");
    EXPECT_THROW(UCharacterReader(platform, 0, length + 1), URangeException);
}

TEST(Strings, TrimmingRemovesOnlyBlanksAndTabs)
{
    EXPECT_FALSE(UTrimmedStringOrNil(QStringLiteral(" \t  \t")).has_value());
    EXPECT_FALSE(UTrimmedStringOrNil(QString()).has_value());
    EXPECT_EQ(UTrimmedStringOrNil(QStringLiteral(" a b\t")), "a b");
    EXPECT_EQ(UTrimmedStringOrNil(QStringLiteral("\n a \n")), "\n a \n");
    EXPECT_EQ(UTrimmedStringOrNil(QStringLiteral("\t\na\r ")), "\na\r");
    EXPECT_EQ(UTrimmedStringOrNil(QStringLiteral("\u00A0x")), "\u00A0x");
}

TEST(Strings, DoesStartWithSubstringAtALocation)
{
    const QString line = QStringLiteral("Node , N1");
    EXPECT_TRUE(UDoesStartWithSubstring(line, QStringLiteral("Node"), 0));
    EXPECT_TRUE(UDoesStartWithSubstring(line, QStringLiteral("N1"), 7));
    EXPECT_TRUE(UDoesStartWithSubstring(line, QString(), 9));
    EXPECT_FALSE(UDoesStartWithSubstring(line, QStringLiteral("node"), 0));
    EXPECT_FALSE(UDoesStartWithSubstring(line, QStringLiteral("N1 "), 7));
    EXPECT_FALSE(UDoesStartWithSubstring(line, QStringLiteral("N"), ~quint64(0)));
}

TEST(Strings, SortedInsertion)
{
    const auto compare = [](int a, int b) { return a - b; };
    const std::vector<int> sorted { 1, 3, 5 };
    EXPECT_EQ(UIndexForObjectInSortedArray(sorted, 4, compare), 2u);
    EXPECT_EQ(UIndexForObjectInSortedArray(sorted, 0, compare), 0u);
    EXPECT_EQ(UIndexForObjectInSortedArray(sorted, 6, compare), 3u);
    EXPECT_EQ(UIndexForObjectInSortedArray(sorted, 3, compare), 1u);
    EXPECT_EQ(UIndexForObjectInSortedArray(std::vector<int>(), 3, compare), 0u);

    std::mt19937 random(7);
    std::vector<int> array;
    for (int i = 0; i < 2000; ++i) {
        const int value = static_cast<int>(random() % 100);
        const quint64 index = UInsertObjectIntoSortedArray(array, value, compare);
        ASSERT_EQ(array[index], value);
    }
    EXPECT_TRUE(std::is_sorted(array.begin(), array.end()));
}

TEST(Strings, IdentityMembershipAndJoining)
{
    const auto first = std::make_shared<QString>(QStringLiteral("a"));
    const auto equal = std::make_shared<QString>(QStringLiteral("a"));
    const std::vector<std::shared_ptr<QString>> array { first, std::make_shared<QString>("b"),
        std::make_shared<QString>("c") };
    EXPECT_TRUE(UContainsObjectIdenticalTo(array, first.get()));
    EXPECT_FALSE(UContainsObjectIdenticalTo(array, equal.get()));

    const auto text = [](const std::shared_ptr<QString>& s) { return *s; };
    EXPECT_EQ(UJoinedStringWithPerformingSelectorToComponents(array, text, QStringLiteral(", ")),
        "a, b, c");
    EXPECT_EQ(UJoinedStringWithPerformingSelectorToComponents(
                  array, URange { 1, 2 }, text, QStringLiteral("-")),
        "b-c");
    EXPECT_EQ(UJoinedStringWithPerformingSelectorToComponents(
                  array, URange { 3, 0 }, text, QStringLiteral("-")),
        "");
    EXPECT_THROW(UJoinedStringWithPerformingSelectorToComponents(
                     array, URange { 2, 2 }, text, QStringLiteral("-")),
        URangeException);
}
