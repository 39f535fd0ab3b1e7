#include "CalculationModelSupport.h"

#include "calculation/UFemCalculationThreadWork.h"
#include "cardmodel/data/UFemDataControllerNotifications.h"
#include "platform/UNotificationCenter.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <stdexcept>

namespace {

// An exception raised where the calculated results are installed into the calculation's model,
// after the solver is done: an observer of the result change throws it.
UFemCalculationThreadOutcome runRaisingWhileInstalling(
    const std::function<void()>& raise, const QString& resultFilePath)
{
    CalculationTestModel model(exampleModelText(QStringLiteral("rod-truss.vtmodel")));
    UNotificationCenter center;
    model.controller().setNotificationCenter(&center);
    const UNotificationObservation observation = center.observe(
        UFemResultDataDidChangeNotification, nullptr, [&raise](const UNotification&) { raise(); });
    model.setUp();
    UFemCalculationThreadArgument argument;
    argument.documentNameString = QStringLiteral("truss");
    // Not owned here: the model lives for the whole run.
    argument.dataController
        = std::shared_ptr<UFemDataController>(&model.controller(), [](UFemDataController*) {});
    argument.resultFilePath = resultFilePath;
    return UFemRunCalculationThreadWork(argument);
}

} // namespace

TEST(CalculationThreadWork, everyExceptionBecomesTheRunsErrorAndNoResultFileIsWritten)
{
    struct Case {
        const char* name;
        std::function<void()> raise;
        qint64 code;
        QString description;
    };
    const Case cases[] = {
        { "standard exception", [] { throw std::runtime_error("map lookup failed"); }, 81004,
            unexpected(QStringLiteral("map lookup failed")) },
        { "exhausted memory", [] { throw std::bad_alloc(); }, 81001, QString() },
        { "foreign object", [] { throw 42; }, 81004,
            unexpected(QStringLiteral("Unknown exception.")) },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("truss.vtresult"));
        UFemCalculationThreadOutcome outcome;
        ASSERT_NO_THROW(outcome = runRaisingWhileInstalling(c.raise, path));
        ASSERT_TRUE(outcome.error);
        EXPECT_EQ(outcome.error->code(), c.code);
        if (!c.description.isEmpty()) {
            EXPECT_EQ(descriptionOf(outcome.error), c.description);
        }
        EXPECT_FALSE(outcome.resultFileError);
        EXPECT_FALSE(QFileInfo::exists(path));
    }
}

TEST(CalculationThreadWork, withoutAnExceptionTheResultFileIsWritten)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("truss.vtresult"));
    const UFemCalculationThreadOutcome outcome = runRaisingWhileInstalling([] {}, path);
    EXPECT_FALSE(outcome.error) << descriptionOf(outcome.error).toStdString();
    EXPECT_FALSE(outcome.resultFileError);
    EXPECT_TRUE(QFileInfo(path).size() > 0);
}
