#include "foundation/errors/UFemErrorsRunCalculation.h"

#include "foundation/errors/UErrorTexts.h"
#include "foundation/errors/UException.h"
#include "foundation/strings/UFormattedString.h"

#include <array>

namespace {

constexpr qsizetype UMaxListedCardNames = 5;
constexpr qsizetype UMaxListedLoadingErrors = 6;
constexpr qsizetype UMaxCalculationErrorLength = 200;

QString directionName(quint64 direction6)
{
    static const std::array<const char*, 6> names { "TX", "TY", "TZ", "RX", "RY", "RZ" };
    if (direction6 >= names.size())
        UFemRaiseProgramErrorWithValue(QStringLiteral("Unknown direction."), long(direction6));
    return QString::fromLatin1(names[direction6]);
}

QString cardNameList(const QStringList& cardNames)
{
    if (cardNames.size() <= UMaxListedCardNames)
        return cardNames.join(QStringLiteral(", "));
    return UFormattedString(
        "%@, ...", cardNames.first(UMaxListedCardNames).join(QStringLiteral(", ")));
}

QString loadingErrorList(const QStringList& messages)
{
    QString list;
    for (const QString& message :
        messages.first(std::min(messages.size(), UMaxListedLoadingErrors)))
        list += message + QLatin1Char('\n');
    if (messages.size() >= UMaxListedLoadingErrors)
        list += ULocalizedFormattedString("... etc.\n");
    list += ULocalizedFormattedString("( %lu errors )", messages.size());
    return list;
}

} // namespace

QString UFemShortenedCalculationErrorString(const QString& calculationErrorString)
{
    if (calculationErrorString.size() <= UMaxCalculationErrorLength)
        return calculationErrorString;
    qsizetype cut = UMaxCalculationErrorLength;
    if (calculationErrorString.at(cut - 1).isHighSurrogate())
        --cut;
    return UFormattedString("%@ ...", calculationErrorString.left(cut));
}

UErrorPtr UFemResultDataAlreadyExistError()
{
    return UFemMakeSimpleError(21001, ULocalizedFormattedString("Result Data already exists."),
        ULocalizedFormattedString("If you want to detach with current Result Data, you can unload "
                                  "Result Data with 'File' menu."));
}

UErrorPtr UFemCanNotCalculateResultDocumentError()
{
    return UFemMakeSimpleError(21002, ULocalizedFormattedString("Can't calculate Result Document."),
        ULocalizedFormattedString(
            "Calculate with Project Document or Model Document. Or make new model "
            "document from this model data."));
}

UErrorPtr UFemDocumentNowCalculatingError()
{
    const QString description = ULocalizedFormattedString(
        "This document is on calculating. The Result Data will be loaded when calculation done.");
    return UFemMakeError(21002,
        {
            .description = description,
            .failureReason = ULocalizedFormattedString("This document is on calculating."),
            .recoverySuggestion
            = ULocalizedFormattedString("If you want to detach with current calculating result "
                                        "data, you can unload Result Data with "
                                        "'File' menu.\n( If you set result data would be saved "
                                        "when started current calculation, it will "
                                        "be saved when calculation done. If you didn't set, "
                                        "Current calculation will be lost so please "
                                        "quit current calculation on 'Calculation' Panel. )"),
            .oneLineDescription = description,
        });
}

UErrorPtr UFemCheckToRunCalculationSomeErrorCardExistError()
{
    return UFemMakeSimpleError(21003,
        ULocalizedFormattedString("( Error to Run ) Some error cards exist."),
        ULocalizedFormattedString("Correct all errors on the error cards."));
}

UErrorPtr UFemCheckToRunCalculationCardHasErrorToRunError()
{
    return UFemMakeSimpleError(21004,
        ULocalizedFormattedString("( Error to Run ) Some cards has error to run."),
        ULocalizedFormattedString(""));
}

UErrorPtr UFemCheckToRunCalculationNoCaseError()
{
    return UFemMakeSimpleError(21005,
        ULocalizedFormattedString("( Error to Run ) No case card exists in model."),
        ULocalizedFormattedString("There is no case for calculation. Add some cases."));
}

UErrorPtr UFemCheckToRunCalculationNoElementError()
{
    return UFemMakeSimpleError(21006,
        ULocalizedFormattedString("( Error to Run ) No element card exists in model."),
        ULocalizedFormattedString("There is no element on this model."));
}

UErrorPtr UFemCheckToRunCalculationNoCardRegisteredForCardNameError_withCardNameStringArray(
    const QStringList& cardNameStringArray)
{
    const QString description = ULocalizedFormattedString(
        "( Error to Run ) Cards doesn't exist for some card names used.");
    const qint64 count = cardNameStringArray.size();
    return UFemMakeError(21007,
        {
            .description = description,
            .failureReason = description,
            .recoverySuggestion = ULocalizedFormattedString(
                "Cards doesn't exist for card names:\n%@\n( %ld card names )",
                cardNameList(cardNameStringArray), count),
            .oneLineDescription = ULocalizedFormattedString(
                "( Error to Run ) Cards doesn't exist for some card names used. ( %ld card names )",
                count),
        });
}

UErrorPtr UFemSeveralRestraintExistForSameDegreeOfFreedomError_withDegreeOfFreedomInfoString(
    const QString& degreeOfFreedomInfoString)
{
    return UFemMakeSimpleError(21008,
        ULocalizedFormattedString(
            "Several Restraint exist for same Degree of Freedom (DOF). ( DOF over restrained: %@ )",
            degreeOfFreedomInfoString),
        ULocalizedFormattedString(
            "Check Restraint Cards that restrains DOF '%@'.", degreeOfFreedomInfoString));
}

