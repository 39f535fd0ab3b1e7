#include "cardmodel/card/UFemCardClass.h"

#include "cardmodel/card/UFemCardType.h"
#include "foundation/errors/UException.h"
#include "foundation/strings/UFormattedString.h"

UFemCardClass::UFemCardClass(UFemCardClassDescription description)
    : description_(std::move(description))
{
}

QString UFemCardClass::cardLabelString() const
{
    if (!description_.cardLabelString)
        UFemRaiseProgramError(description_.dontCallReason);
    return *description_.cardLabelString;
}

bool UFemCardClass::isAllowedHaveSomeCard() const
{
    const std::optional<bool> allows = UFemCardTypeAllowsSomeCard(description_.cardType);
    if (!allows)
        UFemRaiseCardClassProgramError(
            QStringLiteral("Unexpected CardType came. (See this method)"));
    return *allows;
}

quint64 UFemCardClass::numberOfColumns() const
{
    if (!description_.numberOfColumns)
        UFemRaiseProgramError(description_.dontCallReason);
    return *description_.numberOfColumns;
}

bool UFemCardClass::isColumnExpandable() const
{
    return description_.numberOfColumns == UFemColumnExpandableNumberOfColumns;
}

QString UFemCardClass::columnLabelStringAtIndex(quint64 columnIndex) const
{
    if (description_.columnLabelStringAtIndex)
        return description_.columnLabelStringAtIndex(columnIndex);
    return UFormattedString("Column %lu", columnIndex);
}

std::shared_ptr<UFemCard> UFemCardClass::makeCard(UFemCardDataController* dataController) const
{
    if (!description_.makeCard)
        UFemRaiseCardClassProgramError(QStringLiteral("This method must be overwrite."));
    return description_.makeCard(dataController);
}

void UFemCardClass::registerCardValueTypes(UFemCardClassManager& cardClassManager) const
{
    if (description_.registerCardValueTypes)
        description_.registerCardValueTypes(cardClassManager);
}
