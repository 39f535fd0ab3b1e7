#include "ResultDataSamples.h"

#include "calculation/results/UFemResultFileContents.h"
#include "calculation/results/UFemResultFileWriter.h"
#include "calculation/results/UFemVersionString.h"
#include "foundation/buffers/UFormattedData.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "QStringPrinting.h"

#include <gtest/gtest.h>

#include <cstring>
#include <ostream>

namespace {

constexpr quint64 headerSize = 72;
constexpr quint64 recordSize = 64;
constexpr quint64 dataVersionOffset = 56;
constexpr quint64 optionalInteger1Offset = 60;
constexpr quint64 endianTypeOffset = 14;

QByteArray fileOf(const UFemResultDataManager& resultData)
{
    UErrorPtr error;
    const std::optional<QByteArray> data = resultData.resultFileData(&error);
    EXPECT_TRUE(data.has_value());
    return data.value_or(QByteArray());
}

QByteArray sampleFile(const ResultDataSample& sample = {})
{
    return fileOf(*makeSampleResultData(sample));
}

template <typename Value> void patch(QByteArray& data, quint64 offset, Value value)
{
    std::memcpy(data.data() + offset, &value, sizeof value);
}

template <typename Value> Value fieldAt(const QByteArray& data, quint64 offset)
{
    Value value;
    std::memcpy(&value, data.constData() + offset, sizeof value);
    return value;
}

// The offset of the record of `identifier` in the record table.
quint64 recordOffset(const QByteArray& data, quint64 identifier)
{
    const quint32 count = fieldAt<quint32>(data, 68);
    for (quint64 i = 0; i < count; ++i) {
        if (fieldAt<quint32>(data, headerSize + recordSize * i) == identifier)
            return headerSize + recordSize * i;
    }
    ADD_FAILURE() << "no component " << identifier;
    return 0;
}

quint64 areaOffset(const QByteArray& data, quint64 identifier)
{
    return fieldAt<quint64>(data, recordOffset(data, identifier) + 8);
}

// A manager that carries a reading error: model text kept, error as its calculation error, never
// matched to a model.
void expectPartial(const ReadResult& read, qint64 code, const QString& oneLine = QString())
{
    ASSERT_NE(read.resultData, nullptr);
    ASSERT_NE(read.readingError, nullptr);
    EXPECT_EQ(read.readingError->code(), code);
    if (!oneLine.isNull()) {
        EXPECT_EQ(read.readingError->localizedOneLineDescription(), oneLine);
    }
    EXPECT_TRUE(read.resultData->modelText().has_value());
    EXPECT_FALSE(read.resultData->canSynchronizeNodeNoAndCaseNoWithModelData());
    // The error is the result's calculation error unless the file gave one of its own.
    if (read.resultData->calculationError() == read.readingError) {
        EXPECT_EQ(read.resultData->calculationErrorString(),
            read.readingError->localizedOneLineDescription());
    } else {
        EXPECT_EQ(read.resultData->calculationError()->code(), 21011);
        EXPECT_TRUE(read.resultData->calculationErrorString().has_value());
    }
}

void expectSameContents(const UFemResultDataContents& a, const UFemResultDataContents& b)
{
    EXPECT_EQ(a.projectTitleString, b.projectTitleString);
    EXPECT_EQ(a.projectVersionString, b.projectVersionString);
    EXPECT_EQ(a.projectCommentString, b.projectCommentString);
    EXPECT_EQ(a.modelText, b.modelText);
    EXPECT_EQ(a.calculationInfoString, b.calculationInfoString);
    EXPECT_EQ(a.calculationLogString, b.calculationLogString);
    EXPECT_EQ(a.calculationErrorString, b.calculationErrorString);
    EXPECT_EQ(a.nodeNameStringArray, b.nodeNameStringArray);
    EXPECT_EQ(a.caseNameStringArray, b.caseNameStringArray);
    EXPECT_EQ(a.caseRestraintNameStringArray, b.caseRestraintNameStringArray);
    ASSERT_EQ(a.caseInfoRecordTable.size(), b.caseInfoRecordTable.size());
    EXPECT_EQ(0,
        std::memcmp(a.caseInfoRecordTable.data(), b.caseInfoRecordTable.data(),
            32 * a.caseInfoRecordTable.size()));
    ASSERT_EQ(a.nodeInfoRecordTable.size(), b.nodeInfoRecordTable.size());
    EXPECT_EQ(0,
        std::memcmp(a.nodeInfoRecordTable.data(), b.nodeInfoRecordTable.data(),
            16 * a.nodeInfoRecordTable.size()));
    EXPECT_EQ(a.displacementValueTable, b.displacementValueTable);
    EXPECT_EQ(a.eachCalculationErrorStringHolderArray, b.eachCalculationErrorStringHolderArray);
}

// Whatever a damaged file gives must be one of the three outcomes, and a complete result must
// answer every query and write the same file again.
void expectSoundOutcome(const QByteArray& data)
{
    const ReadResult read = readFile(data);
    if (read.resultData == nullptr) {
        ASSERT_NE(read.error, nullptr);
        return;
    }
    EXPECT_EQ(read.error, nullptr);
    if (read.readingError) {
        expectPartial(read, read.readingError->code());
        return;
    }
    const UFemResultDataManagerImpl& resultData = *read.resultData;
    ASSERT_TRUE(resultData.canSynchronizeNodeNoAndCaseNoWithModelData());
    for (quint64 q = 0; q < resultData.caseCount(); ++q) {
        for (quint64 n = 0; n < resultData.nodeCount(); ++n) {
            double u[6];
            quint8 s[6];
            std::optional<QString> errorText;
            EXPECT_TRUE(resultData.getNodeDisplacement(
                u, s, n, UFemRotationIndexSetBoth, q, &errorText, nullptr));
        }
    }
    const QByteArray written = fileOf(resultData);
    const ReadResult again = readFile(written);
    ASSERT_NE(again.resultData, nullptr);
    ASSERT_EQ(again.readingError, nullptr);
    EXPECT_EQ(fileOf(*again.resultData), written);
}

} // namespace

