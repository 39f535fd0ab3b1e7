#include "appkit/FileDialogPanels.h"

#include "appkit/SheetPresenter.h"

#include <QDir>
#include <QFileDialog>

namespace {

QString nameFilter(const QStringList& extensions)
{
    QStringList patterns;
    for (const QString& extension : extensions) {
        patterns.append(QStringLiteral("*.") + extension);
    }
    return patterns.join(QLatin1Char(' '));
}

QFileDialog* makeDialog(
    QWidget* window, const QString& directory, const QStringList& extensions, const QString& prompt)
{
    auto* dialog = new QFileDialog(window);
    if (!prompt.isEmpty()) {
        dialog->setLabelText(QFileDialog::Accept, prompt);
    }
    dialog->setDirectory(directory.isEmpty() ? QDir::homePath() : directory);
    if (!extensions.isEmpty()) {
        dialog->setNameFilter(nameFilter(extensions));
    }
    return dialog;
}

} // namespace

FileDialogPanels::FileDialogPanels(SheetPresenter& sheets)
    : sheets_(sheets)
{
}

void FileDialogPanels::beginSavePanel(
    QWidget* window, const SavePanelOptions& options, SaveCompletion done)
{
    sheets_.beginSheet(
        window,
        [options](QWidget* parent) {
            QFileDialog* dialog
                = makeDialog(parent, options.directory, options.allowedExtensions, options.prompt);
            dialog->setAcceptMode(QFileDialog::AcceptSave);
            if (!options.title.isEmpty()) {
                dialog->setWindowTitle(options.title);
            }
            dialog->selectFile(options.fileName);
            if (!options.allowedExtensions.isEmpty()) {
                dialog->setDefaultSuffix(options.allowedExtensions.first());
            }
            if (!options.nameFieldLabel.isEmpty()) {
                dialog->setLabelText(QFileDialog::FileName, options.nameFieldLabel);
            }
            return dialog;
        },
        [done = std::move(done)](QDialog& sheet, int result) {
            const QStringList chosen = static_cast<QFileDialog&>(sheet).selectedFiles();
            done(result == QDialog::Accepted && !chosen.isEmpty() ? chosen.first() : QString());
        });
}

void FileDialogPanels::beginOpenPanel(
    QWidget* window, const OpenPanelOptions& options, OpenCompletion done)
{
    sheets_.beginSheet(
        window,
        [options](QWidget* parent) {
            QFileDialog* dialog
                = makeDialog(parent, options.directory, options.allowedExtensions, options.prompt);
            dialog->setAcceptMode(QFileDialog::AcceptOpen);
            if (options.canChooseDirectories && !options.canChooseFiles) {
                dialog->setFileMode(QFileDialog::Directory);
                dialog->setOption(QFileDialog::ShowDirsOnly);
            } else {
                dialog->setFileMode(options.allowsMultipleSelection ? QFileDialog::ExistingFiles
                                                                    : QFileDialog::ExistingFile);
            }
            dialog->setOption(QFileDialog::ReadOnly, !options.canCreateDirectories);
            return dialog;
        },
        [done = std::move(done)](QDialog& sheet, int result) {
            done(result == QDialog::Accepted ? static_cast<QFileDialog&>(sheet).selectedFiles()
                                             : QStringList());
        });
}
