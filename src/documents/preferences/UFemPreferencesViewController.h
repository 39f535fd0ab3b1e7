#pragma once

#include "foundation/errors/UError.h"

#include <QSize>
#include <QVariantMap>

class QWidget;

// The controller of a view's settings panel content, which the window's view settings sheet
// shows: its box and the settings it edits.
class UFemPreferencesViewController {
public:
    virtual ~UFemPreferencesViewController() = default;
    virtual QWidget* preferencesViewBox() const = 0;
    virtual QSize preferencesViewBoxSize() const = 0;
    [[nodiscard]] virtual bool setViewPreferences(
        const QVariantMap& viewPreferences, UErrorPtr* error)
        = 0;
    // The edited settings; on failure the error is set.
    virtual QVariantMap viewPreferences(UErrorPtr* error) const = 0;
};

// A main view controller whose view has settings to edit in the sheet.
class UFemPreferencesViewControllerOwner {
public:
    virtual ~UFemPreferencesViewControllerOwner() = default;
    virtual UFemPreferencesViewController* preferencesViewController() = 0;
};
