#pragma once

#include "documents/window/UFemWindowController.h"

#include <memory>

// The information views: the project info view for a project document's information type, the
// result info view for any other document's; null for the other types.
std::unique_ptr<UFemMainViewController> UFemMakeMainViewController(
    UFemWindowController& windowController, UFemViewType viewType);