TEST(ResultFile, WriteReadWriteIsByteIdentical)
{
    for (const auto& [name, sample] : resultFileSeedSamples()) {
        SCOPED_TRACE(name);
        const auto original = makeSampleResultData(sample);
        const QByteArray written = fileOf(*original);
        const ReadResult read = readFile(written);
        ASSERT_NE(read.resultData, nullptr);
        EXPECT_EQ(read.readingError, nullptr);
        EXPECT_TRUE(read.resultData->canSynchronizeNodeNoAndCaseNoWithModelData());
        expectSameContents(read.resultData->contents(), original->contents());
        EXPECT_EQ(fileOf(*read.resultData), written);
        if (original->calculationError())
            EXPECT_EQ(read.resultData->calculationError()->localizedRecoverySuggestion(),
                original->calculationError()->localizedRecoverySuggestion());
        else
            EXPECT_EQ(read.resultData->calculationError(), nullptr);
    }
}

TEST(ResultFile, HeaderAndComponentsInTheirOrder)
{
    const QByteArray data = sampleFile({ 3, 4, 2, 0b10 });
    EXPECT_STREQ(UFormattedDataTypeNameString_error(data, nullptr), "UFemResultFileDataType");
    EXPECT_EQ(UFormattedDataVersionNumber_error(data, nullptr), 801051u);
    EXPECT_EQ(UFormattedDataOptionalInteger1_error(data, nullptr), 801050u);
    EXPECT_EQ(UFormattedDataOptionalInteger2_error(data, nullptr), 0u);
    EXPECT_EQ(UFormattedDataEndianType_error(data, nullptr), 1u);
    std::vector<quint64> identifiers;
    ASSERT_TRUE(getUFormattedDataComponentIdentifierTable(data, &identifiers, nullptr));
    // No project comment was given.
    EXPECT_EQ(identifiers,
        (std::vector<quint64> {
            1100, 1200, 2000, 5100, 5200, 5300, 6100, 6200, 6300, 7100, 7200, 7300, 9100 }));
    QStringList names;
    ASSERT_TRUE(UFormattedDataComponentNameStringArray_error(data, &names, nullptr));
    EXPECT_EQ(names[2], QStringLiteral("ModelText"));
    EXPECT_EQ(names[12], QStringLiteral("EachCalculationErrorStringHolde"));
    // Case C2 (restraint set R2, failed first) carries error number 1 and no values.
    const quint64 caseRecords = areaOffset(data, 7100);
    EXPECT_EQ(fieldAt<quint64>(data, caseRecords + 32 + 0), 1u);
    EXPECT_EQ(fieldAt<quint64>(data, caseRecords + 32 + 8), 1u);
    EXPECT_EQ(fieldAt<quint64>(data, caseRecords + 32 + 24), 0u);
    EXPECT_EQ(fieldAt<quint64>(data, caseRecords + 8), 0u);
    // Node record 3 (N2's rotations in set R1) is not calculated: all ones, zero stiffness.
    const quint64 nodeRecords = areaOffset(data, 7200);
    EXPECT_EQ(fieldAt<quint64>(data, nodeRecords + 48), ~quint64(0));
    EXPECT_EQ(fieldAt<quint32>(data, nodeRecords + 48 + 8), 0x040404u);
    EXPECT_EQ(fieldAt<quint32>(data, nodeRecords + 48 + 12), 0u);
}

