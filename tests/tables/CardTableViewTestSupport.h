#pragma once

#include "../documents/WindowTestSupport.h"

#include "tables/UFemCardTableModel.h"
#include "tables/UFemCardTableView.h"
#include "tables/UFemTableViewController.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include <gtest/gtest.h>

// Key and mouse input as the platform delivers it (the suite has no QtTest).
inline void sendKey(QWidget* widget, int key, Qt::KeyboardModifiers modifiers = {})
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers);
    QApplication::sendEvent(widget, &release);
}

inline void clickAt(QWidget* widget, QPoint point, Qt::KeyboardModifiers modifiers = {})
{
    const QPointF local(point);
    const QPointF global(widget->mapToGlobal(point));
    QMouseEvent press(
        QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton, modifiers);
    QApplication::sendEvent(widget, &press);
    QMouseEvent release(
        QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton, modifiers);
    QApplication::sendEvent(widget, &release);
}

// Nodes and a rod with a commented line, a comment-only line and a line that does not read.
inline const QString CardTableModelText
    = QStringLiteral("Material , Steel , 210000 , 0.3 ,\n"
                     "RodProp , RP , Steel , 0.5 ,\n"
                     "Node , N1 ,  , 0 , 0 , 0 , \\ left end\n"
                     "Node , N2 ,  , 1.5 , 0 , 0 ,\n"
                     "\\ members\n"
                     "Rod , R1 , RP , N1 , N2 ,\n"
                     "Bogus , X1 , 1 ,\n"
                     "Case , Dead , LINEAR_STATIC , RS1 , FS1 ,\n");

// A document window whose card view is the card table.
class CardTableViewFixture : public ::testing::Test {
protected:
    explicit CardTableViewFixture(const QString& modelText = CardTableModelText)
        : harness(
            UFemDocumentTypeModel, modelText, &UFemTableViewController::makeMainViewController)
    {
        controller = dynamic_cast<UFemTableViewController*>(harness.window->mainViewController());
        table = controller->cardTableView();
        model = controller->cardTableModel();
        harness.window->window()->resize(900, 600);
        harness.window->window()->show();
        harness.finishEventTurn();
    }

    QString cell(int row, int column) const
    {
        return model->data(model->index(row, column)).toString();
    }
    QList<int> selectedRows() const { return table->selectedRowList(); }
    QStringList selectedCardNames() const
    {
        QStringList names;
        for (const UFemCardPtr& card : harness.window->selectedCardArray())
            names.append(
                card->isNormalCard() ? card->cardNameString().value_or(QString()) : QString());
        return names;
    }
    void selectCards(const QStringList& names)
    {
        UFemCardVector cards;
        for (const UFemCardPtr& card : harness.model().cardArray().toVector())
            if (card->isNormalCard() && names.contains(card->cardNameString().value_or(QString())))
                cards.push_back(card);
        harness.window->setSelectedCardArray(cards);
    }

    WindowHarness harness;
    UFemTableViewController* controller = nullptr;
    UFemCardTableView* table = nullptr;
    UFemCardTableModel* model = nullptr;
};
