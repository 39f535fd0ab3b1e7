#include "ResultTextStandIn.h"

#include "DocumentTestSupport.h"

namespace {

class ResultWithErrorText : public FakeResultData {
public:
    ResultWithErrorText(const QString& modelText, std::optional<QString> errorText)
        : FakeResultData(modelText)
        , errorText_(std::move(errorText))
    {
    }
    std::optional<QString> calculationErrorString() const override { return errorText_; }

private:
    std::optional<QString> errorText_;
};

} // namespace

std::shared_ptr<UFemResultDataManager> makeResultWithErrorText(
    const QString& modelText, std::optional<QString> errorText)
{
    return std::make_shared<ResultWithErrorText>(modelText, std::move(errorText));
}
