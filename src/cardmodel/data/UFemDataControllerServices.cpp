#include "cardmodel/data/UFemDataControllerServices.h"

#include "cardmodel/data/UFemResultDataManager.h"

namespace {

UFemDataControllerServices& sharedServices()
{
    static UFemDataControllerServices services;
    return services;
}

} // namespace

void UFemDataControllerServices::setShared(UFemDataControllerServices services)
{
    sharedServices() = std::move(services);
}

const UFemDataControllerServices& UFemDataControllerServices::shared()
{
    return sharedServices();
}