TEST(ResultFile, VersionTexts)
{
    EXPECT_EQ(UFemVersionStringWithVersionNumber(801051), QStringLiteral("0.8.1.5.1"));
    EXPECT_EQ(UFemVersionStringWithVersionNumber(801050), QStringLiteral("0.8.1.5"));
    EXPECT_EQ(UFemVersionStringWithVersionNumber(801052), QStringLiteral("0.8.1.5.2"));
    EXPECT_EQ(UFemVersionStringWithVersionNumber(801005), QStringLiteral("0.8.1.0.5"));
    EXPECT_EQ(UFemVersionStringWithVersionNumber(800000), QStringLiteral("0.8"));
    EXPECT_EQ(UFemVersionStringWithVersionNumber(0), QStringLiteral("0.0"));
    EXPECT_EQ(UFemVersionStringWithVersionNumber(999999), QStringLiteral("0.9.99.99.9"));
    EXPECT_TRUE(UFemVersionStringWithVersionNumber(1000000).isNull());
}

TEST(ResultFile, VersionBoundaries)
{
    const QByteArray file = sampleFile();
    QByteArray old = file;
    patch<quint32>(old, dataVersionOffset, 801050);
    const ReadResult oldRead = readFile(old);
    expectPartial(oldRead, 11008);
    EXPECT_EQ(oldRead.readingError->localizedDescription(),
        QStringLiteral("Result Document which is created by version older than 'Vantrel "
                       "ver.0.8.1.5.1' can't be opened."));
    EXPECT_EQ(oldRead.resultData->modelText(), QStringLiteral("\\ a model of 4 nodes\n"));
    EXPECT_EQ(oldRead.resultData->projectTitleString(), QStringLiteral("Title"));
    EXPECT_EQ(oldRead.resultData->nodeCount(), 0u);

    QByteArray newer = file;
    patch<quint32>(newer, dataVersionOffset, 801052);
    patch<quint32>(newer, optionalInteger1Offset, 801051);
    const ReadResult newerRead = readFile(newer);
    EXPECT_EQ(newerRead.readingError, nullptr);
    EXPECT_TRUE(newerRead.resultData->canSynchronizeNodeNoAndCaseNoWithModelData());

    QByteArray tooNew = file;
    patch<quint32>(tooNew, optionalInteger1Offset, 801052);
    const ReadResult tooNewRead = readFile(tooNew);
    expectPartial(tooNewRead, 11007);
    EXPECT_TRUE(tooNewRead.readingError->localizedRecoverySuggestion().contains(
        QStringLiteral("'Vantrel ver.0.8.1.5.2'")));
    // A number past every version's form still names a version.
    patch<quint32>(tooNew, optionalInteger1Offset, 1000000);
    const ReadResult farRead = readFile(tooNew);
    expectPartial(farRead, 11007);
    EXPECT_TRUE(farRead.readingError->localizedRecoverySuggestion().contains(
        QStringLiteral("'Vantrel ver.0.8.1.5.2'")));
}

