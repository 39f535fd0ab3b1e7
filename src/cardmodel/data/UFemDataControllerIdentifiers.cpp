// Card identifier numbers of a data controller and the warning as they near their limit.
#include "cardmodel/data/UFemDataController.h"

#include "cardmodel/data/UFemDataControllerDelegate.h"
#include "foundation/errors/UException.h"
#include "foundation/errors/UFemErrorsEditCard.h"
#include "foundation/strings/UFormattedString.h"

#include <QTimer>

namespace {

constexpr quint64 warningAlertStyle = 0;
// 2^64, to show the numbers used as a percentage.
constexpr double identifierNumberRange = 18446744073709551616.0;
constexpr double percent = 100.0;

} // namespace

void UFemDataController::setNextCardIdentifierNumber(quint64 number)
{
    if (cardIdentifierNumberDictionary_.holdsNumberFrom(number))
        UFemRaiseProgramError(QStringLiteral("The card identifier number is in use."));
    nextCardIdentifierNumber_ = number;
}

bool UFemDataController::_checkCardIdentifierNumberLimitAndMakeWarningOrErrorWithCardCount(
    quint64 cardCount, UErrorPtr* error)
{
    const quint64 next = nextCardIdentifierNumber_;
    const quint64 warningNumber = nextCardIdentifierNumberWarningNumber_;
    if (cardCount <= warningNumber && next < warningNumber - cardCount)
        return true;
    if (cardCount >= UFemCardIdentifierNumberLimit
        || next >= UFemCardIdentifierNumberLimit - cardCount) {
        if (isNextCardIdentifierNumberWarningTimerEnabled_) {
            cardIdentifierNumberWarningTimer_->stop();
            isNextCardIdentifierNumberWarningTimerEnabled_ = false;
        }
        UFemSetError(error, UFemModelDataCardIdentifierDidReachLimitError());
        return false;
    }
    if (delegate_ != nullptr && !isNextCardIdentifierNumberWarningTimerEnabled_)
        scheduleCardIdentifierNumberLimitWarning(cardCount);
    return true;
}

void UFemDataController::scheduleCardIdentifierNumberLimitWarning(quint64 cardCount)
{
    const quint64 next = nextCardIdentifierNumber_;
    nextCardIdentifierNumberWarningNumber_ = cardCount < UFemCardIdentifierNumberSecondWarningNumber
            && next < UFemCardIdentifierNumberSecondWarningNumber - cardCount
        ? UFemCardIdentifierNumberSecondWarningNumber
        : UFemCardIdentifierNumberLastWarningNumber;
    // Shown once the edit that asked has finished.
    cardIdentifierNumberWarningTimer_->start();
    isNextCardIdentifierNumberWarningTimerEnabled_ = true;
}

void UFemDataController::_displayCardIdentifierNumberLimitWarningAlert()
{
    if (delegate_ != nullptr) {
        const quint64 next = nextCardIdentifierNumber_;
        if (next == UFemCardIdentifierNumberLimit) {
            const UErrorPtr error = UFemModelDataCardIdentifierDidReachLimitError();
            delegate_->showCardIdentifierNumberLimitWarningAlert(error->localizedDescription(),
                error->localizedRecoverySuggestion(), error->alertStyle());
        } else {
            const QString message = ULocalizedString("Total Card Count gets closer to the limit.");
            const QString informative
                = ULocalizedFormattedString("Current card count: %lu / limit: %lu ( = %5.1f[%%] "
                                            ")\nWhen you get a chance to stop, save this "
                                            "document and close it, then re-open it.\n( You need "
                                            "to close all windows of this document, but "
                                            "not need to close other documents. )",
                    next, UFemCardIdentifierNumberLimit,
                    double(next) / identifierNumberRange * percent);
            delegate_->showCardIdentifierNumberLimitWarningAlert(
                message, informative, warningAlertStyle);
        }
    }
    isNextCardIdentifierNumberWarningTimerEnabled_ = false;
}
