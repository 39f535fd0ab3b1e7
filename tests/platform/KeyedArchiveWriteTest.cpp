#include "KeyedArchiveTesting.h"
#include "platform/KeyedArchive.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QPointF>
#include <QVariantList>
#include <QVariantMap>

namespace {

using Storage = KeyedArchiveStorage;

// A font as an earlier version archived it inside the preferences.
KeyedArchiveObject archivedFont()
{
    return { "NSFont", { "NSFont", "NSObject" },
        { { "NSName", QStringLiteral("Monaco"), Storage::Reference },
            { "NSSize", 10.0, Storage::Inline }, { "NSfFlags", qint64(16), Storage::Inline },
            { "NSAlternates", QVariantList { QStringLiteral("a"), QVariant() },
                Storage::ReferenceList },
            { "NSBytes", QVariantList { qint64(1), 2.5, true }, Storage::Inline } } };
}

// The entries of a project file, in the order its writer gives them.
KeyedArchive projectArchive()
{
    KeyedArchive archive;
    archive.encodeObject(QStringLiteral("UFemProjectDocument"), "UFemDataTypeString");
    archive.encodeObject(QStringLiteral("0.8"), "UFemMinimumApplicationVersionStringForDataType");
    archive.encodeInteger(800000, "UFemMinimumApplicationVersionNumberForDataType");
    archive.encodeObject(QStringLiteral("0.8.1.5.1"), "UFemDataCreatorApplicationVersionString");
    archive.encodeInteger(801051, "UFemDataCreatorApplicationVersionNumber");
    archive.encodeObject(QStringLiteral("Brücke – Lastfall"), "projectTitleString");
    archive.encodeObject(QStringLiteral("shared text"), "projectVersionString");
    archive.encodeObject(QStringLiteral("shared text"), "projectCommentString");
    archive.encodeBool(true, "projectDoesLoadModelDataAuto");
    archive.encodeBool(false, "projectDoesLoadResultDataAuto");
    const QVariantMap nested { { "depth", qint64(2) }, { "empty", QVariantMap() } };
    const QVariantMap preferences { { "NodeColor", QVariantList { 1.0, 0.5, 0.0, 1.0 } },
        { "Font", QVariant::fromValue(archivedFont()) }, { "Nested", nested },
        { "When", QDateTime(QDate(2020, 2, 29), QTime(12, 30, 15, 250), Qt::UTC) },
        { "Bytes", QByteArray("\x00\x7F\x80\xFF", 4) }, { "None", QVariant::fromValue(nullptr) },
        { "NullText", QStringLiteral("$null") }, { "Names", QVariantList { "a", "b", "a" } },
        { "Big", std::numeric_limits<qint64>::max() }, { "Negative", qint64(-1) } };
    archive.encodeObject(preferences, "projectPreferencesDictionary");
    return archive;
}

} // namespace

TEST(KeyedArchiveWrite, WriterReaderWriterIsByteIdentical)
{
    const KeyedArchive original = projectArchive();
    const QByteArray written = original.data();
    ASSERT_TRUE(written.startsWith("bplist00"));
    const KeyedArchive back = readKeyedArchive(written);
    EXPECT_EQ(back.fields(), original.fields());
    EXPECT_EQ(back.data(), written);
    EXPECT_EQ(back.decodeObjectForKey("projectTitleString").toString(), "Brücke – Lastfall");
    EXPECT_EQ(back.decodeIntegerForKey("UFemDataCreatorApplicationVersionNumber"), 801051);
    const QVariantMap preferences = back.decodeObjectForKey("projectPreferencesDictionary").toMap();
    EXPECT_EQ(preferences.value("Font").value<KeyedArchiveObject>(), archivedFont());
    // A string "$null" is a value like any other, not a reference to no object.
    EXPECT_EQ(preferences.value("NullText").toString(), "$null");
    EXPECT_EQ(preferences.value("None").typeId(), QMetaType::Nullptr);
}

