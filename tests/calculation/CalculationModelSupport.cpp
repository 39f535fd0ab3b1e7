#include "CalculationModelSupport.h"

#include "calculation/results/UFemResultDataServices.h"
#include "calculation/results/UFemResultFileWriter.h"
#include "cardmodel/data/UFemDataControllerServices.h"
#include "cards/Node.h"
#include "cards/UFemCardClasses.h"
#include "cards/loads/Case.h"
#include "foundation/errors/UException.h"
#include "foundation/errors/UFemErrorsOther.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

UFemDataControllerServices calculationServices()
{
    UFemDataControllerServices services;
    UFemInstallResultDataServices(services, {});
    UFemInstallCalculationServices(services);
    return services;
}

} // namespace

CalculationTestModel::CalculationTestModel(const QString& modelText)
{
    UFemInstallCardClasses();
    controller_ = std::make_unique<UFemDataController>(calculationServices());
    UErrorPtr error;
    if (!controller_->resetWithModelText(modelText, true, &error))
        ADD_FAILURE() << descriptionOf(error).toStdString();
}

UFemMatrixCalculationContext& CalculationTestModel::setUp(quint64 threadCount)
{
    return UFemSetupForRunCalculation(*controller_, threadCount);
}

bool CalculationTestModel::calculate(UErrorPtr* error, quint64 threadCount)
{
    setUp(threadCount);
    return UFemRunCalculation(*controller_, error);
}

UFemCard& CalculationTestModel::card(const QString& name)
{
    const std::vector<UFemCard*> cards = controller_->cardArrayWithCardNameString(name, nullptr);
    if (cards.empty())
        throw std::runtime_error("no card named " + name.toStdString());
    return *cards.front();
}

std::array<double, 3> CalculationTestModel::displacement(
    const QString& nodeName, const QString& caseName, quint64 rotation)
{
    const auto& node = dynamic_cast<const Node&>(card(nodeName));
    double values[6] = {};
    quint8 states[6] = {};
    UErrorPtr error;
    EXPECT_TRUE(node.getNodeDisplacement(values, states, 3, &card(caseName), &error));
    return { values[3 * rotation], values[3 * rotation + 1], values[3 * rotation + 2] };
}

std::optional<QString> CalculationTestModel::caseErrorString(
    const QString& nodeName, const QString& caseName)
{
    const auto& node = dynamic_cast<const Node&>(card(nodeName));
    double values[6] = {};
    quint8 states[6] = {};
    std::optional<QString> errorText;
    EXPECT_TRUE(node.getNodeDisplacement(values, states, 3, &card(caseName), &errorText, nullptr));
    return errorText;
}

std::unique_ptr<CalculationTestModel> CalculationTestModel::reopenedWithResultFile(
    const QString& path)
{
    UErrorPtr error;
    const std::optional<QByteArray> data = controller_->resultDataManager()->resultFileData(&error);
    EXPECT_TRUE(data && UFemWriteResultFile(path, *data, &error))
        << descriptionOf(error).toStdString();
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    UErrorPtr readingError;
    auto results
        = UFemResultDataManagerImpl::initWithResultFileData(file.readAll(), &readingError, &error);
    EXPECT_TRUE(results && !readingError)
        << descriptionOf(readingError ? readingError : error).toStdString();
    auto reopened = std::make_unique<CalculationTestModel>(controller_->modelTextOfAllCards());
    EXPECT_TRUE(reopened->controller().setResultDataManager(std::move(results), true, &error))
        << descriptionOf(error).toStdString();
    return reopened;
}

QString exampleModelText(const QString& fileName)
{
    QFile file(QStringLiteral(VANTREL_EXAMPLES_DIR "/") + fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot open example " << fileName.toStdString();
        return {};
    }
    return QString::fromUtf8(file.readAll());
}

QString unexpected(const QString& text)
{
    return UFemUnexpectedError_withDescription(text)->localizedDescription();
}

QString descriptionOf(const UErrorPtr& error)
{
    return error ? error->localizedDescription() : QString();
}
