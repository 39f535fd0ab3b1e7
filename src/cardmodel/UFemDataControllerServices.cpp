#include "cardmodel/UFemDataControllerServices.h"

#include "cardmodel/UFemResultDataManager.h"

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
