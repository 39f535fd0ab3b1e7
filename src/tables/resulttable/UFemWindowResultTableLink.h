#pragma once

#include "tables/resulttable/UFemResultTableWindowLink.h"

class UFemWindowController;

// The result table's view of a document window controller.
class UFemWindowResultTableLink : public UFemResultTableWindowLink {
public:
    explicit UFemWindowResultTableLink(UFemWindowController& windowController)
        : windowController_(windowController)
    {
    }

    UFemDataController& dataController() override;
    UFemWindowCardTable& windowCardTable() override;
    std::optional<UFemCardVector> selectedCardArray() override;
    UFemCardVector currentCaseCardArray() override;
    UFemNumberFormatter writingFileNumberFormatter() override;
    UNotificationObservation observeSelectedCardDidChange(std::function<void()> handler) override;
    UNotificationObservation observeCurrentCaseDidChange(std::function<void()> handler) override;
    QWidget* documentWindow() override;
    SheetPresenter* sheetPresenter() override;

private:
    UFemWindowController& windowController_;
};
