// What the main menu shows of a document window.
#include "documents/UFemWindowController.h"

#include "cardmodel/UFemDataController.h"

namespace {

constexpr quint64 PointerMoveModeTag = 1;
constexpr qint64 NoCaseMenuTag = 1;
constexpr qint64 AllCasesMenuTag = 2;
constexpr qint64 SomeCasesMenuTag = 3;
constexpr qint64 NoMenuTag = 0;

} // namespace

quint64 UFemWindowController::graphicMoveModeMenuTag() const
{
    // Moving is a mode of the 3-D view only; its controller answers once it is the main view.
    return PointerMoveModeTag;
}

QMenu* UFemWindowController::viewSettingMenu() const
{
    // Built from the document's saved view settings by the toolbar's view-setting popup.
    return nullptr;
}

QMenu* UFemWindowController::caseMenu() const
{
    // Built by the toolbar's case popup from the model's case cards.
    return nullptr;
}

qint64 UFemWindowController::selectedCaseMenuItemTag() const
{
    switch (currentCaseSelectMode_) {
    case UFemCaseSelectModeNoCase:
        return NoCaseMenuTag;
    case UFemCaseSelectModeAllCases:
        return AllCasesMenuTag;
    case UFemCaseSelectModeSomeCases:
        return SomeCasesMenuTag;
    case UFemCaseSelectModeOneCase:
        if (UFemCardPtr card = currentCaseCard(); card != nullptr && dataController_ != nullptr)
            return dataController_->caseMenuTagOfCaseCard(card);
        return NoMenuTag;
    default:
        return NoMenuTag;
    }
}