TEST(ResultFile, EveryMissingRequiredComponentIsNamed)
{
    const QByteArray file = sampleFile();
    const std::pair<quint32, const char*> required[] = { { 6100, "NodeNameArray" },
        { 6200, "CaseNameArray" }, { 6300, "CaseRestraintNameArray" },
        { 7100, "CaseInfoRecordTable" }, { 7200, "NodeInfoRecordTable" } };
    for (const auto& [identifier, name] : required) {
        QByteArray damaged = file;
        patch<quint32>(damaged, recordOffset(damaged, identifier), 4242);
        expectPartial(readFile(damaged), 21012,
            QStringLiteral("Loading Result Data failed. - Required Data ( %1 ) is not found.")
                .arg(QLatin1String(name)));
    }
    QByteArray noModel = file;
    patch<quint32>(noModel, recordOffset(noModel, 2000), 4242);
    const ReadResult read = readFile(noModel);
    EXPECT_EQ(read.resultData, nullptr);
    ASSERT_NE(read.error, nullptr);
    EXPECT_EQ(read.error->localizedOneLineDescription(),
        QStringLiteral("Loading Result Data failed. - Required Data ( ModelText ) is not found."));

    // There, but no UTF-8 text: broken rather than missing.
    QByteArray badText = file;
    const quint64 textOffset = fieldAt<quint64>(badText, recordOffset(badText, 2000) + 8);
    badText[qsizetype(textOffset)] = char(0xFF);
    const ReadResult badRead = readFile(badText);
    EXPECT_EQ(badRead.resultData, nullptr);
    ASSERT_NE(badRead.error, nullptr);
    EXPECT_EQ(badRead.error->localizedOneLineDescription(),
        QStringLiteral("Loading Result Data failed. - Data ( ModelText ) is broken."));
}

TEST(ResultFile, EmptyForeignAndOtherTypeFiles)
{
    ReadResult read = readFile(QByteArray());
    EXPECT_EQ(read.resultData, nullptr);
    EXPECT_EQ(read.error->code(), 11028);
    EXPECT_EQ(read.error->localizedDescription(), QStringLiteral("Result File is empty."));

    // Data that are no container are read as a keyed archive, which they are not either.
    read = readFile(QByteArray("bplist00 not a result file"));
    EXPECT_EQ(read.resultData, nullptr);
    EXPECT_EQ(read.error->code(), 11006);

    QByteArray otherType = sampleFile();
    otherType[24 + 31] = 'x'; // past the name's terminator: the whole 32-byte field is compared
    read = readFile(otherType);
    EXPECT_EQ(read.resultData, nullptr);
    EXPECT_EQ(read.error->code(), 11006);
}

// A container whose header or record table is damaged is no result file this reader knows, and
// is no older file either.
TEST(ResultFileDamaged, DamagedContainersAreUnknownResultDocuments)
{
    const QByteArray file = sampleFile();
    const quint32 count = fieldAt<quint32>(file, 68);
    QByteArray countAllOnes = file;
    patch<quint32>(countAllOnes, 68, 0xFFFFFFFFu);
    QByteArray lastLengthAllOnes = file;
    patch<quint64>(lastLengthAllOnes, headerSize + recordSize * (count - 1) + 16, ~quint64(0));
    QByteArray modelTextAtZero = file;
    patch<quint64>(modelTextAtZero, recordOffset(file, 2000) + 8, 0);
    QByteArray unterminatedName = file;
    unterminatedName.replace(24, 32, QByteArray(32, 'U'));
    const struct {
        const char* name;
        QByteArray data;
    } cases[] = {
        { "cut short", file.left(100) },
        { "component count all ones", countAllOnes },
        { "last length all ones", lastLengthAllOnes },
        { "model text at offset 0", modelTextAtZero },
        { "unterminated type name", unterminatedName },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ReadResult read = readFile(c.data);
        EXPECT_EQ(read.resultData, nullptr);
        ASSERT_NE(read.error, nullptr);
        EXPECT_EQ(read.error->code(), 11006);
        EXPECT_EQ(read.error->localizedDescription(), QStringLiteral("Unknown Result Document."));
    }
}

TEST(ResultFile, WrongValueTypeIsAnErrorNotAnAbort)
{
    QByteArray data = sampleFile();
    patch<quint32>(data, recordOffset(data, 7100) + 4, 11);
    expectPartial(readFile(data), 81004);
    data = sampleFile();
    patch<quint32>(data, recordOffset(data, 1100) + 4, 202);
    const ReadResult read = readFile(data);
    EXPECT_EQ(read.resultData, nullptr);
    EXPECT_EQ(read.error->code(), 81004);
}

TEST(ResultFile, FailedSetsTextsReturnToTheirCases)
{
    const ResultDataSample sample { 3, 7, 3, 0b101 };
    const ReadResult read = readFile(sampleFile(sample));
    ASSERT_NE(read.resultData, nullptr);
    EXPECT_EQ(read.resultData->contents().eachCalculationErrorStringHolderArray,
        (QStringList { "Set R1 failed.", "Set R3 failed." }));
    EXPECT_EQ(read.resultData->calculationError()->code(), 21011);
    for (quint64 q = 0; q < sample.caseCount; ++q) {
        std::optional<QString> errorText;
        double u[3];
        EXPECT_TRUE(read.resultData->getNodeDisplacement(
            u, 0, UFemRotationIndexSetTranslation, q, &errorText, nullptr));
        const std::optional<QString> expected = q % 3 == 1
            ? std::nullopt
            : std::optional<QString>(QStringLiteral("Set R%1 failed.").arg(q % 3 + 1));
        EXPECT_EQ(errorText, expected) << q;
        EXPECT_EQ(u[0], q % 3 == 1 ? sampleDisplacement(0, 0, q, 0) : 0.0);
    }
}

