#include "BinaryPlistFixture.h"

#include "KeyedArchiveTesting.h"
#include "platform/KeyedArchive.h"
#include "platform/KeyedArchiveDate.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QVariantList>
#include <QVariantMap>

#include <bit>
#include <cmath>
#include <limits>

namespace {

using Storage = KeyedArchiveStorage;

const QString title = QStringLiteral("Träger ∑ \U0001D11E");

// An archive as the platform's archiver lays it out: 1-byte references and offsets, a UTF-16 and
// a mutable string, integers of every width, shared objects, a nested dictionary with an array,
// an object of an unknown class, a date, the null object, data and a reference to no object.
QByteArray oneByteArchive()
{
    BinaryPlistFixture f(1, 2);
    std::vector<int> o(28);
    o[0] = f.ascii("$null");
    o[1] = f.utf16(title);
    o[2] = f.keyedObject({ { f.ascii("NS.string"), f.ascii("comment text") } }, 3);
    o[3] = f.keyedClass({ "NSMutableString", "NSString", "NSObject" });
    o[4] = f.keyedObject({ { f.ascii("NS.keys"), f.uidArray({ 5, 6, 7, 15 }) },
                             { f.ascii("NS.objects"), f.uidArray({ 8, 9, 10, 8 }) } },
        11);
    o[5] = f.ascii("colour");
    o[6] = f.ascii("font");
    o[7] = f.ascii("sizes");
    o[8] = f.keyedObject({ { f.ascii("NS.objects"), f.uidArray({ 12, 12, 13, 13 }) } }, 14);
    o[9] = f.keyedObject({ { f.ascii("NSName"), f.uid(16) }, { f.ascii("NSSize"), f.real(12.5) },
                             { f.ascii("NSfFlags"), f.integer(16, 1) } },
        17);
    o[10] = f.keyedObject({ { f.ascii("NS.objects"), f.uidArray({ 18, 19, 20, 21, 22 }) } }, 14);
    o[11] = f.keyedClass({ "NSDictionary", "NSObject" });
    o[12] = f.real(0.25);
    o[13] = f.real(1.0);
    o[14] = f.keyedClass({ "NSArray", "NSObject" });
    o[15] = f.ascii("again");
    o[16] = f.ascii("Helvetica");
    o[17] = f.keyedClass({ "NSFont", "NSObject" });
    o[18] = f.integer(7, 1);
    o[19] = f.integer(300, 2);
    o[20] = f.integer(70000, 4);
    o[21] = f.integer(-5, 8);
    o[22] = f.integer(qint64(1) << 40, 16);
    o[23] = f.keyedObject({ { f.ascii("NS.time"), f.real(86400.5) } }, 24);
    o[24] = f.keyedClass({ "NSDate", "NSObject" });
    o[25] = f.keyedObject({}, 26);
    o[26] = f.keyedClass({ "NSNull", "NSObject" });
    o[27] = f.data(QByteArray("\x00\x01\xFF", 3));
    const int top = f.dictionary({ { f.ascii("title"), f.uid(1) }, { f.ascii("comment"), f.uid(2) },
        { f.ascii("count"), f.integer(801051, 4) }, { f.ascii("flag"), f.boolean(true) },
        { f.ascii("prefs"), f.uid(4) }, { f.ascii("missing"), f.uid(0) },
        { f.ascii("date"), f.uid(23) }, { f.ascii("null"), f.uid(25) },
        { f.ascii("blob"), f.uid(27) }, { f.ascii("ratio"), f.real(0.5) } });
    return f.archive(top, f.array(o));
}

// 300 strings in one array: more objects than a byte can count, so references, offsets and
// UIDs take two bytes and the array's count follows its marker.
QByteArray twoByteArchive()
{
    BinaryPlistFixture f(2, 2);
    std::vector<int> o { f.ascii("$null") };
    std::vector<int> uids;
    for (int i = 1; i <= 300; ++i) {
        o.push_back(f.ascii(QStringLiteral("s%1").arg(i - 1)));
        uids.push_back(i);
    }
    o.push_back(f.keyedObject({ { f.ascii("NS.objects"), f.uidArray(uids, 2) } }, 302));
    o.push_back(f.keyedClass({ "NSMutableArray", "NSArray", "NSObject" }));
    const int top = f.dictionary({ { f.ascii("names"), f.uid(301, 2) } });
    return f.archive(top, f.array(o));
}

} // namespace

