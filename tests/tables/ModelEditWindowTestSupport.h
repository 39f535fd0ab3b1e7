#pragma once

#include "../documents/WindowTestSupport.h"

#include "cardmodel/card/UFemCard.h"
#include "cardmodel/card/UFemCardClass.h"
#include "cardmodel/card/UFemCardString.h"
#include "tables/UFemTableViewController.h"
#include "tables/modeledit/ModelEditWindowCardViewController.h"
#include "tables/modeledit/ModelEditWindowController.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QLineEdit>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

// Two document windows (one more on the first document on demand) and the model edit window
// following them.
struct ModelEditWindowHarness {
    explicit ModelEditWindowHarness(const QString& firstModelText = WindowModelText,
        const QString& secondModelText = QStringLiteral("Node , M1 ,  , 9 , 9 , 9 ,\n"))
        : first(
            UFemDocumentTypeModel, firstModelText, &UFemTableViewController::makeMainViewController)
    {
        auto made = std::make_unique<WindowTestDocument>();
        secondDocument = made.get();
        first.controller.addDocument(std::move(made));
        secondDocument->readModel(secondModelText);
        secondWindow = addWindow(*secondDocument);
        activate(first.window);
        edit = std::make_unique<ModelEditWindowController>(first.tracker, first.sheets);
    }
    ~ModelEditWindowHarness()
    {
        edit.reset();
        for (UFemWindowController* window : extraWindows)
            window->finish();
    }

    UFemWindowController* addWindow(WindowTestDocument& document)
    {
        auto* window = static_cast<UFemWindowController*>(
            document.addWindowController(std::make_unique<UFemWindowController>(
                first.tracker, &UFemTableViewController::makeMainViewController)));
        window->windowDidLoad();
        extraWindows.push_back(window);
        return window;
    }
    // The second document goes, as when its last window closed.
    void closeSecondDocument()
    {
        first.tracker.windowDidHide(secondWindow);
        std::erase(extraWindows, secondWindow);
        secondWindow->finish();
        first.controller.removeDocument(secondDocument);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        secondDocument = nullptr;
        secondWindow = nullptr;
    }
    void activate(UFemWindowController* window)
    {
        first.tracker.windowDidShow(window);
        first.tracker.windowDidActivate(window);
    }
    template <typename Widget = QLineEdit> Widget* child(const char* name) const
    {
        Widget* widget = edit->window()->findChild<Widget*>(QString::fromLatin1(name));
        if (widget == nullptr)
            throw std::runtime_error(std::string("no widget ") + name);
        return widget;
    }
    ModelEditWindowCardViewController& cardView() const { return edit->cardViewController(); }
    UFemDataController& model() const { return first.model(); }
    // The model's cards as lines, comments left out.
    QStringList lines() const
    {
        QStringList lines;
        for (const UFemCardPtr& card : model().cardArray().toVector())
            lines << UFemCardStringWithoutComment(*card);
        return lines;
    }
    void load(qint64 action, const QString& name)
    {
        edit->setActionView(action);
        child("targetCardNameFieldOutlet")->setText(name);
        edit->loadTargetCard();
    }
    QString lastAlert() const
    {
        return first.sheets.alerts.empty() ? QString() : first.sheets.alerts.back().messageText;
    }

    WindowHarness first;
    WindowTestDocument* secondDocument = nullptr;
    UFemWindowController* secondWindow = nullptr;
    std::vector<UFemWindowController*> extraWindows;
    std::unique_ptr<ModelEditWindowController> edit;
};
