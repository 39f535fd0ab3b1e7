#include "tables/UFemTableViewWindowLink.h"

#include "documents/UFemUserPreferences.h"
#include "documents/UFemWindowController.h"
#include "documents/UFemWindowNotifications.h"

UFemDataController& UFemTableViewWindowLink::dataController()
{
    return windowController_.dataController();
}

UFemWindowCardTable& UFemTableViewWindowLink::windowCardTable()
{
    return windowController_.windowCardTable();
}

std::optional<UFemCardVector> UFemTableViewWindowLink::selectedCardArray()
{
    return windowController_.selectedCardArray();
}

UFemCardVector UFemTableViewWindowLink::currentCaseCardArray()
{
    return windowController_.currentCaseCardArray();
}

UFemNumberFormatter UFemTableViewWindowLink::writingFileNumberFormatter()
{
    if (const auto preferences = windowController_.documentUserPreferences())
        return preferences->writingFileNumberFormatter();
    return UFemNumberFormatter::defaultWritingFileNumberFormatter();
}

UNotificationObservation UFemTableViewWindowLink::observeSelectedCardDidChange(
    std::function<void()> handler)
{
    return UNotificationCenter::defaultCenter().observe(UFemWindowSelectedCardDidChangeNotification,
        &windowController_, [handler = std::move(handler)](const UNotification&) { handler(); });
}

UNotificationObservation UFemTableViewWindowLink::observeCurrentCaseDidChange(
    std::function<void()> handler)
{
    return UNotificationCenter::defaultCenter().observe(UFemWindowCurrentCaseDidChangeNotification,
        &windowController_, [handler = std::move(handler)](const UNotification&) { handler(); });
}

QWidget* UFemTableViewWindowLink::documentWindow()
{
    return windowController_.window();
}

SheetPresenter* UFemTableViewWindowLink::sheetPresenter()
{
    return windowController_.sheetPresenter();
}
