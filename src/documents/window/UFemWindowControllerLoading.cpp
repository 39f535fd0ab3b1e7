#include "appkit/Alert.h"
#include "appkit/Document.h"
#include "appkit/DocumentController.h"
#include "appkit/FilePanels.h"
#include "appkit/SheetPresenter.h"
#include "cardmodel/data/UFemDataController.h"
#include "cardmodel/data/UFemWindowCardTable.h"
#include "documents/application/UFemCommandNames.h"
#include "documents/window/UFemWindow.h"
#include "documents/window/UFemWindowController.h"
#include "documents/window/UFemWindowDocument.h"
#include "foundation/errors/UFemErrorsFile.h"
#include "foundation/errors/UFemErrorsOther.h"

#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMimeData>

namespace {

const QString TabularTextMimeType = QStringLiteral("text/tab-separated-values");
const QString ResultIconText = QStringLiteral(" Result ");
const QString WithResultIconStyle
    = QStringLiteral("color: rgb(255, 0, 128); background-color: rgb(230, 179, 204);");
const QString WithoutResultIconStyle
    = QStringLiteral("color: rgb(255, 255, 255); background-color: rgb(255, 179, 230);");

} // namespace

void UFemWindowController::loadResultData()
{
    const UFemDocumentType type = ufemDocument_->documentType();
    if (type == UFemDocumentTypeProject && ufemDocument_->isProjectResultFilePathValid()) {
        UErrorPtr error;
        if (!ufemDocument_->loadProjectResultData(&error) && error != nullptr)
            if (SheetPresenter* sheets = sheetPresenter())
                sheets->presentError(window(), *error);
        return;
    }
    if (type == UFemDocumentTypeProject || type == UFemDocumentTypeModel)
        loadResultDataFromPanel();
}

void UFemWindowController::loadResultDataFromPanel()
{
    Document* owner = document();
    if (owner->documentController() == nullptr)
        return;
    OpenPanelOptions options;
    options.allowedExtensions = { UFemResultFileExtension };
    options.canChooseFiles = true;
    options.canChooseDirectories = false;
    options.canCreateDirectories = false;
    options.prompt = tr("Load");
    // Results are usually written beside their model.
    if (!owner->filePath().isEmpty())
        options.directory = QFileInfo(owner->filePath()).absolutePath();
    owner->documentController()->filePanels().beginOpenPanel(
        window(), options, [this](const QStringList& paths) {
            if (paths.isEmpty() || ufemDocument_ == nullptr)
                return;
            UErrorPtr error = paths.first().isEmpty() ? UFemNoFileSelectedError() : nullptr;
            if (error == nullptr)
                static_cast<void>(
                    ufemDocument_->loadResultDataWithResultFileURL(paths.first(), &error));
            if (error != nullptr)
                if (SheetPresenter* sheets = sheetPresenter())
                    sheets->runModalAlert(Alert::fromError(*error));
        });
}

void UFemWindowController::loadClipboardCardValue(const CommandItem& sender)
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    UErrorPtr error;
    if (data != nullptr && data->hasText()) {
        const auto type
            = sender.command() == UFemLoadClipboardCardValueAsTabSeparatedTextWithMenuItemCommand
            ? UFemColumnSeparatingCharacterTypeTab
            : UFemColumnSeparatingCharacterTypeComma;
        static_cast<void>(ufemDocument_->loadClipboardCardValue(data->text(), type, &error));
    } else if (data != nullptr && data->hasFormat(TabularTextMimeType)) {
        static_cast<void>(ufemDocument_->loadClipboardCardValue(
            QString::fromUtf8(data->data(TabularTextMimeType)),
            UFemColumnSeparatingCharacterTypeTab, &error));
    } else {
        error = UFemFewChanceError_withDescription(tr("There is no text in clipboard."),
            tr("Execute after 'Copy' Card Value Text in clipboard."));
    }
    if (error != nullptr)
        if (SheetPresenter* sheets = sheetPresenter())
            sheets->presentError(window(), *error);
}

QString UFemWindowController::statusString()
{
    if (mainViewController_ == nullptr
        || (viewType_ != UFemViewTypeCard && viewType_ != UFemViewTypeGraphic))
        return {};
    QString status;
    const quint64 errorCards = dataController_->errorCardArray().count();
    if (errorCards != 0)
        status += QStringLiteral("Error Cards: %1  ").arg(errorCards);
    status += QStringLiteral("Cards in Window: %1 / Total: %2  ")
                  .arg(windowCardTable_->count())
                  .arg(dataController_->cardCount());
    return status;
}

QString UFemWindowController::statusIconString() const
{
    return ResultIconText;
}

bool UFemWindowController::statusIconShowsResult() const
{
    return dataController_ != nullptr && dataController_->hasResultData();
}

void UFemWindowController::updateStatusBar()
{
    if (dataController_ == nullptr)
        return;
    UFemWindow& window = ufemWindow();
    QString status
        = statusString().toHtmlEscaped().replace(QLatin1Char(' '), QStringLiteral("&nbsp;"));
    const qsizetype errorEnd = status.indexOf(QStringLiteral("Cards&nbsp;in"));
    if (errorEnd > 0)
        status = QStringLiteral("<span style=\"color:red\">%1</span>%2")
                     .arg(status.left(errorEnd), status.mid(errorEnd));
    window.statusTextFieldOutlet->setText(status);
    window.statusIconTextFieldOutlet->setText(statusIconString());
    window.statusIconTextFieldOutlet->setStyleSheet(
        statusIconShowsResult() ? WithResultIconStyle : WithoutResultIconStyle);
}
