#include "appkit/Notifier.h"
#include "cardmodel/card/UFemCard.h"
#include "cardmodel/card/UFemCardString.h"
#include "cardmodel/data/UFemDataController.h"
#include "cardmodel/text/UFemStringSearchManager.h"
#include "documents/mainview/UFemFindPanel.h"
#include "documents/mainview/UFemMainViewController.h"
#include "foundation/UFemNotFound.h"
#include "foundation/errors/UFemErrorsOther.h"

#include <QCoreApplication>
#include <QLineEdit>

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("UFemMainViewController", text);
}

// The find panel with its message cleared, or null (and a beep) when the program has none.
UFemFindPanel* resetFindPanel()
{
    UFemFindPanel* panel = UFemFindPanel::shared();
    if (panel == nullptr)
        Notifier::beep();
    else
        panel->resetMessageString();
    return panel;
}

// The find panel with its message cleared when it holds a search text; else null and a beep.
UFemFindPanel* findPanelWithSearchString()
{
    UFemFindPanel* panel = resetFindPanel();
    if (panel == nullptr || !panel->searchString().isEmpty())
        return panel;
    Notifier::beep();
    return nullptr;
}

// A character field left open means the whole line.
quint64 clampedLocation(quint64 location, qsizetype length)
{
    return location == UFemRangeNotFound ? quint64(length) : std::min(location, quint64(length));
}

qsizetype selectionStartOf(const QLineEdit& editor)
{
    return editor.hasSelectedText() ? editor.selectionStart() : editor.cursorPosition();
}

qsizetype selectionEndOf(const QLineEdit& editor)
{
    return editor.hasSelectedText() ? editor.selectionEnd() : editor.cursorPosition();
}

} // namespace

bool UFemMainViewController::applyCardStringFieldEditor(bool doesClose, UErrorPtr* error)
{
    quint64 row = UFemNotFound;
    UErrorPtr failure;
    static_cast<void>(cardStringFieldEditor(&row, true, doesClose, &failure));
    if (failure == nullptr)
        return true;
    UFemSetError(error, failure);
    return false;
}

bool UFemMainViewController::isSelectableSearchCardStringRange(
    const _UFemSearchCardStringRange& range, UErrorPtr* error)
{
    const bool wholeRows = range.startStringLocation == UFemRangeNotFound
        && range.endStringLocation == UFemRangeNotFound;
    if (range.startCardIndex == range.endCardIndex || wholeRows)
        return true;
    UFemSetError(error,
        UFemUnexpectedError_withDescription(
            tr("Multi-Row String Range selection. ( Not supported. )")));
    return false;
}

bool UFemMainViewController::getEditedSearchCardStringRange(
    _UFemSearchCardStringRange* range, UErrorPtr* error)
{
    *range = {};
    quint64 row = UFemNotFound;
    UErrorPtr failure;
    const QLineEdit* editor = cardStringFieldEditor(&row, true, false, &failure);
    if (failure != nullptr) {
        UFemSetError(error, failure);
        return true;
    }
    if (editor == nullptr)
        return false;
    *range = { row, quint64(selectionStartOf(*editor)), row, quint64(selectionEndOf(*editor)) };
    return true;
}

_UFemSearchCardStringRange UFemMainViewController::replaceSelectedSearchCardStringRange(
    const QString& replaceString, bool* isReplaced, UErrorPtr* error)
{
    *isReplaced = false;
    if (UErrorPtr locked = dataController().errorIfLocked()) {
        UFemSetError(error, locked);
        return {};
    }
    quint64 row = UFemNotFound;
    UErrorPtr failure;
    QLineEdit* editor = cardStringFieldEditor(&row, false, false, &failure);
    if (failure != nullptr || editor == nullptr) {
        if (failure != nullptr)
            UFemSetError(error, failure);
        return {};
    }
    const qsizetype start = selectionStartOf(*editor);
    editor->insert(replaceString);
    editor->setSelection(int(start), int(replaceString.size()));
    const quint64 editedRow = row;
    const QLineEdit* stillOpen = cardStringFieldEditor(&row, true, false, &failure);
    if (failure != nullptr) {
        UFemSetError(error, failure);
        return {};
    }
    *isReplaced = true;
    if (stillOpen == nullptr)
        return { editedRow, UFemRangeNotFound, editedRow, UFemRangeNotFound };
    return { editedRow, quint64(start), editedRow, quint64(start + replaceString.size()) };
}

void UFemMainViewController::ufemMainView_findNext()
{
    findInDirection(false);
}

void UFemMainViewController::ufemMainView_findPrevious()
{
    findInDirection(true);
}

void UFemMainViewController::findInDirection(bool doesSearchBackDirection)
{
    UFemFindPanel* panel = findPanelWithSearchString();
    if (panel == nullptr)
        return;
    UErrorPtr error;
    auto manager
        = panel->stringSearchManagerWithDoesSearchBackDirection(doesSearchBackDirection, &error);
    _UFemSearchCardStringRange current;
    if (manager != nullptr)
        current = selectedSearchCardStringRange(&error);
    _UFemSearchCardStringRange found;
    if (error == nullptr) {
        const std::vector<UFemCard*> cards = windowCards();
        found = manager->searchStringWithCardArray_currentSelectedCardStringRange(
            cards, current, &error);
    }
    if (error != nullptr) {
        presentError(error);
        return;
    }
    if (found.startCardIndex == UFemRangeNotFound || found == current) {
        Notifier::beep();
        return;
    }
    if (!selectSearchCardStringRange(found, &error))
        presentError(error);
}

