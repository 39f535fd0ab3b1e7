#include "calculation/UFemResultDataServices.h"

#include "calculation/UFemResultDataManagerImpl.h"
#include "cardmodel/UFemDataController.h"
#include "cardmodel/UFemDataControllerServices.h"

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
