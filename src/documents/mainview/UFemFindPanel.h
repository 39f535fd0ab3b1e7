#pragma once

#include "foundation/errors/UError.h"

#include <QString>

#include <memory>

class UFemStringSearchManager;

// The program's one find panel as the main views use it: the search and replace texts, the
// search it builds from its options, and its message line. The card table subsystem provides
// the panel and registers it at start-up.
class UFemFindPanel {
public:
    virtual ~UFemFindPanel() = default;

    // The registered panel; null before one is registered.
    static UFemFindPanel* shared();
    static void setShared(UFemFindPanel* panel);

    virtual bool isWindowLoaded() const = 0;
    virtual void loadWindow() = 0;
    virtual void showFindPanel() = 0;
    virtual QString searchString() const = 0;
    virtual void setSearchString(const QString& searchString) = 0;
    virtual QString replaceString() const = 0;
    [[nodiscard]] virtual std::shared_ptr<UFemStringSearchManager>
    stringSearchManagerWithDoesSearchBackDirection(bool doesSearchBackDirection, UErrorPtr* error)
        = 0;
    virtual void setReplaceAllMessageString(const QString& message) = 0;
    virtual void resetMessageString() = 0;
};
