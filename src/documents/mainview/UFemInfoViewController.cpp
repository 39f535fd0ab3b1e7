#include "documents/mainview/UFemInfoViewController.h"

#include "cardmodel/data/UFemWindowCardTable.h"
#include "documents/window/UFemWindowController.h"
#include "foundation/errors/UFemErrorsEditCard.h"

#include <QApplication>
#include <QFont>

quint64 UFemInfoViewController::cardRowIndexToAddCard(UErrorPtr* error)
{
    UFemSetError(error, UFemNotEditableOnProjectInfoViewError());
    return UFemNotFound;
}

_UFemSearchCardStringRange UFemInfoViewController::selectedSearchCardStringRange(UErrorPtr*)
{
    return {};
}

bool UFemInfoViewController::selectSearchCardStringRange(
    const _UFemSearchCardStringRange& range, UErrorPtr*)
{
    if (range.startCardIndex >= windowCardTable().count()) {
        windowController()->clearSelectedCardArray();
        return true;
    }
    windowController()->setSelectedCardArray(
        { windowCardTable().cardAtIndex(range.startCardIndex) });
    return true;
}

_UFemSearchCardStringRange UFemInfoViewController::replaceSelectedSearchCardStringRange(
    const QString&, bool* isReplaced, UErrorPtr* error)
{
    *isReplaced = false;
    UFemSetError(error, UFemNotEditableOnProjectInfoViewError());
    return {};
}

QFont UFemInfoViewController::userFont()
{
    return QApplication::font();
}
