#pragma once

#include "WindowTestSupport.h"

#include "cardmodel/data/UFemWindowCardTable.h"
#include "documents/preferences/UFemUserPreferences.h"
#include "graphics/opengl/UGLGraphicProcessorInfoManager.h"
#include "graphicview/UFemGraphicViewController.h"
#include "graphicview/UFemGraphicViewPreferences.h"

#include <QApplication>
#include <QMouseEvent>

#include <gtest/gtest.h>

// The preferences snapshot of a machine with this process's renderers.
inline std::shared_ptr<const UFemUserPreferences> rendererUserPreferences()
{
    return UFemUserPreferences::userPreferencesWithPreferencesDictionary(
        UFemUserPreferences::registeredDefaults(),
        UGLGraphicProcessorInfoManager::sharedGraphicProcessorInfoManager(), nullptr);
}

// `count` nodes on the border of the 2 x 1 plate in the XZ plane centred on the origin.
inline QString plateModelText(int count)
{
    QString text;
    const double perimeter = 6.0;
    for (int i = 0; i < count; ++i) {
        double along = perimeter * i / count;
        double x;
        double z;
        if (along < 2) {
            x = along - 1;
            z = -0.5;
        } else if (along < 3) {
            x = 1;
            z = along - 2.5;
        } else if (along < 5) {
            x = 4 - along;
            z = 0.5;
        } else {
            x = -1;
            z = 5.5 - along;
        }
        text += QStringLiteral("Node , N%1 ,  , %2 , 0 , %3 ,\n")
                    .arg(i)
                    .arg(x, 0, 'g', 17)
                    .arg(z, 0, 'g', 17);
    }
    return text;
}

// A `side` x `side` square of Quads "Qi_k" in the XZ plane, each from (i, k) to (i + 1, k + 1),
// over nodes "Ni_k" at the whole coordinates.
inline QString quadGridModelText(int side)
{
    QString text = QStringLiteral("Material , Steel , 210000 , 0.3 ,\n"
                                  "ShellProp , P , Steel , 0.05 ,\n");
    const auto node = [](int i, int k) { return QStringLiteral("N%1_%2").arg(i).arg(k); };
    for (int i = 0; i <= side; ++i)
        for (int k = 0; k <= side; ++k)
            text += QStringLiteral("Node , %1 ,  , %2 , 0 , %3 ,\n").arg(node(i, k)).arg(i).arg(k);
    for (int i = 0; i < side; ++i)
        for (int k = 0; k < side; ++k)
            text += QStringLiteral("Quad , Q%1_%2 , P , %3 , %4 , %5 , %6 ,\n")
                        .arg(i)
                        .arg(k)
                        .arg(node(i, k), node(i + 1, k), node(i + 1, k + 1), node(i, k + 1));
    return text;
}

// A document window (with renderers unless told otherwise) switched to its 3-D view.
class GraphicViewFixture : public ::testing::Test {
protected:
    explicit GraphicViewFixture(const QString& modelText = plateModelText(4),
        bool hasRenderer = true, QSize viewSize = QSize(400, 300))
        : harness(
            UFemDocumentTypeModel, modelText, &UFemGraphicViewController::makeMainViewController)
    {
        if (hasRenderer)
            harness.document->userPreferences = rendererUserPreferences();
        harness.window->setViewType(UFemViewTypeGraphic);
        controller = dynamic_cast<UFemGraphicViewController*>(harness.window->mainViewController());
        view = controller->graphicView();
        if (viewSize.isValid())
            showWithViewSize(viewSize);
    }

    // Shows the window, sizes the 3-D view itself to `size` and draws a frame.
    void showWithViewSize(QSize size)
    {
        view->setMinimumSize(size);
        view->setMaximumSize(size);
        harness.window->window()->resize(900, 700);
        harness.window->window()->show();
        QApplication::processEvents();
        view->grab();
        harness.finishEventTurn();
    }

    void applyPreset(int folderIndex)
    {
        QVariantMap preferences = UFemGraphicViewPreferences::baseGraphicViewPreferences();
        preferences.insert(
            UFemGraphicViewPreferences::defaultGraphicViewPreferencesOfFolderIndex(folderIndex));
        UErrorPtr error;
        ASSERT_TRUE(controller->setViewPreferences(preferences, &error));
    }

    UFemCardPtr cardNamed(const QString& name)
    {
        UFemWindowCardTable& cards = harness.window->windowCardTable();
        for (quint64 row = 0; row < cards.count(); ++row)
            if (!cards.cardAtIndex(row)->isNullCard()
                && cards.cardAtIndex(row)->cardNameString() == name)
                return cards.cardAtIndex(row);
        return nullptr;
    }

    // The window's selected cards by name, sorted.
    QStringList selectedNames() const
    {
        QStringList names;
        for (const UFemCardPtr& card : harness.window->selectedCardArray())
            names.append(card->cardNameString().value_or(QString()));
        names.sort();
        return names;
    }

    WindowHarness harness;
    UFemGraphicViewController* controller = nullptr;
    UFemGraphicView* view = nullptr;
};
