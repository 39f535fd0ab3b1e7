#include "calculation/results/UFemResultDataServices.h"

#include "calculation/results/UFemResultDataManagerImpl.h"
#include "cardmodel/data/UFemDataController.h"
#include "cardmodel/data/UFemDataControllerServices.h"

void UFemInstallResultDataServices(UFemDataControllerServices& services,
    UFemResultDataManager_ClipboardCardValueImpl::RepeatedNameAlert repeatedNameAlert)
{
    services.makeResultDataManagerWithResultFileData = [](const QByteArray& resultFileData,
                                                           UErrorPtr* readingError,
                                                           UErrorPtr* error) {
        return std::shared_ptr<UFemResultDataManager>(
            UFemResultDataManagerImpl::initWithResultFileData(resultFileData, readingError, error));
    };
    services.makeClipboardCardValueResultDataManager
        = [alert = std::move(repeatedNameAlert)](UFemDataController& dataController) {
              return std::make_shared<UFemResultDataManager_ClipboardCardValueImpl>(
                  &dataController, alert);
          };
}