TEST(ResultFile, AllFailedHasNoValuesAndReadsComplete)
{
    const QByteArray data = sampleFile({ 3, 3, 2, 0b11 });
    EXPECT_EQ(
        UFormattedDataComponentNameStringWithComponentIdentifier(data, 7300, nullptr), nullptr);
    const ReadResult read = readFile(data);
    ASSERT_NE(read.resultData, nullptr);
    EXPECT_EQ(read.readingError, nullptr);
    EXPECT_TRUE(read.resultData->canSynchronizeNodeNoAndCaseNoWithModelData());
    EXPECT_TRUE(read.resultData->contents().displacementValueTable.empty());
}

TEST(ResultFile, SwappedByteOrderReadsTheSame)
{
    const auto original = makeSampleResultData({ 5, 13, 2, 0b10 });
    const std::optional<QByteArray> swapped
        = UFemResultFileDataWithContents(original->contents(), 2, nullptr);
    ASSERT_TRUE(swapped.has_value());
    EXPECT_EQ(fieldAt<quint16>(*swapped, endianTypeOffset), 2);
    // The state bytes travel inside a swapped 8-byte element.
    EXPECT_EQ(fieldAt<quint32>(*swapped, areaOffset(*swapped, 7200) + 8), 0u);
    const ReadResult read = readFile(*swapped);
    ASSERT_NE(read.resultData, nullptr);
    EXPECT_EQ(read.readingError, nullptr);
    expectSameContents(read.resultData->contents(), original->contents());
    EXPECT_EQ(fileOf(*read.resultData), fileOf(*original));
}

TEST(ResultFile, HostileCountsIndexesAndRangesAreRefused)
{
    const QByteArray file = sampleFile({ 4, 2, 2, 0b10 });
    const quint64 cases = areaOffset(file, 7100);
    const quint64 nodes = areaOffset(file, 7200);
    const auto broken = [](const char* name) {
        return QStringLiteral("Loading Result Data failed. - Data ( %1 ) is broken.")
            .arg(QLatin1String(name));
    };
    const std::vector<std::tuple<quint64, quint64, const char*>> damages = {
        { cases + 0, 2, "CaseInfoRecordTable" }, // restraint set 2 of 2
        { cases + 8, 2, "CaseInfoRecordTable" }, // error text 2 of 1
        { cases + 16, ~quint64(0) - 2, "CaseInfoRecordTable" }, // location + length wraps round
        { cases + 24, 13, "CaseInfoRecordTable" }, // beyond the values
        { cases + 24, 2, "CaseInfoRecordTable" }, // not whole triples
        { nodes + 16 * 2, 6, "NodeInfoRecordTable" }, // triple 6 of 6
        { nodes + 16 * 8, 0, "NodeInfoRecordTable" }, // a value index in the failed set
    };
    for (const auto& [offset, value, name] : damages) {
        QByteArray damaged = file;
        patch<quint64>(damaged, offset, value);
        SCOPED_TRACE(offset);
        expectPartial(readFile(damaged), 21012, broken(name));
    }
    // Record tables whose sizes do not match the name counts.
    QByteArray shortTable = file;
    patch<quint64>(shortTable, recordOffset(shortTable, 7200) + 16, 16 * 15);
    expectPartial(readFile(shortTable), 21012, broken("NodeInfoRecordTable"));
    QByteArray ragged = file;
    patch<quint64>(ragged, recordOffset(ragged, 7300) + 16, 8 * 12 - 4);
    expectPartial(readFile(ragged), 21012, broken("DisplacementValueTable"));
}

