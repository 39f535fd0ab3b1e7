#include "BinaryPlistFixture.h"

#include "platform/KeyedArchive.h"

#include <gtest/gtest.h>

#include <QtEndian>

#include <functional>

namespace {

using Code = KeyedArchiveErrorCode;
using Entries = std::function<std::vector<int>(BinaryPlistFixture&)>;

// An archive whose "$top" holds {"a": uid 1} and whose "$objects" (from uid 0 on, "$null"
// first) are made by `entries`.
QByteArray archiveOf(const Entries& entries, int referenceSize = 1)
{
    BinaryPlistFixture f(referenceSize, 2);
    std::vector<int> objects { f.ascii("$null") };
    for (const int entry : entries(f))
        objects.push_back(entry);
    const int top = f.dictionary({ { f.ascii("a"), f.uid(1) } });
    return f.archive(top, f.array(objects));
}

::testing::AssertionResult refused(const QByteArray& data, Code code)
{
    KeyedArchiveError error;
    if (KeyedArchive::fromData(data, &error))
        return ::testing::AssertionFailure() << "the archive was read";
    if (error.code != code)
        return ::testing::AssertionFailure()
            << "error " << int(error.code) << ": " << error.reason.toStdString();
    return ::testing::AssertionSuccess();
}

QByteArray withTrailerByte(QByteArray data, int fromEnd, quint8 value)
{
    data[data.size() - fromEnd] = char(value);
    return data;
}

QByteArray withTrailerNumber(QByteArray data, int fromEnd, quint64 value)
{
    data.replace(data.size() - fromEnd, 8, BinaryPlistFixture::bigEndian(value, 8));
    return data;
}

// NSArrays nested `levels` deep, each holding the next `width` times; the last holds a string.
QByteArray nestedArrays(int levels, int width)
{
    return archiveOf(
        [levels, width](BinaryPlistFixture& f) {
            std::vector<int> entries;
            const int arrayClass = levels + 2;
            for (int level = 1; level <= levels; ++level)
                entries.push_back(
                    f.keyedObject({ { f.ascii("NS.objects"),
                                      f.uidArray(std::vector<int>(size_t(width), level + 1)) } },
                        arrayClass));
            entries.push_back(f.ascii("leaf"));
            entries.push_back(f.keyedClass({ "NSArray", "NSObject" }));
            return entries;
        },
        2);
}

const QByteArray valid = archiveOf(
    [](BinaryPlistFixture& f) { return std::vector<int> { f.utf16(QStringLiteral("Ω value")) }; });

} // namespace

TEST(KeyedArchiveMalformed, FixtureBaselineReads)
{
    const std::optional<KeyedArchive> archive = KeyedArchive::fromData(valid);
    ASSERT_TRUE(archive);
    EXPECT_EQ(archive->decodeObjectForKey("a").toString(), "Ω value");
    EXPECT_TRUE(KeyedArchive::fromData(nestedArrays(KeyedArchive::maximumDepth - 1, 1)));
}

TEST(KeyedArchiveMalformed, TruncatedAtEveryLength)
{
    KeyedArchive written;
    written.encodeObject(QVariantMap { { "k", QVariantList { 1, "two", 3.0 } } }, "top");
    for (const QByteArray& data : { valid, written.data(), nestedArrays(3, 2) }) {
        for (qsizetype length = 0; length < data.size(); ++length) {
            KeyedArchiveError error;
            EXPECT_FALSE(KeyedArchive::fromData(data.left(length), &error)) << length;
            EXPECT_FALSE(error.reason.isEmpty());
        }
    }
}

TEST(KeyedArchiveMalformed, TrailerAndOffsetTableOutOfBounds)
{
    QByteArray otherHeader = valid;
    otherHeader[7] = '1';
    EXPECT_TRUE(refused(otherHeader, Code::NotPropertyList));
    for (const quint8 size : { 0, 9, 255 }) {
        EXPECT_TRUE(refused(withTrailerByte(valid, 26, size), Code::NotPropertyList)) << size;
        EXPECT_TRUE(refused(withTrailerByte(valid, 25, size), Code::NotPropertyList)) << size;
    }
    for (const quint64 count : { quint64(0), quint64(1) << 62, ~quint64(0), quint64(valid.size()) })
        EXPECT_TRUE(refused(withTrailerNumber(valid, 24, count), Code::NotPropertyList)) << count;
    for (const quint64 root : { quint64(1) << 40, ~quint64(0) })
        EXPECT_TRUE(refused(withTrailerNumber(valid, 16, root), Code::NotPropertyList)) << root;
    for (const quint64 table : { quint64(0), quint64(8), quint64(valid.size()), ~quint64(0) })
        EXPECT_TRUE(refused(withTrailerNumber(valid, 8, table), Code::NotPropertyList)) << table;

    // The root's offset pointing into the offset table, beyond the data, or into the header.
    const auto table = qsizetype(qFromBigEndian<quint64>(valid.constData() + valid.size() - 8));
    const auto root = qsizetype(qFromBigEndian<quint64>(valid.constData() + valid.size() - 16));
    for (const quint64 offset : { quint64(table), quint64(0xFFFF), quint64(3) }) {
        QByteArray data = valid;
        data.replace(table + 2 * root, 2, BinaryPlistFixture::bigEndian(offset, 2));
        EXPECT_TRUE(refused(data, Code::Malformed)) << offset;
    }
}

