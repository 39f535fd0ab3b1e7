#pragma once

#include "cardmodel/data/UFemCardSetManager.h"
#include "foundation/strings/UFemNumberFormatter.h"
#include "platform/UNotificationCenter.h"

#include <functional>
#include <optional>

class QWidget;
class SheetPresenter;
class UFemDataController;
class UFemWindowCardTable;

// What the result table and its pane need of the document window that hosts them. The window
// controller answers it through a small adapter, so that the table stays free of the window's
// own class.
class UFemResultTableWindowLink {
public:
    virtual ~UFemResultTableWindowLink() = default;

    virtual UFemDataController& dataController() = 0;
    virtual UFemWindowCardTable& windowCardTable() = 0;
    // nullopt when the window has no selection manager yet.
    virtual std::optional<UFemCardVector> selectedCardArray() = 0;
    virtual UFemCardVector currentCaseCardArray() = 0;
    // The document user preferences' formatter for written files.
    virtual UFemNumberFormatter writingFileNumberFormatter() = 0;
    // The window's selected-card and current-case did-change notifications.
    [[nodiscard]] virtual UNotificationObservation observeSelectedCardDidChange(
        std::function<void()> handler)
        = 0;
    [[nodiscard]] virtual UNotificationObservation observeCurrentCaseDidChange(
        std::function<void()> handler)
        = 0;
    // The document window sheets are shown on, and its presenter (null when it has none).
    virtual QWidget* documentWindow() = 0;
    virtual SheetPresenter* sheetPresenter() = 0;
};
