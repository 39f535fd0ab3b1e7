#include "ValueRangeTestModel.h"

#include "calculation/UFemDataControllerRunCalculation.h"
#include "calculation/results/UFemResultDataServices.h"
#include "cardmodel/data/UFemDataControllerServices.h"
#include "cards/UFemCardClasses.h"
#include "graphicview/ranges/UFemDataControllerValueRange.h"

#include <gtest/gtest.h>

namespace {

UFemDataControllerServices valueRangeServices()
{
    UFemDataControllerServices services;
    UFemInstallResultDataServices(services, {});
    UFemInstallCalculationServices(services);
    UFemInstallGraphicViewValueRangeServices(services);
    return services;
}

QString descriptionOf(const UErrorPtr& error)
{
    return error ? error->localizedDescription() : QString();
}

} // namespace

ValueRangeTestModel::ValueRangeTestModel(const QString& modelText)
{
    UFemInstallCardClasses();
    controller_ = std::make_unique<UFemDataController>(valueRangeServices());
    UErrorPtr error;
    if (!controller_->resetWithModelText(modelText, true, &error))
        ADD_FAILURE() << descriptionOf(error).toStdString();
}

bool ValueRangeTestModel::calculate()
{
    UFemSetupForRunCalculation(*controller_, 2);
    UErrorPtr error;
    const bool done = UFemRunCalculation(*controller_, &error);
    EXPECT_TRUE(done) << descriptionOf(error).toStdString();
    return done;
}

UFemCard& ValueRangeTestModel::card(const QString& name)
{
    const std::vector<UFemCard*> cards = controller_->cardArrayWithCardNameString(name, nullptr);
    if (cards.empty())
        throw std::runtime_error("no card named " + name.toStdString());
    return *cards.front();
}

ValueRangeTestModel::ForceRange ValueRangeTestModel::forceRange(quint64 threadCount)
{
    ForceRange range;
    bool isCanceled = false;
    EXPECT_TRUE(UFemGetForceValueRangeToMaxForceValuePtr(
        *controller_, &range.force, &range.moment, &range.errors, threadCount, &isCanceled));
    EXPECT_FALSE(isCanceled);
    return range;
}

double ValueRangeTestModel::displacementRange(quint64 threadCount, std::vector<UErrorPtr>* errors)
{
    double maximum = -1;
    std::vector<UErrorPtr> errorArray;
    bool isCanceled = false;
    EXPECT_TRUE(UFemGetDisplacementValueRangeToMaxDisplacementValuePtr(
        *controller_, &maximum, &errorArray, threadCount, &isCanceled));
    if (errors != nullptr)
        *errors = errorArray;
    return maximum;
}
