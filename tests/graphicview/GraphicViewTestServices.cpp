// The graphic view suite's part of the test main: data controllers get the 3-D view's value-range
// tasks, as the application installs them before its delegate starts.
#include "cardmodel/data/UFemDataControllerServices.h"
#include "graphicview/ranges/UFemDataControllerValueRange.h"

#include <gtest/gtest.h>

namespace {

class GraphicViewTestServices : public testing::Environment {
public:
    void SetUp() override
    {
        UFemDataControllerServices services = UFemDataControllerServices::shared();
        UFemInstallGraphicViewValueRangeServices(services);
        UFemDataControllerServices::setShared(std::move(services));
    }
};

[[maybe_unused]] testing::Environment* const graphicViewTestServices
    = testing::AddGlobalTestEnvironment(new GraphicViewTestServices);

} // namespace
