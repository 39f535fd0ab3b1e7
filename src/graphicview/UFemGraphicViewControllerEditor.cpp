// The card string editor and the find hooks of the 3-D view: a search range is rows of the
// window's cards, or characters of one card's line in the window's optional editor.
#include "cardmodel/card/UFemCardString.h"
#include "cardmodel/data/UFemWindowCardTable.h"
#include "foundation/UFemNotFound.h"
#include "foundation/errors/UFemErrorsOther.h"
#include "graphicview/UFemGraphicViewController.h"

#include <QCoreApplication>

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("UFemGraphicViewController", text);
}

} // namespace

QLineEdit* UFemGraphicViewController::cardStringFieldEditor(quint64* editedRow,
    bool doesApplyFieldEditorChange, bool doesCloseFieldEditor, UErrorPtr* error)
{
    quint64 row = UFemNotFound;
    QLineEdit* editor = nullptr;
    if (optionalEditor_.isValid()) {
        const UFemCardVector& selected = selectedCardArray();
        const quint64 selectedRow
            = selected.size() == 1 ? windowCardTable().indexOfCard(selected.front()) : UFemNotFound;
        editor = optionalEditor_.fieldEditor(selected.size(), selectedRow, &row,
            doesApplyFieldEditorChange, doesCloseFieldEditor, error);
    }
    if (editor == nullptr && row != UFemNotFound)
        row = selectCardAtRowAlone(row);
    if (editedRow != nullptr)
        *editedRow = row;
    return editor;
}

quint64 UFemGraphicViewController::selectCardAtRowAlone(quint64 row)
{
    UFemWindowCardTable& cards = windowCardTable();
    if (row >= cards.count()) {
        windowController()->clearSelectedCardArray();
        return UFemNotFound;
    }
    windowController()->setSelectedCardArray({ cards.cardAtIndex(row) });
    return row;
}

void UFemGraphicViewController::applyAndCloseCardStringFieldEditor()
{
    if (optionalEditor_.isBusy() || windowController() == nullptr)
        return;
    UErrorPtr ignored;
    quint64 row = UFemNotFound;
    static_cast<void>(cardStringFieldEditor(&row, true, true, &ignored));
}

void UFemGraphicViewController::deactivateCardStringFieldEditorTemporary()
{
    optionalEditor_.deactivateTemporary();
}

void UFemGraphicViewController::optionalCardStringEditorDidEndEditing()
{
    UErrorPtr error;
    quint64 row = UFemNotFound;
    static_cast<void>(cardStringFieldEditor(&row, true, true, &error));
    presentError(error);
}

_UFemSearchCardStringRange UFemGraphicViewController::selectedSearchCardStringRange(
    UErrorPtr* error)
{
    _UFemSearchCardStringRange edited;
    if (getEditedSearchCardStringRange(&edited, error))
        return edited;
    const UFemCardVector& selected = selectedCardArray();
    if (selected.empty())
        return {};
    const quint64 row = windowCardTable().indexOfCard(selected.front());
    if (row == UFemNotFound) {
        UFemSetError(error,
            UFemUnexpectedError_withDescription(
                tr("Error while getting selectedSearchCardStringRange.")));
        return {};
    }
    return { row, UFemRangeNotFound, row, UFemRangeNotFound };
}

// Rows past the window's cards (a found card that has left them) select nothing and answer NO
// with the reason, so that no find ends in silence.
bool UFemGraphicViewController::selectSearchCardStringRange(
    const _UFemSearchCardStringRange& range, UErrorPtr* error)
{
    if (!isSelectableSearchCardStringRange(range, error))
        return false;
    deactivateCardStringFieldEditorTemporary();
    if (range.startCardIndex == UFemRangeNotFound) {
        if (!applyCardStringFieldEditor(true, error))
            return false;
        windowController()->clearSelectedCardArray();
        return true;
    }
    UFemWindowCardTable& cards = windowCardTable();
    const quint64 count = cards.count();
    if (range.startCardIndex >= count) {
        UFemSetError(error,
            UFemUnexpectedError_withDescription(
                tr("The card to select is no longer among the window's cards.")));
        return false;
    }
    if (range.startStringLocation == UFemRangeNotFound
        && range.endStringLocation == UFemRangeNotFound) {
        UFemCardVector selected;
        const quint64 last = std::min(range.endCardIndex, count - 1);
        for (quint64 row = range.startCardIndex; row <= last; ++row)
            selected.push_back(cards.cardAtIndex(row));
        windowController()->setSelectedCardArray(selected);
        return true;
    }
    const UFemCardPtr card = cards.cardAtIndex(range.startCardIndex);
    const QString text = UFemCardString(*card);
    const auto length = quint64(text.size());
    const quint64 first = range.startStringLocation == UFemRangeNotFound
        ? 0
        : std::min(range.startStringLocation, length);
    const quint64 last = std::max(first,
        range.endStringLocation == UFemRangeNotFound ? length
                                                     : std::min(range.endStringLocation, length));
    windowController()->setSelectedCardArray({ card });
    optionalEditor_.open(*card, text, first, last);
    return true;
}

bool UFemGraphicViewController::deselectSearchCardStringRange(UErrorPtr* error)
{
    if (!applyCardStringFieldEditor(false, error))
        return false;
    windowController()->clearSelectedCardArray();
    return true;
}
