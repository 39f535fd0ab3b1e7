#include "documents/UFemPlaceholderWindowController.h"

#include "cardmodel/UFemDataController.h"
#include "documents/UFemDocument.h"
#include "documents/UFemMainMenu.h"

#include <QFontDatabase>
#include <QMainWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStatusBar>

namespace {

constexpr int WindowWidth = 800;
constexpr int WindowHeight = 560;

QString kindText(UFemDocumentType type)
{
    switch (type) {
    case UFemDocumentTypeProject:
        return QObject::tr("Project");
    case UFemDocumentTypeModel:
        return QObject::tr("Model");
    case UFemDocumentTypeResult:
        return QObject::tr("Result");
    default:
        return QString();
    }
}

std::unique_ptr<QWidget> makeWindow(UFemDocument& document, UFemMainMenu* mainMenu)
{
    auto window = std::make_unique<QMainWindow>();
    window->resize(WindowWidth, WindowHeight);
    if (mainMenu != nullptr)
        mainMenu->fillMenuBar(window->menuBar());
    UFemDataController& model = document.dataController();
    auto* text
        = new QPlainTextEdit(document.hasModelData() ? model.modelTextOfAllCards() : QString());
    text->setReadOnly(true);
    text->setLineWrapMode(QPlainTextEdit::NoWrap);
    text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    window->setCentralWidget(text);
    const QString summary = document.hasModelData()
        ? QObject::tr("%1 - %2 cards").arg(kindText(document.documentType())).arg(model.cardCount())
        : QObject::tr("%1 - no model data").arg(kindText(document.documentType()));
    window->statusBar()->showMessage(
        document.hasResultData() ? summary + QObject::tr(", results loaded") : summary);
    return window;
}

} // namespace

UFemPlaceholderWindowController::UFemPlaceholderWindowController(
    UFemDocument& document, WindowTracker& tracker, UFemMainMenu* mainMenu)
    : WindowController(makeWindow(document, mainMenu), tracker)
{
}
