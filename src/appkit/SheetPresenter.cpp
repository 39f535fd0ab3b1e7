#include "appkit/SheetPresenter.h"

#include "appkit/WindowFront.h"

#include <QDialog>
#include <QMessageBox>
#include <QWidget>

#include <memory>

SheetPresenter::SheetPresenter() = default;

SheetPresenter::~SheetPresenter()
{
    for (auto& [window, sheets] : sheets_) {
        disconnect(sheets.windowGone);
        if (sheets.current) {
            sheets.current->disconnect(this);
            sheets.current->deleteLater();
        }
    }
}

void SheetPresenter::beginSheet(QWidget* window, SheetFactory make, SheetCompletion done)
{
    auto [it, added] = sheets_.try_emplace(window);
    if (added && window != nullptr) {
        it->second.windowGone
            = connect(window, &QObject::destroyed, this, [this, window] { sheets_.erase(window); });
    }
    it->second.waiting.push_back({ std::move(make), std::move(done) });
    if (!it->second.current) {
        showNext(window);
    }
}

void SheetPresenter::showNext(QWidget* window)
{
    auto it = sheets_.find(window);
    if (it == sheets_.end()) {
        return;
    }
    WindowSheets& sheets = it->second;
    if (sheets.waiting.empty()) {
        disconnect(sheets.windowGone);
        sheets_.erase(it);
        return;
    }
    Pending next = std::move(sheets.waiting.front());
    sheets.waiting.pop_front();
    QDialog* sheet = next.make(window);
    sheets.current = sheet;
    sheets.currentDone = std::move(next.done);
    sheets.currentShownAt = std::chrono::steady_clock::now();
    connect(sheet, &QDialog::finished, this,
        [this, window, sheet](int result) { sheetFinished(window, sheet, result); });
    sheet->setWindowModality(window != nullptr ? Qt::WindowModal : Qt::ApplicationModal);
    sheet->open();
}

void SheetPresenter::sheetFinished(QWidget* window, QDialog* sheet, int result)
{
    sheet->disconnect(this);
    sheet->deleteLater();
    auto it = sheets_.find(window);
    if (it == sheets_.end()) {
        return;
    }
    giveFrontAfterSheet(window, it->second.currentShownAt);
    // The finished sheet stays current while its completion runs, so that sheets the completion
    // asks for queue behind those already waiting.
    SheetCompletion done = std::move(it->second.currentDone);
    if (done) {
        done(*sheet, result);
    }
    it = sheets_.find(window);
    if (it != sheets_.end()) {
        it->second.current = nullptr;
        showNext(window);
    }
}

// However the sheet was closed, the window manager then brings the window under it forward. A
// window brought to the front while the sheet was up (by the work of its buttons) stays in front;
// else the window under the sheet comes back in front and active. A window the completion opens
// comes in front after this.
void SheetPresenter::giveFrontAfterSheet(QWidget* window, WindowFront::Time sheetShownAt)
{
    if (QWidget* broughtMeanwhile = WindowFront::lastBroughtSince(sheetShownAt)) {
        WindowFront::bring(*broughtMeanwhile);
    } else if (window != nullptr && window->isVisible()) {
        WindowFront::bring(*window);
    }
}

void SheetPresenter::beginAlertSheet(QWidget* window, const Alert& alert, AlertCompletion done)
{
    beginSheet(
        window, [alert](QWidget* parent) { return alert.makeMessageBox(parent); },
        [done = std::move(done)](QDialog& sheet, int) {
            if (done) {
                done(Alert::answerOf(static_cast<QMessageBox&>(sheet)));
            }
        });
}

int SheetPresenter::runModalAlert(const Alert& alert)
{
    std::unique_ptr<QMessageBox> box(alert.makeMessageBox(nullptr));
    box->exec();
    return Alert::answerOf(*box);
}

void SheetPresenter::presentError(QWidget* window, const UError& error, AlertCompletion done)
{
    beginAlertSheet(window, Alert::fromError(error), std::move(done));
}

QDialog* SheetPresenter::currentSheet(QWidget* window) const
{
    const auto it = sheets_.find(window);
    return it == sheets_.end() ? nullptr : it->second.current.data();
}

int SheetPresenter::sheetCount(QWidget* window) const
{
    const auto it = sheets_.find(window);
    if (it == sheets_.end()) {
        return 0;
    }
    return int(it->second.waiting.size()) + (it->second.current ? 1 : 0);
}
