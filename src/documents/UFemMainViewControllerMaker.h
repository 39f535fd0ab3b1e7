#pragma once

#include "documents/UFemWindowController.h"

#include <memory>

// The main view controllers of the view types built so far: the project info view for a
// project's information type, the result info view for any other document's; null where the
// window's stand-in view serves.
std::unique_ptr<UFemMainViewController> UFemMakeMainViewController(
    UFemWindowController& windowController, UFemViewType viewType);
