#include "foundation/errors/UFemErrorsSearchString.h"

#include "foundation/errors/UErrorTexts.h"
#include "foundation/strings/UFormattedString.h"

UErrorPtr UFemEmptySearchStringError()
{
    return UFemMakeSimpleError(61001, ULocalizedFormattedString("Search string is empty."),
        ULocalizedFormattedString("Set search string with 'Find' panel."));
}
