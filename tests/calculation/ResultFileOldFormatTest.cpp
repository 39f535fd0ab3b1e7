#include "QStringPrinting.h"
#include "ResultDataSamples.h"

#include "calculation/results/UFemResultDataManagerImpl.h"
#include "platform/KeyedArchive.h"

#include <gtest/gtest.h>

TEST(ResultFileOldFormat, ModelAndProjectTextsComeWithTheOldVersionError)
{
    const ReadResult read = readFile(oldResultFile());
    ASSERT_NE(read.resultData, nullptr);
    EXPECT_EQ(read.error, nullptr);
    ASSERT_NE(read.readingError, nullptr);
    EXPECT_EQ(read.readingError->code(), 11008);
    EXPECT_EQ(read.resultData->calculationError(), read.readingError);
    EXPECT_EQ(read.resultData->calculationErrorString(),
        read.readingError->localizedOneLineDescription());
    EXPECT_EQ(read.resultData->modelText(), QStringLiteral("Node , N1 ,  , 0 , 0 , 0 ,\n"));
    EXPECT_EQ(read.resultData->projectTitleString(), QStringLiteral("Bridge"));
    EXPECT_EQ(read.resultData->projectVersionString(), QStringLiteral("2"));
    EXPECT_EQ(read.resultData->projectCommentString(), std::nullopt);
    EXPECT_FALSE(read.resultData->canSynchronizeNodeNoAndCaseNoWithModelData());
    EXPECT_EQ(read.resultData->nodeCount(), 0u);
}

TEST(ResultFileOldFormat, RefusedFiles)
{
    struct Case {
        const char* what;
        QByteArray data;
        qint64 code;
        const char* oneLine;
    };
    const Case cases[] = {
        { "not an archive", QByteArray("bplist00 but nothing more"), 11006, nullptr },
        { "another document", oldResultFile([](KeyedArchive& a) {
             a.encodeObject(
                 QStringLiteral("UFemProjectDocument"), QStringLiteral("UFemDataTypeString"));
         }),
            11006, nullptr },
        { "a number as type", oldResultFile([](KeyedArchive& a) {
             a.encodeInteger(3, QStringLiteral("UFemDataTypeString"));
         }),
            11006, nullptr },
        { "no model text", oldResultFile([](KeyedArchive& a) {
             a.encodeObject(QVariant(), QStringLiteral("ModelText"));
         }),
            81004, nullptr },
        { "too new", oldResultFile([](KeyedArchive& a) {
             a.encodeInteger(
                 801052, QStringLiteral("UFemMinimumApplicationVersionNumberForDataType"));
             a.encodeObject(QStringLiteral("0.9"),
                 QStringLiteral("UFemMinimumApplicationVersionStringForDataType"));
         }),
            11007, nullptr },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ReadResult read = readFile(c.data);
        EXPECT_EQ(read.resultData, nullptr);
        ASSERT_NE(read.error, nullptr);
        EXPECT_EQ(read.error->code(), c.code);
        EXPECT_EQ(read.readingError, nullptr);
    }
    const ReadResult noModel = readFile(cases[3].data);
    EXPECT_EQ(noModel.error->localizedDescription(),
        QStringLiteral("Unexpected error occurred. No model data in ResultPackageDocument."));
    EXPECT_TRUE(readFile(cases[4].data)
                    .error->localizedRecoverySuggestion()
                    .contains(QStringLiteral("'Vantrel ver.0.9'")));
    // Without a version text the oldest one is named.
    const ReadResult unnamed = readFile(oldResultFile([](KeyedArchive& a) {
        a.encodeInteger(900000, QStringLiteral("UFemMinimumApplicationVersionNumberForDataType"));
        a.encodeObject(
            QVariant(), QStringLiteral("UFemMinimumApplicationVersionStringForDataType"));
    }));
    ASSERT_NE(unnamed.error, nullptr);
    EXPECT_TRUE(unnamed.error->localizedRecoverySuggestion().contains(
        QStringLiteral("'Vantrel ver.0.8 (or 0.8.0.1)'")));
}
