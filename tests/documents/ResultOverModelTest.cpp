#include "CalculationTestSupport.h"

#include "cardmodel/data/UFemDataController.h"

#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

UFemCalculationStartArgument toFile(const QString& path)
{
    UFemCalculationStartArgument argument;
    argument.resultFilePath = path;
    return argument;
}

void expectRefusedBeforeAnyWork(CalculationHarness& harness, UFemDocument& document,
    const UErrorPtr& error, const QString& path)
{
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->code(), 11018);
    EXPECT_EQ(error->localizedDescription(), "Result File '" + path + "' is the Model File.");
    EXPECT_EQ(error->localizedRecoverySuggestion(), "Use different file name.");
    EXPECT_FALSE(document.isCalculating());
    EXPECT_FALSE(document.dataController().isLockedOutside());
    EXPECT_EQ(harness.manager.calculationCount(), 0u);
    EXPECT_EQ(harness.readFile("Beam.vtmodel"), tripodModelText().toUtf8());
}

} // namespace

// A result path that names the model file, by a symbolic or a hard link, would write the results
// over the model: the project's fields and a model document's result path are refused alike.
TEST(ResultOverModel, AResultPathNamingTheModelFileIsRefused)
{
    CalculationHarness harness;
    UFemDocument* project = harness.tripodProject();
    ASSERT_NE(project, nullptr);
    ASSERT_TRUE(QFile::link(harness.path("Beam.vtmodel"), harness.path("Beam.vtresult")));
    ASSERT_EQ(::link(QFile::encodeName(harness.path("Beam.vtmodel")).constData(),
                  QFile::encodeName(harness.path("Hard.vtresult")).constData()),
        0);
    UErrorPtr error;
    EXPECT_FALSE(project->startCalculationWithArgument(std::nullopt, &error));
    expectRefusedBeforeAnyWork(harness, *project, error, harness.path("Beam.vtresult"));

    UFemDocument* model = harness.open("Beam.vtmodel");
    ASSERT_NE(model, nullptr);
    model->setCalculationManager(&harness.manager);
    for (const char* name : { "Beam.vtmodel", "Beam.vtresult", "Hard.vtresult" }) {
        SCOPED_TRACE(name);
        error.reset();
        const QString path = harness.path(QString::fromLatin1(name));
        EXPECT_FALSE(model->startCalculationWithArgument(toFile(path), &error));
        expectRefusedBeforeAnyWork(harness, *model, error, path);
    }
}

// A FIFO or a device as the result path would take the whole calculation and then refuse its
// results: refused at the first look, with the error the write would give, and never asked about.
TEST(ResultOverModel, AResultPathThatIsNoRegularFileIsRefusedBeforeAnyWork)
{
    CalculationHarness harness;
    UFemDocument* model = harness.modelDocument(tripodModelText());
    ASSERT_NE(model, nullptr);
    ASSERT_EQ(::mkfifo(QFile::encodeName(harness.path("fifo.vtresult")).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/null"), harness.path("null.vtresult")));
    for (const char* name : { "fifo.vtresult", "null.vtresult" }) {
        SCOPED_TRACE(name);
        UErrorPtr error;
        EXPECT_FALSE(model->startCalculationWithArgument(
            toFile(harness.path(QString::fromLatin1(name))), &error));
        ASSERT_NE(error, nullptr);
        EXPECT_EQ(error->code(), 11032);
        EXPECT_EQ(error->localizedRecoverySuggestion(),
            QStringLiteral("The file “%1” could not be saved. Not a regular file.")
                .arg(QString::fromLatin1(name)));
        EXPECT_TRUE(harness.sheets.alerts.empty());
        EXPECT_FALSE(model->isCalculating());
        EXPECT_EQ(harness.manager.calculationCount(), 0u);
    }
}
