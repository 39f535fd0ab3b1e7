#include "foundation/errors/UFemErrorsElementDivider.h"

#include "foundation/errors/UErrorTexts.h"
#include "foundation/strings/UFormattedString.h"

UErrorPtr UFemToolElementDividerSameNameSurfaceNodeCreatedError_withNodeNameStringToBeCreated(
    const QString& nodeNameStringToBeCreated, std::span<const double, 3> nodeLocation_createdNow,
    std::span<const double, 3> nodeLocation_createdBefore)
{
    const auto& now = nodeLocation_createdNow;
    const auto& before = nodeLocation_createdBefore;
    return UFemMakeSimpleError(92001,
        ULocalizedFormattedString(
            "New node '%@' created but the name already exists at different location.",
            nodeNameStringToBeCreated),
        ULocalizedFormattedString(
            "Location of node created now : ( %f, %f, %f )\nLocation of node created before : "
            "( %f, %f, %f )",
            now[0], now[1], now[2], before[0], before[1], before[2]));
}

UErrorPtr UFemToolElementDividerNodeForElementNotExistError_withNodeNameString(
    const QString& nodeNameString)
{
    return UFemMakeSimpleError(92002,
        ULocalizedFormattedString("Node card '%@' is not created yet.", nodeNameString),
        ULocalizedFormattedString("Element Divider uses Node Cards used in elements. Execute "
                                  "Element Divider after all Node created."));
}
