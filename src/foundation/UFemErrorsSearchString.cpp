#include "foundation/UFemErrorsSearchString.h"

#include "foundation/UErrorTexts.h"
#include "foundation/UFormattedString.h"

UErrorPtr UFemEmptySearchStringError()
{
    return UFemMakeSimpleError(61001, ULocalizedFormattedString("Search string is empty."),
        ULocalizedFormattedString("Set search string with 'Find' panel."));
}