TEST(KeyedArchiveRead, HandBuiltArchiveWithOneByteReferences)
{
    const KeyedArchive archive = readKeyedArchive(oneByteArchive());
    QStringList keys;
    for (const KeyedArchiveField& field : archive.fields())
        keys << field.key;
    EXPECT_EQ(keys,
        QStringList({ "title", "comment", "count", "flag", "prefs", "missing", "date", "null",
            "blob", "ratio" }));
    EXPECT_EQ(archive.decodeObjectForKey("title").toString(), title);
    EXPECT_EQ(archive.decodeObjectForKey("comment").toString(), "comment text");
    EXPECT_EQ(archive.decodeIntegerForKey("count"), 801051);
    EXPECT_TRUE(archive.decodeBoolForKey("flag"));
    EXPECT_EQ(archive.decodeDoubleForKey("ratio"), 0.5);
    EXPECT_TRUE(archive.containsValueForKey("missing"));
    EXPECT_FALSE(archive.decodeObjectForKey("missing").isValid());
    EXPECT_FALSE(archive.containsValueForKey("nothing"));
    EXPECT_EQ(archive.decodeObjectForKey("date").toDateTime(),
        QDateTime(QDate(2001, 1, 2), QTime(0, 0, 0, 500), Qt::UTC));
    EXPECT_EQ(archive.decodeObjectForKey("null").typeId(), QMetaType::Nullptr);
    EXPECT_EQ(archive.decodeObjectForKey("blob").toByteArray(), QByteArray("\x00\x01\xFF", 3));

    const QVariantMap prefs = archive.decodeObjectForKey("prefs").toMap();
    const QVariantList colour { 0.25, 0.25, 1.0, 1.0 };
    EXPECT_EQ(prefs.value("colour").toList(), colour);
    EXPECT_EQ(prefs.value("again").toList(), colour);
    const QVariantList sizes = prefs.value("sizes").toList();
    ASSERT_EQ(sizes.size(), 5);
    const qint64 expected[] = { 7, 300, 70000, -5, qint64(1) << 40 };
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(sizes[i].typeId(), QMetaType::LongLong);
        EXPECT_EQ(sizes[i].toLongLong(), expected[i]);
    }
    const KeyedArchiveObject font = prefs.value("font").value<KeyedArchiveObject>();
    EXPECT_EQ(font.className, "NSFont");
    EXPECT_EQ(font.classes, QStringList({ "NSFont", "NSObject" }));
    ASSERT_EQ(font.fields.size(), 3u);
    EXPECT_EQ(font.fields[0], (KeyedArchiveField { "NSName", "Helvetica", Storage::Reference }));
    EXPECT_EQ(font.fields[1], (KeyedArchiveField { "NSSize", 12.5, Storage::Inline }));
    EXPECT_EQ(font.fields[2], (KeyedArchiveField { "NSfFlags", qint64(16), Storage::Inline }));
}

TEST(KeyedArchiveRead, TwoByteReferencesAndLongCounts)
{
    const KeyedArchive archive = readKeyedArchive(twoByteArchive());
    const QVariantList names = archive.decodeObjectForKey("names").toList();
    ASSERT_EQ(names.size(), 300);
    EXPECT_EQ(names.first().toString(), "s0");
    EXPECT_EQ(names.last().toString(), "s299");
}

TEST(KeyedArchiveRead, ForeignArchivesSurviveReadWriteRead)
{
    for (const QByteArray& original : { oneByteArchive(), twoByteArchive() }) {
        const KeyedArchive first = readKeyedArchive(original);
        const QByteArray written = first.data();
        const KeyedArchive second = readKeyedArchive(written);
        EXPECT_EQ(second.fields(), first.fields());
        EXPECT_EQ(second.data(), written);
    }
}

TEST(KeyedArchiveRead, NumbersReadThroughTheTypedDecoders)
{
    KeyedArchive archive;
    archive.encodeDouble(12.9, "positive");
    archive.encodeDouble(-12.9, "negative");
    archive.encodeDouble(1e300, "huge");
    archive.encodeDouble(-1e300, "tiny");
    archive.encodeDouble(std::nan(""), "nan");
    archive.encodeObject(QStringLiteral("12"), "text");
    archive.encodeObject(qint64(3), "referenced");
    const KeyedArchive back = readKeyedArchive(archive.data());
    EXPECT_EQ(back.decodeIntegerForKey("positive"), 12);
    EXPECT_EQ(back.decodeIntegerForKey("negative"), -12);
    EXPECT_EQ(back.decodeIntegerForKey("huge"), std::numeric_limits<qint64>::max());
    EXPECT_EQ(back.decodeIntegerForKey("tiny"), std::numeric_limits<qint64>::min());
    EXPECT_EQ(back.decodeIntegerForKey("nan"), 0);
    EXPECT_EQ(back.decodeIntegerForKey("text"), 0);
    EXPECT_EQ(back.decodeIntegerForKey("absent"), 0);
    EXPECT_EQ(back.decodeIntegerForKey("referenced"), 3);
    EXPECT_FALSE(back.decodeBoolForKey("text"));
    EXPECT_TRUE(back.decodeBoolForKey("referenced"));
}

