// The shared forms: one per form class, made on first use and found by the name a card class
// gives for its form.
#include "tables/forms/CardFormViewControllerAbst.h"

#include "cardmodel/card/UFemCardClass.h"
#include "tables/forms/CardFormDescription.h"
#include "tables/forms/FixNodeFormViewController.h"
#include "tables/forms/FixedCardFormViewController.h"
#include "tables/forms/RestraintEquationFormViewController.h"

#include <QCoreApplication>
#include <memory>
#include <unordered_map>

namespace {

using FormTable = std::unordered_map<QString, std::unique_ptr<UFemCardFormViewController>>;

FormTable& sharedForms()
{
    static FormTable forms;
    return forms;
}

// The forms' views are widgets: they must go while the application still stands.
void releaseSharedForms()
{
    sharedForms().clear();
}

std::unique_ptr<UFemCardFormViewController> makeForm(const QString& formClassName)
{
    if (formClassName == QLatin1String("RestraintEquationFormViewController"))
        return std::make_unique<RestraintEquationFormViewController>();
    for (const CardFormDescription& description : UFemFixedCardFormDescriptions()) {
        if (formClassName != QLatin1String(description.formClassName))
            continue;
        if (formClassName == QLatin1String("FixNodeFormViewController"))
            return std::make_unique<FixNodeFormViewController>(description);
        return std::make_unique<FixedCardFormViewController>(description);
    }
    return nullptr;
}

} // namespace

UFemCardFormViewController* CardFormViewControllerAbst::sharedCardFormViewController(
    const QString& formClassName)
{
    FormTable& forms = sharedForms();
    if (auto found = forms.find(formClassName); found != forms.end())
        return found->second.get();
    std::unique_ptr<UFemCardFormViewController> form = makeForm(formClassName);
    if (form == nullptr)
        return nullptr;
    if (forms.empty())
        qAddPostRoutine(releaseSharedForms);
    return forms.emplace(formClassName, std::move(form)).first->second.get();
}

UFemCardFormViewController* CardFormViewControllerAbst::sharedCardFormViewController(
    const UFemCardClass& cardClass)
{
    const QString& formClassName = cardClass.cardFormViewControllerClass();
    return formClassName.isEmpty() ? nullptr : sharedCardFormViewController(formClassName);
}