void UFemMainViewController::ufemMainView_replaceSelection()
{
    UFemFindPanel* panel = resetFindPanel();
    if (panel == nullptr)
        return;
    if (!panel->isWindowLoaded()) {
        presentError(UFemUnexpectedError_withDescription(
            tr("'Find Panel' is not loaded. Set 'Replace String' with it.")));
        return;
    }
    UErrorPtr error = dataController().errorIfLocked();
    bool isReplaced = false;
    if (error == nullptr)
        replaceSelectedSearchCardStringRange(panel->replaceString(), &isReplaced, &error);
    if (error != nullptr)
        presentError(error);
    else if (!isReplaced)
        Notifier::beep();
}

void UFemMainViewController::ufemMainView_replaceSelectionAndFindNext()
{
    UFemFindPanel* panel = findPanelWithSearchString();
    if (panel == nullptr)
        return;
    UErrorPtr error;
    auto manager = panel->stringSearchManagerWithDoesSearchBackDirection(false, &error);
    if (error == nullptr)
        error = dataController().errorIfLocked();
    bool isReplaced = false;
    _UFemSearchCardStringRange replaced;
    if (error == nullptr)
        replaced
            = replaceSelectedSearchCardStringRange(panel->replaceString(), &isReplaced, &error);
    if (error == nullptr && (!isReplaced || replaced.startCardIndex == UFemRangeNotFound)) {
        Notifier::beep();
        return;
    }
    _UFemSearchCardStringRange found;
    if (error == nullptr) {
        const std::vector<UFemCard*> cards = windowCards();
        found = manager->searchStringWithCardArray_currentSelectedCardStringRange(
            cards, replaced, &error);
    }
    if (error == nullptr)
        static_cast<void>(selectSearchCardStringRange(found, &error));
    presentError(error);
}

void UFemMainViewController::ufemMainView_replaceAll()
{
    UFemFindPanel* panel = findPanelWithSearchString();
    if (panel == nullptr)
        return;
    quint64 replacedCount = 0;
    UErrorPtr error;
    if (!replaceAllOccurrences(*panel, &replacedCount, &error)) {
        presentError(error);
        return;
    }
    if (replacedCount != 0) {
        panel->setReplaceAllMessageString(tr("%1 replaced").arg(replacedCount));
    } else {
        panel->setReplaceAllMessageString(tr("Not Found"));
        Notifier::beep();
    }
}

// Collects every card's new text first and changes the model once, so that the whole
// replacement is one change and one undo step.
bool UFemMainViewController::replaceAllOccurrences(
    UFemFindPanel& panel, quint64* replacedCount, UErrorPtr* error)
{
    auto manager = panel.stringSearchManagerWithDoesSearchBackDirection(false, error);
    if (manager == nullptr)
        return false;
    manager->setDoesSearchWrapAround(false);
    const QString replaceString = panel.replaceString();
    applyAndCloseCardStringFieldEditor();
    if ((*error = dataController().errorIfLocked()))
        return false;
    const std::vector<UFemCard*> cards = windowCards();
    std::vector<UFemCardPtr> changedCards;
    QStringList changedTexts;
    for (quint64 row = 0; !cards.empty() && row < cards.size();) {
        const _UFemSearchCardStringRange found
            = manager->searchStringWithCardArray_searchCardStringRange(
                cards, { row, UFemRangeNotFound, cards.size() - 1, UFemRangeNotFound }, error);
        if (*error != nullptr)
            return false;
        if (found.startCardIndex == UFemRangeNotFound || found.startCardIndex >= cards.size())
            break;
        if (found.startCardIndex != found.endCardIndex) {
            *error = UFemUnexpectedError_withDescription(
                tr("StartCardIndex and EndCardIndex are different of found card string range."));
            return false;
        }
        UFemCard& card = *cards[found.startCardIndex];
        QString text = UFemCardString(card);
        quint64 start = found.startStringLocation == UFemRangeNotFound
            ? 0
            : clampedLocation(found.startStringLocation, text.size());
        quint64 end = std::max(start, clampedLocation(found.endStringLocation, text.size()));
        for (;;) {
            text.replace(qsizetype(start), qsizetype(end - start), replaceString);
            ++*replacedCount;
            const quint64 resume = start + quint64(replaceString.size());
            if (resume >= quint64(text.size()))
                break;
            const URange match = manager->matchRangeInTargetString(
                text, { resume, quint64(text.size()) - resume });
            if (match.location == UFemRangeNotFound)
                break;
            start = match.location;
            end = match.location + match.length;
        }
        changedCards.push_back(card.shared_from_this());
        changedTexts.append(text);
        row = found.startCardIndex + 1;
    }
    if (changedCards.empty())
        return true;
    return dataController()
        .modifyCardsInCardArray(
            changedCards, changedTexts, UFemColumnSeparatingCharacterTypeComma, true, error)
        .has_value();
}

void UFemMainViewController::ufemMainView_useSelectionForFind()
{
    UFemFindPanel* panel = UFemFindPanel::shared();
    if (panel == nullptr) {
        Notifier::beep();
        return;
    }
    panel->loadWindow();
    panel->resetMessageString();
    UErrorPtr error;
    quint64 editedRow = UFemNotFound;
    QLineEdit* editor = cardStringFieldEditor(&editedRow, false, false, &error);
    if (error != nullptr) {
        presentError(error);
        return;
    }
    if (editor != nullptr) {
        const QString selected = editor->selectedText();
        panel->setSearchString(selected);
        if (selected.isEmpty())
            Notifier::beep();
        return;
    }
    const UFemCardVector& cards = selectedCardArray();
    if (cards.size() == 1)
        panel->setSearchString(UFemCardString(*cards.front()));
    else
        Notifier::beep();
}