TEST(KeyedArchiveRead, LessCommonEncodings)
{
    BinaryPlistFixture f(1, 2);
    const int single = f.add(QByteArray("\x22\x3F\xC0\x00\x00", 5)); // 1.5 as a 4-byte real
    const int stamp = f.add(QByteArray("\x33\x40\x24\x00\x00\x00\x00\x00\x00", 9)); // 10 s
    const int farOff = f.add(QByteArray("\x33\x7F\xEF\xFF\xFF\xFF\xFF\xFF\xFF", 9)); // max double
    std::vector<int> o { f.ascii("$null") };
    o.push_back(f.keyedObject({ { f.ascii("NS.string"), f.uid(2) } }, 3)); // 1
    o.push_back(f.add(QByteArray("\x53\x41\xE9\x42", 4))); // 2: "AéB" in one byte per character
    o.push_back(f.keyedClass({ "NSString", "NSObject" })); // 3
    o.push_back(f.keyedObject({ { f.ascii("NS.data"), f.data("xyz") } }, 5)); // 4
    o.push_back(f.keyedClass({ "NSMutableData", "NSData", "NSObject" })); // 5
    o.push_back(f.keyedObject({ { f.ascii("NS.time"), f.integer(-86400, 8) } }, 7)); // 6
    o.push_back(f.keyedClass({ "NSDate", "NSObject" })); // 7
    const int top = f.dictionary({ { f.ascii("single"), single }, { f.ascii("stamp"), stamp },
        { f.ascii("farOff"), farOff }, { f.ascii("text"), f.uid(1) }, { f.ascii("data"), f.uid(4) },
        { f.ascii("day"), f.uid(6) } });
    const KeyedArchive archive = readKeyedArchive(f.archive(top, f.array(o)));
    EXPECT_EQ(archive.decodeDoubleForKey("single"), 1.5);
    const QDateTime epoch(QDate(2001, 1, 1), QTime(0, 0), Qt::UTC);
    EXPECT_EQ(archive.decodeObjectForKey("stamp").toDateTime(), epoch.addSecs(10));
    EXPECT_EQ(archive.fields()[1].storage, KeyedArchiveStorage::Inline);
    EXPECT_EQ(archive.decodeObjectForKey("farOff").value<KeyedArchiveDate>(),
        KeyedArchiveDate { std::numeric_limits<double>::max() });
    EXPECT_EQ(archive.decodeObjectForKey("text").toString(), "AéB");
    EXPECT_EQ(archive.decodeObjectForKey("data").toByteArray(), "xyz");
    EXPECT_EQ(archive.decodeObjectForKey("day").toDateTime(), epoch.addDays(-1));

    // The same values written and read again.
    const QByteArray written = archive.data();
    const KeyedArchive back = readKeyedArchive(written);
    EXPECT_EQ(back.fields(), archive.fields());
    EXPECT_EQ(back.data(), written);
}

TEST(KeyedArchiveDate, DatesReadAndWriteBackAsStoredWhateverTheirValue)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double infinity = std::numeric_limits<double>::infinity();
    const struct {
        double seconds;
        bool isDateTime; // else a KeyedArchiveDate
    } cases[] = {
        { 10.0, true },
        { -86400.0, true },
        { 0.25, true },
        { 1e-4, false }, // finer than a millisecond
        { nan, false },
        { -nan, false },
        { 1e300, false },
        { -1e300, false },
        { infinity, false },
        { -0.0, false },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.seconds);
        BinaryPlistFixture f(1, 2);
        const quint64 bits = std::bit_cast<quint64>(c.seconds);
        const int inPlace
            = f.add(QByteArray(1, char(0x33)) + BinaryPlistFixture::bigEndian(bits, 8));
        std::vector<int> o { f.ascii("$null") };
        o.push_back(f.keyedObject({ { f.ascii("NS.time"), f.real(c.seconds) } }, 2)); // 1
        o.push_back(f.keyedClass({ "NSDate", "NSObject" })); // 2
        const int top
            = f.dictionary({ { f.ascii("inPlace"), inPlace }, { f.ascii("object"), f.uid(1) } });
        const KeyedArchive archive = readKeyedArchive(f.archive(top, f.array(o)));
        const QByteArray written = archive.data();
        const KeyedArchive back = readKeyedArchive(written);
        EXPECT_EQ(back.fields(), archive.fields());
        EXPECT_EQ(back.data(), written);
        for (const KeyedArchive* read : { &archive, &back }) {
            for (const char* key : { "inPlace", "object" }) {
                SCOPED_TRACE(key);
                const QVariant value = read->decodeObjectForKey(QString::fromLatin1(key));
                EXPECT_EQ(value.typeId() == QMetaType::QDateTime, c.isDateTime);
                const std::optional<double> seconds = KeyedArchiveDateReferenceSeconds(value);
                ASSERT_TRUE(seconds.has_value());
                EXPECT_EQ(std::bit_cast<quint64>(*seconds), bits);
            }
        }
    }
}
