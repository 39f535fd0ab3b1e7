#include "tables/resulttable/UFemWindowResultTableLink.h"

#include "documents/preferences/UFemUserPreferences.h"
#include "documents/window/UFemWindow.h"
#include "documents/window/UFemWindowController.h"
#include "documents/window/UFemWindowNotifications.h"

UFemDataController& UFemWindowResultTableLink::dataController()
{
    return windowController_.dataController();
}

UFemWindowCardTable& UFemWindowResultTableLink::windowCardTable()
{
    return windowController_.windowCardTable();
}

std::optional<UFemCardVector> UFemWindowResultTableLink::selectedCardArray()
{
    return windowController_.selectedCardArray();
}

UFemCardVector UFemWindowResultTableLink::currentCaseCardArray()
{
    return windowController_.currentCaseCardArray();
}

UFemNumberFormatter UFemWindowResultTableLink::writingFileNumberFormatter()
{
    const auto preferences = windowController_.documentUserPreferences();
    return preferences ? preferences->writingFileNumberFormatter()
                       : UFemNumberFormatter::defaultWritingFileNumberFormatter();
}

UNotificationObservation UFemWindowResultTableLink::observeSelectedCardDidChange(
    std::function<void()> handler)
{
    return UNotificationCenter::defaultCenter().observe(UFemWindowSelectedCardDidChangeNotification,
        &windowController_, [handler](const UNotification&) { handler(); });
}

UNotificationObservation UFemWindowResultTableLink::observeCurrentCaseDidChange(
    std::function<void()> handler)
{
    return UNotificationCenter::defaultCenter().observe(UFemWindowCurrentCaseDidChangeNotification,
        &windowController_, [handler](const UNotification&) { handler(); });
}

QWidget* UFemWindowResultTableLink::documentWindow()
{
    return &windowController_.ufemWindow();
}

SheetPresenter* UFemWindowResultTableLink::sheetPresenter()
{
    return windowController_.sheetPresenter();
}
