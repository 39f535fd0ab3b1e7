#include "foundation/errors/UFemErrorsPreferences.h"

#include "foundation/errors/UErrorTexts.h"
#include "foundation/strings/UFormattedString.h"

UErrorPtr UFemPreferencesFileError_withDescription(const QString& description)
{
    return UFemMakeError(71001,
        {
            .description = ULocalizedFormattedString(
                "An error exist in Preferences file. Continues with default value, etc."),
            .failureReason = description,
            .recoverySuggestion = ULocalizedFormattedString(
                "Set preferences with 'Vantrel'-'Preferences' in main menu."),
            .oneLineDescription
            = ULocalizedFormattedString("Error occurred while reading Preferences File. Continues "
                                        "with default value, etc."),
        });
}