TEST(KeyedArchiveMalformed, ObjectsOutOfBounds)
{
    const std::pair<const char*, QByteArray> objects[] = {
        { "string longer than the data",
            QByteArray("\x5F\x13\x7F\xFF\xFF\xFF\xFF\xFF\xFF\xFF", 10) },
        { "length that is no integer",
            QByteArray("\x5F\x23\x00\x00\x00\x00\x00\x00\x00\x02xy", 12) },
        { "length wider than 8 bytes", QByteArray("\x5F\x14", 2) + QByteArray(16, '\0') },
        { "UTF-16 beyond the objects", QByteArray("\x63\x00\x41\x00\x42\x00", 6) },
        { "integer beyond 64 bits",
            QByteArray("\x14", 1) + QByteArray(7, '\0') + '\x01' + QByteArray(8, '\0') },
        { "UID of 9 bytes", QByteArray("\x88", 1) + QByteArray(9, '\x01') },
        { "set", QByteArray("\xC0", 1) },
        { "plist null", QByteArray("\x00", 1) },
        { "fill byte", QByteArray("\x0F", 1) },
        { "unknown marker", QByteArray("\x70", 1) },
        { "3-byte real", QByteArray("\x21\x00\x00", 3) },
        { "date of 4 bytes", QByteArray("\x32\x00\x00\x00\x00", 5) },
        { "array of UIDs", QByteArray() },
    };
    for (const auto& [what, bytes] : objects) {
        // The damaged object is the last before the offset table, so nothing follows it.
        BinaryPlistFixture f(1, 2);
        const int null = f.ascii("$null");
        const int top = f.dictionary({ { f.ascii("a"), f.uid(1) } });
        const int objects = f.reserve();
        const int root = f.dictionary({ { f.ascii("$archiver"), f.ascii("NSKeyedArchiver") },
            { f.ascii("$version"), f.integer(100000, 4) }, { f.ascii("$top"), top },
            { f.ascii("$objects"), objects } });
        const int damaged = bytes.isEmpty() ? f.uidArray({ 0 }) : f.add(bytes);
        f.set(objects, f.arrayBytes({ null, damaged }));
        EXPECT_TRUE(refused(f.bytes(root), Code::Malformed)) << what;
    }
    // A container element beyond the object table.
    BinaryPlistFixture f;
    const int top = f.dictionary({ { f.ascii("a"), 200 } });
    EXPECT_TRUE(refused(f.archive(top, f.array({ f.ascii("$null") })), Code::Malformed));
}

TEST(KeyedArchiveMalformed, CyclicAndSelfReferencingArchives)
{
    const auto arrayOf = [](BinaryPlistFixture& f, int element, int arrayClass) {
        return f.keyedObject({ { f.ascii("NS.objects"), f.uidArray({ element }) } }, arrayClass);
    };
    EXPECT_TRUE(refused(archiveOf([&](BinaryPlistFixture& f) {
        return std::vector<int> { arrayOf(f, 1, 2), f.keyedClass({ "NSArray" }) };
    }),
        Code::Cyclic));
    EXPECT_TRUE(refused(archiveOf([&](BinaryPlistFixture& f) {
        return std::vector<int> { arrayOf(f, 3, 2), f.keyedClass({ "NSArray" }), arrayOf(f, 1, 2) };
    }),
        Code::Cyclic));
    EXPECT_TRUE(refused(archiveOf([](BinaryPlistFixture& f) {
        return std::vector<int> { f.keyedObject({ { f.ascii("next"), f.uid(1) } }, 2),
            f.keyedClass({ "Thing" }) };
    }),
        Code::Cyclic));
    // An object that is its own class.
    EXPECT_TRUE(refused(
        archiveOf([](BinaryPlistFixture& f) { return std::vector<int> { f.keyedObject({}, 1) }; }),
        Code::Malformed));

    // Property-list containers that contain themselves: "$objects" and "$top".
    BinaryPlistFixture f;
    const int objects = f.reserve();
    f.set(objects, f.arrayBytes({ f.ascii("$null"), objects }));
    EXPECT_TRUE(
        refused(f.archive(f.dictionary({ { f.ascii("a"), f.uid(1) } }), objects), Code::Malformed));
    BinaryPlistFixture g;
    const int top = g.reserve();
    g.set(top, g.dictionaryBytes({ { g.ascii("a"), top } }));
    EXPECT_TRUE(refused(g.archive(top, g.array({ g.ascii("$null") })), Code::Malformed));
}

