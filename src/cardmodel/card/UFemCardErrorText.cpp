#include "cardmodel/card/UFemCardErrorText.h"

#include "cardmodel/card/ErrorCard.h"
#include "cardmodel/card/UFemCard.h"

namespace {

QString descriptionOf(const UErrorPtr& error)
{
    const QString cardDescription = error->localizedCardErrorDescription();
    return cardDescription.isEmpty() ? error->localizedDescription() : cardDescription;
}

} // namespace

std::optional<UFemCardErrorText> UFemCardErrorTextOfCard(const UFemCard& card)
{
    if (card.isErrorCard()) {
        const auto* errorCard = dynamic_cast<const ErrorCard*>(&card);
        return UFemCardErrorText { errorCard != nullptr
                ? errorCard->cardErrorDescriptionString().value_or(QString())
                : QString() };
    }
    if (const UErrorPtr error = card.checkErrorToRun())
        return UFemCardErrorText { descriptionOf(error) };
    if (const UErrorPtr warning = card.checkWarningToRun())
        return UFemCardErrorText { descriptionOf(warning), true };
    return std::nullopt;
}
