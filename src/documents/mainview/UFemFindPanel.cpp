#include "documents/mainview/UFemFindPanel.h"

namespace {

UFemFindPanel* sharedFindPanel = nullptr;

} // namespace

UFemFindPanel* UFemFindPanel::shared()
{
    return sharedFindPanel;
}

void UFemFindPanel::setShared(UFemFindPanel* panel)
{
    sharedFindPanel = panel;
}
