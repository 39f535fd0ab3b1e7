#pragma once

#include "appkit/Alert.h"
#include "appkit/WindowFront.h"
#include "foundation/errors/UError.h"

#include <QObject>
#include <QPointer>

#include <deque>
#include <functional>
#include <unordered_map>

class QDialog;
class QWidget;

// Window-modal sheets, one at a time per window: a sheet asked for while another is up on the
// same window waits and is shown when the ones before it have ended. Sheets never block the
// caller; each reports its end through a completion, after the front has been given back (to the
// window under the sheet, or to a window brought forward while it was up). With no window a sheet
// is application-modal.
//
// The alert operations are virtual so that tests replace them by recorders and no test waits
// for a user.
class SheetPresenter : public QObject {
    Q_OBJECT
public:
    // Makes the sheet with the window as parent; the presenter deletes it after it ends.
    using SheetFactory = std::function<QDialog*(QWidget* window)>;
    using SheetCompletion = std::function<void(QDialog& sheet, int result)>;
    // The index of the chosen button, -1 when the alert was dismissed without one.
    using AlertCompletion = std::function<void(int answer)>;

    SheetPresenter();
    ~SheetPresenter() override;

    void beginSheet(QWidget* window, SheetFactory make, SheetCompletion done);
    virtual void beginAlertSheet(QWidget* window, const Alert& alert, AlertCompletion done = {});
    // A blocking application-modal alert, for the few places that must have the answer at once.
    virtual int runModalAlert(const Alert& alert);

    void presentError(QWidget* window, const UError& error, AlertCompletion done = {});

    // The sheet shown on `window`, null when none.
    QDialog* currentSheet(QWidget* window) const;
    // The sheets shown or waiting on `window`.
    int sheetCount(QWidget* window) const;

private:
    struct Pending {
        SheetFactory make;
        SheetCompletion done;
    };
    struct WindowSheets {
        QPointer<QDialog> current;
        SheetCompletion currentDone;
        WindowFront::Time currentShownAt;
        std::deque<Pending> waiting;
        QMetaObject::Connection windowGone;
    };

    void showNext(QWidget* window);
    void sheetFinished(QWidget* window, QDialog* sheet, int result);
    static void giveFrontAfterSheet(QWidget* window, WindowFront::Time sheetShownAt);

    std::unordered_map<QWidget*, WindowSheets> sheets_;
};