UErrorPtr UFemRestraintEquationDegreeOfFreedomLoopedError()
{
    return UFemMakeSimpleError(21009,
        ULocalizedFormattedString("Degree of Freedom (DOF) on Restraint Expressions are looped."),
        ULocalizedFormattedString(
            "Check Restraint Expressions for whether 'restrained DOFs' and 'independent "
            "DOFs' on several restraints are looped."));
}

UErrorPtr UFemCalculationFailedWhileSetupError_withDescription(
    const QString& description, const std::optional<QString>& recoverySuggestion)
{
    return UFemMakeError(21010,
        {
            .description = ULocalizedFormattedString("Calculation failed. %@", description),
            .failureReason = description,
            .recoverySuggestion = recoverySuggestion,
            .oneLineDescription = ULocalizedFormattedString(
                "Calculation failed. %@ %@", description, recoverySuggestion.value_or(QString())),
        });
}

UErrorPtr UFemCalculationFailedWhileSetupError_withDescription(const QString& description,
    const std::optional<QString>& recoverySuggestion, const QString& nodeNameString,
    quint64 direction6)
{
    const QString direction = directionName(direction6);
    return UFemMakeError(21011,
        {
            .description = ULocalizedFormattedString(
                "Calculation failed. %@\n( DOF: %@@%@ )", description, nodeNameString, direction),
            .failureReason = description,
            .recoverySuggestion = recoverySuggestion,
            .oneLineDescription
            = ULocalizedFormattedString("Calculation failed. %@ ( DOF: %@@%@ ) %@", description,
                nodeNameString, direction, recoverySuggestion.value_or(QString())),
        });
}

UErrorPtr UFemCalculationFailedWhileCalculationError_withCalculationErrorString(
    const QString& calculationErrorString)
{
    const QString error = UFemShortenedCalculationErrorString(calculationErrorString);
    const QString description = ULocalizedFormattedString("Error occurred while calculation.");
    return UFemMakeError(21011,
        {
            .description = description,
            .failureReason = description,
            .recoverySuggestion = error,
            .oneLineDescription
            = ULocalizedFormattedString("Error occurred while calculation. - error: %@", error),
        });
}

UErrorPtr UFemCalculationInResultDataFailedError_withCalculationErrorString(
    const QString& calculationErrorString)
{
    const QString error = UFemShortenedCalculationErrorString(calculationErrorString);
    const QString description = ULocalizedFormattedString("Calculation in result data failed.");
    return UFemMakeError(21011,
        {
            .description = description,
            .failureReason = description,
            .recoverySuggestion = error,
            .oneLineDescription
            = ULocalizedFormattedString("Calculation in result data failed. - error: %@", error),
        });
}

UErrorPtr UFemCalculationInResultDataFailedError_withCalculationError(
    const UErrorPtr& calculationError)
{
    const UError& base = UFemRequireBaseError(calculationError);
    const QString description = ULocalizedFormattedString("Calculation in result data failed.");
    return UFemMakeError(21011,
        {
            .description = description,
            .failureReason = description,
            .recoverySuggestion = ULocalizedFormattedString(
                "%@\n%@", base.localizedDescription(), base.localizedRecoverySuggestion()),
            .oneLineDescription
            = ULocalizedFormattedString("Calculation in result data failed. - error: %@",
                base.localizedOneLineDescription()),
        });
}

UErrorPtr UFemLoadingResultDataError_withDescriptionString(const QString& descriptionString)
{
    return UFemMakeError(21012,
        {
            .description = ULocalizedFormattedString("Loading Result Data failed."),
            .failureReason = descriptionString,
            .recoverySuggestion = descriptionString,
            .oneLineDescription
            = ULocalizedFormattedString("Loading Result Data failed. - %@", descriptionString),
        });
}

UErrorPtr UFemLoadingResultDataError_withDescriptionStringArray(
    const QStringList& descriptionStringArray)
{
    if (descriptionStringArray.isEmpty())
        UFemRaiseProgramError(QStringLiteral("No result data loading error to report."));
    const QString description = ULocalizedFormattedString("Loading Result Data failed.");
    const QString tail = descriptionStringArray.size() == 1
        ? descriptionStringArray.first()
        : ULocalizedFormattedString("%@ ... etc. ( %lu errors )", descriptionStringArray.first(),
            descriptionStringArray.size());
    return UFemMakeError(21012,
        {
            .description = description,
            .failureReason = description,
            .recoverySuggestion
            = ULocalizedFormattedString("Error :\n%@", loadingErrorList(descriptionStringArray)),
            .oneLineDescription
            = ULocalizedFormattedString("Loading Result Data failed. - %@", tail),
        });
}

UErrorPtr UFemCalculationCanceledError()
{
    return UFemMakeSimpleError(UFemCalculationCanceledErrorCode,
        ULocalizedFormattedString("Calculation has canceled."), ULocalizedFormattedString(""));
}

UErrorPtr UFemCalculationCanceledError_withDocumentNameString(const QString& documentNameString)
{
    return UFemMakeSimpleError(UFemCalculationCanceledErrorCode,
        ULocalizedFormattedString("Calculation of document '%@' has canceled.", documentNameString),
        ULocalizedFormattedString(""));
}
