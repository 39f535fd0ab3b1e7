#pragma once

#include "appkit/WindowController.h"

class UFemDocument;
class UFemMainMenu;

// A plain document window, used until the document makes its own windows: the program's menu,
// the document's model text read-only and a line on what the document holds.
class UFemPlaceholderWindowController : public WindowController {
    Q_OBJECT
public:
    UFemPlaceholderWindowController(
        UFemDocument& document, WindowTracker& tracker, UFemMainMenu* mainMenu);
};
