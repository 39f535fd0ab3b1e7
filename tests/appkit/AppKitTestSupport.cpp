#include "AppKitTestSupport.h"

#include "foundation/errors/UFemErrorsFile.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QMainWindow>
#include <QVBoxLayout>

bool DummyDocument::readFromData(const QByteArray& data, const QString&, UErrorPtr* error)
{
    if (data == "unreadable") {
        UFemSetError(error, UFemReadingModelFileToStringError());
        return false;
    }
    text_ = QString::fromUtf8(data);
    return true;
}

std::optional<QByteArray> DummyDocument::dataOfType(const QString&, UErrorPtr* error)
{
    if (failWrites) {
        UFemSetError(error, UFemCreatingFileFailedError_withFilePathString(displayName()));
        return std::nullopt;
    }
    return text_.toUtf8();
}

void DummyDocument::makeWindowControllers()
{
    addWindowController(
        std::make_unique<DummyWindowController>(documentController()->windowTracker()));
}

void DummyDocument::append(const QString& piece)
{
    undoManager().beginUndoGrouping();
    setText(text_ + piece);
    undoManager().setActionName(QStringLiteral("Append"));
    undoManager().endUndoGrouping();
}

void DummyDocument::setText(const QString& text)
{
    const QString old = text_;
    text_ = text;
    undoManager().registerUndo([this, old] { setText(old); });
}

namespace {

std::unique_ptr<QWidget> makeDocumentWindow(QLineEdit*& field, QWidget*& mainView)
{
    auto window = std::make_unique<QMainWindow>();
    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    field = new QLineEdit;
    field->setObjectName(QStringLiteral("field"));
    mainView = new QWidget;
    mainView->setObjectName(QStringLiteral("mainView"));
    mainView->setFocusPolicy(Qt::StrongFocus);
    mainView->setMinimumSize(200, 120);
    layout->addWidget(field);
    layout->addWidget(mainView);
    window->setCentralWidget(central);
    return window;
}

} // namespace

DummyWindowController::DummyWindowController(WindowTracker& tracker)
    : WindowController(makeDocumentWindow(field_, mainView_), tracker)
{
}

AppKitHarness::AppKitHarness()
    : controller(sheets, panels, tracker)
{
    controller.registerDocumentType({ DummyType, { DummyExtension, QStringLiteral("dmy") },
        [] { return std::make_unique<DummyDocument>(); } });
}

AppKitHarness::~AppKitHarness()
{
    for (Document* document : controller.documents()) {
        controller.removeDocument(document);
    }
    finishEventTurn();
}

QString AppKitHarness::path(const QString& name) const
{
    return folder.filePath(name);
}

void AppKitHarness::writeFile(const QString& name, const QByteArray& contents) const
{
    QFile file(path(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(contents);
}

QByteArray AppKitHarness::readFile(const QString& name) const
{
    QFile file(path(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

DummyDocument* AppKitHarness::open(const QString& name)
{
    UErrorPtr error;
    Document* document = controller.openDocument(path(name), true, &error);
    EXPECT_NE(document, nullptr) << (error ? error->localizedDescription().toStdString() : "");
    return static_cast<DummyDocument*>(document);
}

void finishEventTurn()
{
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