TEST(KeyedArchiveWrite, KeysKeepTheirFirstPlaceAndEqualObjectsAreShared)
{
    KeyedArchive archive = projectArchive();
    archive.encodeObject(QStringLiteral("UFemResultPackageDocument"), "UFemDataTypeString");
    archive.encodeObject(QVariant(), "projectModelFilePathString");
    const KeyedArchive back = readKeyedArchive(archive.data());
    ASSERT_EQ(back.fields().size(), 12u);
    EXPECT_EQ(back.fields().front().key, "UFemDataTypeString");
    EXPECT_EQ(
        back.decodeObjectForKey("UFemDataTypeString").toString(), "UFemResultPackageDocument");
    EXPECT_EQ(back.fields().back().key, "projectModelFilePathString");
    EXPECT_TRUE(back.containsValueForKey("projectModelFilePathString"));
    EXPECT_FALSE(back.decodeObjectForKey("projectModelFilePathString").isValid());
    EXPECT_EQ(back.fields()[2].storage, Storage::Inline);
    EXPECT_EQ(back.fields()[1].storage, Storage::Reference);

    // One object for the two equal strings, one description of each class.
    const QByteArray data = archive.data();
    EXPECT_EQ(data.count("shared text"), 1);
    EXPECT_EQ(data.count("NSDictionary"), 1);
    EXPECT_EQ(data.count("NSObject"), 1);
}

TEST(KeyedArchiveWrite, WideTablesUseWiderReferences)
{
    // More than 65536 objects: references and UIDs take three bytes.
    QVariantList numbers;
    for (qint64 i = 0; i < 70000; ++i)
        numbers.append(i * 7);
    KeyedArchive archive;
    archive.encodeObject(numbers, "numbers");
    const QByteArray data = archive.data();
    EXPECT_EQ(data.at(data.size() - 25), 3); // reference size in the trailer
    const QVariantList back = readKeyedArchive(data).decodeObjectForKey("numbers").toList();
    ASSERT_EQ(back.size(), numbers.size());
    EXPECT_EQ(back.last().toLongLong(), 69999 * 7);
}

TEST(KeyedArchiveWrite, ValuesTheArchiveCannotHoldAreRefused)
{
    const QVariant unsupported[]
        = { QVariant(QPointF(1, 2)), QVariant(QVariantList { QVariant(QPointF(1, 2)) }),
              QVariant(std::numeric_limits<quint64>::max()) };
    for (const QVariant& value : unsupported) {
        KeyedArchive archive;
        archive.encodeObject(QVariantMap { { "inner", value } }, "key");
        KeyedArchiveError error;
        EXPECT_TRUE(archive.data(&error).isEmpty());
        EXPECT_EQ(error.code, KeyedArchiveErrorCode::UnsupportedValue);
    }
    KeyedArchive inlineContainer;
    inlineContainer.encodeObject(QVariant(), "fine");
    KeyedArchiveObject object { "Thing", { "Thing" },
        { { "map", QVariantMap { { "a", 1 } }, Storage::Inline } } };
    inlineContainer.encodeObject(QVariant::fromValue(object), "thing");
    KeyedArchiveError error;
    EXPECT_TRUE(inlineContainer.data(&error).isEmpty());
    EXPECT_EQ(error.code, KeyedArchiveErrorCode::UnsupportedValue);
}

TEST(KeyedArchiveWrite, OtherQtTypesArchiveAsTheirPlainForms)
{
    KeyedArchive archive;
    archive.encodeObject(QStringList { "x", "y" }, "strings");
    archive.encodeObject(QVariantHash { { "b", 2 }, { "a", 1u } }, "hash");
    archive.encodeObject(1.25f, "float");
    archive.encodeObject(
        QDateTime(QDate(1999, 12, 31), QTime(23, 0), Qt::OffsetFromUTC, 3600), "local");
    const KeyedArchive back = readKeyedArchive(archive.data());
    EXPECT_EQ(back.decodeObjectForKey("strings"), QVariant(QVariantList { "x", "y" }));
    const QVariant hash = back.decodeObjectForKey("hash");
    EXPECT_EQ(hash.typeId(), QMetaType::QVariantMap);
    EXPECT_EQ(hash.toMap(), (QVariantMap { { "a", qint64(1) }, { "b", qint64(2) } }));
    EXPECT_EQ(back.decodeObjectForKey("float").typeId(), QMetaType::Double);
    EXPECT_EQ(back.decodeDoubleForKey("float"), 1.25);
    EXPECT_EQ(back.decodeObjectForKey("local").toDateTime(),
        QDateTime(QDate(1999, 12, 31), QTime(22, 0), Qt::UTC));
}
