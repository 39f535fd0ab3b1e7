#include "appkit/Notifier.h"
#include "cardmodel/card/UFemCardString.h"
#include "cardmodel/data/UFemDataController.h"
#include "cardmodel/data/UFemWindowCardTable.h"
#include "cardmodel/text/UFemModelText.h"
#include "documents/application/UFemCommandNames.h"
#include "documents/mainview/UFemMainViewController.h"
#include "documents/window/UFemWindowController.h"
#include "foundation/UFemNotFound.h"
#include "platform/UUndoManager.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMimeData>

namespace {

const QString TabularTextMimeType = QStringLiteral("text/tab-separated-values");

QString tr(const char* text)
{
    return QCoreApplication::translate("UFemMainViewController", text);
}

UFemColumnSeparatingCharacterType separatorOfSender(const CommandItem& sender)
{
    const QString& command = sender.command();
    return command == UFemCopyAsTabSeparatedTextCommand
            || command == UFemCutAsTabSeparatedTextCommand
            || command == UFemPasteAsTabSeparatedTextCommand
        ? UFemColumnSeparatingCharacterTypeTab
        : UFemColumnSeparatingCharacterTypeComma;
}

} // namespace

void UFemMainViewController::ufemMainView_undo()
{
    undoOrRedo(&UUndoManager::undo);
}

void UFemMainViewController::ufemMainView_redo()
{
    undoOrRedo(&UUndoManager::redo);
}

// A locked model neither undoes nor redoes; the user hears why nothing happened.
void UFemMainViewController::undoOrRedo(void (UUndoManager::*step)())
{
    UUndoManager* undo = dataController().undoManager();
    if (dataController().isLocked() || undo == nullptr)
        Notifier::beep();
    else
        (undo->*step)();
}

void UFemMainViewController::ufemMainView_insert()
{
    UErrorPtr error = dataController().errorIfLocked();
    quint64 row = UFemNotFound;
    if (error == nullptr)
        row = cardRowIndexToAddCard(&error);
    if (error == nullptr) {
        dataController().addCardsWithModelText(
            QStringLiteral("\n"), UFemColumnSeparatingCharacterTypeComma, row, true, &error);
    }
    if (error == nullptr) {
        dataController().setUndoActionName(QStringLiteral("Insert"));
        return;
    }
    dataController().setUndoActionName(tr("Insert - Aborted by Error"));
    presentError(error);
}

void UFemMainViewController::ufemMainView_delete()
{
    if (UErrorPtr lockError = dataController().errorIfLocked()) {
        presentError(lockError);
        return;
    }
    const UFemCardVector cards = selectedCardArray();
    if (cards.empty())
        return;
    windowController()->clearSelectedCardArray();
    UErrorPtr error;
    if (!dataController().removeCardsWithCardArray(cards, &error))
        presentError(error);
}

void UFemMainViewController::ufemMainView_selectAll()
{
    windowController()->setSelectedCardArray(windowCardTable().cardArray().toVector());
}

void UFemMainViewController::ufemMainView_copy(const CommandItem& sender)
{
    const UFemCardVector& cards = selectedCardArray();
    if (cards.empty()) {
        Notifier::beep();
        return;
    }
    QGuiApplication::clipboard()->setText(UFemModelText(cards, separatorOfSender(sender)));
}

void UFemMainViewController::ufemMainView_cut(const CommandItem& sender)
{
    if (UErrorPtr lockError = dataController().errorIfLocked()) {
        presentError(lockError);
        return;
    }
    const UFemCardVector cards = selectedCardArray();
    if (cards.empty()) {
        Notifier::beep();
        return;
    }
    ufemMainView_copy(sender);
    windowController()->clearSelectedCardArray();
    UErrorPtr error;
    if (dataController().removeCardsWithCardArray(cards, &error)) {
        dataController().setUndoActionName(tr("Cut %1 Cards").arg(cards.size()));
        return;
    }
    dataController().setUndoActionName(tr("Cut Some Cards - Aborted by Error"));
    presentError(error);
}

void UFemMainViewController::ufemMainView_paste(const CommandItem& sender)
{
    UErrorPtr error = dataController().errorIfLocked();
    quint64 row = UFemNotFound;
    if (error == nullptr)
        row = cardRowIndexToAddCard(&error);
    if (error != nullptr) {
        presentError(error);
        return;
    }
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    QString text;
    UFemColumnSeparatingCharacterType type = separatorOfSender(sender);
    if (data != nullptr && data->hasText()) {
        text = data->text();
    } else if (data != nullptr && data->hasFormat(TabularTextMimeType)) {
        text = QString::fromUtf8(data->data(TabularTextMimeType));
        type = UFemColumnSeparatingCharacterTypeTab;
    } else {
        Notifier::beep();
        return;
    }
    const quint64 added = dataController().addCardsWithModelText(text, type, row, true, &error);
    if (error == nullptr) {
        dataController().setUndoActionName(tr("Paste %1 Cards").arg(added));
        return;
    }
    dataController().setUndoActionName(tr("Paste Some Cards - Aborted by Error"));
    presentError(error);
}

void UFemMainViewController::ufemMainView_retryAllErrorCards()
{
    const UFemCardVector cards = dataController().errorCardArray().toVector();
    if (cards.empty())
        return;
    QStringList lines;
    for (const UFemCardPtr& card : cards)
        lines.append(UFemCardString(*card));
    UErrorPtr error;
    if (!dataController().modifyCardsInCardArray(
            cards, lines, UFemColumnSeparatingCharacterTypeComma, true, &error))
        presentError(error);
}