TEST(KeyedArchiveMalformed, TooDeepAndTooLarge)
{
    EXPECT_TRUE(refused(nestedArrays(KeyedArchive::maximumDepth + 1, 1), Code::TooDeep));
    EXPECT_TRUE(refused(nestedArrays(500, 1), Code::TooDeep));
    // 2^40 leaves from a file of a few hundred bytes.
    EXPECT_TRUE(refused(nestedArrays(40, 2), Code::TooLarge));
}

TEST(KeyedArchiveMalformed, NotInKeyedArchiverForm)
{
    BinaryPlistFixture plain;
    EXPECT_TRUE(refused(plain.bytes(plain.array({})), Code::NotKeyedArchive));
    BinaryPlistFixture other;
    const int root = other.dictionary({ { other.ascii("$archiver"), other.ascii("Other") },
        { other.ascii("$version"), other.integer(100000, 4) },
        { other.ascii("$top"), other.dictionary({}) },
        { other.ascii("$objects"), other.array({ other.ascii("$null") }) } });
    EXPECT_TRUE(refused(other.bytes(root), Code::NotKeyedArchive));
    BinaryPlistFixture empty;
    EXPECT_TRUE(
        refused(empty.archive(empty.dictionary({}), empty.array({})), Code::NotKeyedArchive));

    const Entries malformedObjects[] = {
        [](BinaryPlistFixture& f) { // a dictionary key that is no string
            return std::vector<int> { f.keyedObject(
                                          { { f.ascii("NS.keys"), f.uidArray({ 3 }) },
                                              { f.ascii("NS.objects"), f.uidArray({ 3 }) } },
                                          2),
                f.keyedClass({ "NSDictionary" }), f.integer(5, 1) };
        },
        [](BinaryPlistFixture& f) { // more keys than objects
            return std::vector<int> { f.keyedObject(
                                          { { f.ascii("NS.keys"), f.uidArray({ 3, 3 }) },
                                              { f.ascii("NS.objects"), f.uidArray({ 3 }) } },
                                          2),
                f.keyedClass({ "NSMutableDictionary" }), f.ascii("k") };
        },
        [](BinaryPlistFixture& f) { // a string object without its text
            return std::vector<int> { f.keyedObject({}, 2), f.keyedClass({ "NSMutableString" }) };
        },
        [](BinaryPlistFixture& f) { // an object without a class
            return std::vector<int> { f.dictionary({ { f.ascii("x"), f.integer(1, 1) } }) };
        },
        [](BinaryPlistFixture& f) { // a key given twice
            const int key = f.ascii("x");
            return std::vector<int> {
                f.keyedObject({ { key, f.integer(1, 1) }, { key, f.integer(2, 1) } }, 2),
                f.keyedClass({ "Thing" })
            };
        },
        [](BinaryPlistFixture& f) { // a reference beyond the archived objects
            return std::vector<int> { f.keyedObject({ { f.ascii("x"), f.uid(9) } }, 2),
                f.keyedClass({ "Thing" }) };
        },
        [](BinaryPlistFixture& f) { // an array mixing references and values
            return std::vector<int> {
                f.keyedObject({ { f.ascii("x"), f.array({ f.uid(0), f.integer(1, 1) }) } }, 2),
                f.keyedClass({ "Thing" })
            };
        },
        [](BinaryPlistFixture& f) { // a date whose time is text
            return std::vector<int> { f.keyedObject({ { f.ascii("NS.time"), f.ascii("now") } }, 2),
                f.keyedClass({ "NSDate" }) };
        },
    };
    for (size_t i = 0; i < std::size(malformedObjects); ++i)
        EXPECT_TRUE(refused(archiveOf(malformedObjects[i]), Code::Malformed)) << i;
}