TEST(ResultFileDofState, StateBytesOutsideTheKnownStatesAreRefused)
{
    const QByteArray file = sampleFile({ 4, 2, 2, 0b10 });
    const quint64 states = areaOffset(file, 7200) + 8;
    const struct {
        quint64 byte;
        quint8 value;
        bool isRefused;
    } cases[] = {
        { 0, 0, false }, { 1, 2, false }, { 2, 4, false },
        { 0, 3, true }, // Valid and Restrained at once
        { 1, 8, true }, { 2, 0xFF, true }, { 3, 1, true }, // the fourth byte of a triple
        { 16 * 15 + 1, 0x80, true }, // the last triple's
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.byte);
        QByteArray damaged = file;
        patch<quint8>(damaged, states + c.byte, c.value);
        const ReadResult read = readFile(damaged);
        if (c.isRefused) {
            expectPartial(read, 21012,
                QStringLiteral(
                    "Loading Result Data failed. - Data ( NodeInfoRecordTable ) is broken."));
            continue;
        }
        ASSERT_NE(read.resultData, nullptr);
        EXPECT_EQ(read.readingError, nullptr);
        EXPECT_EQ(
            read.resultData->contents().nodeInfoRecordTable[0].nodeDOFState.state[c.byte], c.value);
    }
}

TEST(ResultFile, TruncatedAndBitFlippedFilesGiveErrorsOrSoundResults)
{
    const QByteArray file = sampleFile({ 2, 2, 2, 0b10 });
    // Only the padding after the last area may go without an error.
    for (qsizetype length = 0; length < file.size(); ++length) {
        const ReadResult read = readFile(file.left(length));
        if (read.resultData == nullptr) {
            EXPECT_NE(read.error, nullptr);
            continue;
        }
        EXPECT_EQ(read.readingError, nullptr) << length;
        EXPECT_EQ(fileOf(*read.resultData), file) << length;
    }
    int partial = 0;
    for (qsizetype bit = 0; bit < file.size() * 8; ++bit) {
        QByteArray flipped = file;
        flipped[bit / 8] = char(flipped[bit / 8] ^ (1 << (bit % 8)));
        SCOPED_TRACE(bit);
        expectSoundOutcome(flipped);
        const ReadResult read = readFile(flipped);
        partial += read.readingError != nullptr;
    }
    // Flips inside the tables are caught after the model text was read.
    EXPECT_GT(partial, 100);
}

TEST(ResultFile, WrittenWholeThroughASaveFile)
{
    QTemporaryDir directory;
    ASSERT_TRUE(directory.isValid());
    const QString path = directory.filePath(QStringLiteral("a.vtresult"));
    const QByteArray first = sampleFile();
    ASSERT_TRUE(UFemWriteResultFile(path, first, nullptr));
    const QByteArray second = sampleFile({ 3, 13, 2, 0 });
    ASSERT_TRUE(UFemWriteResultFile(path, second, nullptr));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), second);
    EXPECT_EQ(QDir(directory.path()).entryList(QDir::Files),
        QStringList { QStringLiteral("a.vtresult") });

    UErrorPtr error;
    EXPECT_FALSE(UFemWriteResultFile(
        directory.filePath(QStringLiteral("missing/b.vtresult")), first, &error));
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->code(), 11032);
    EXPECT_EQ(error->localizedDescription(),
        QStringLiteral("Result File 'b.vtresult' could not be saved."));
}

// Run with VANTREL_WRITE_FUZZ_SEEDS=1 to write the seeds after a change of the format.
TEST(ResultFile, FuzzSeedsAreWhatTheWriterWrites)
{
    const QDir seeds(QStringLiteral(VANTREL_RESULT_FILE_SEED_DIR));
    const bool writes = qEnvironmentVariableIsSet("VANTREL_WRITE_FUZZ_SEEDS");
    for (const auto& [name, sample] : resultFileSeedSamples()) {
        SCOPED_TRACE(name);
        const QByteArray written = sampleFile(sample);
        if (writes) {
            ASSERT_TRUE(UFemWriteResultFile(seeds.filePath(QLatin1String(name)), written, nullptr));
        }
        QFile seed(seeds.filePath(QLatin1String(name)));
        ASSERT_TRUE(seed.open(QIODevice::ReadOnly));
        EXPECT_EQ(seed.readAll(), written);
    }
    const QString oldFormatSeed = seeds.filePath(QStringLiteral("old-format.vtresult"));
    if (writes) {
        ASSERT_TRUE(UFemWriteResultFile(oldFormatSeed, oldResultFile(), nullptr));
    }
    QFile seed(oldFormatSeed);
    ASSERT_TRUE(seed.open(QIODevice::ReadOnly));
    EXPECT_EQ(seed.readAll(), oldResultFile());
}
