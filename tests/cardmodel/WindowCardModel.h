#pragma once

// A small model on a real data controller for the window card table and card set tests, with the
// model edits they need and a recorder of every notification on the centre.

#include "DataControllerStandIns.h"
#include "FakeCardClasses.h"

#include "cardmodel/data/UFemDataController.h"
#include "foundation/UFemNotFound.h"
#include "platform/UNotificationCenter.h"
#include "platform/UUndoManager.h"

#include <QHash>
#include <QStringList>

#include <gtest/gtest.h>

namespace fakecards {

// Records "tag:name" for every notification whose sender has a tag.
class TaggedNotificationRecorder {
public:
    explicit TaggedNotificationRecorder(UNotificationCenter& center)
        : observation_(center.observe(QString(), nullptr, [this](const UNotification& n) {
            if (tags_.contains(n.sender))
                names.append(tags_.value(n.sender) + u':' + shortName(n.name));
        }))
    {
    }
    void tag(const void* sender, const QString& tag) { tags_.insert(sender, tag); }
    // Before posts from other threads: the recording itself is not thread-safe.
    void untag(const void* sender) { tags_.remove(sender); }
    QStringList take()
    {
        QStringList taken = names;
        names.clear();
        return taken;
    }
    QStringList names;

private:
    // "UFemCardSetWillChangeNotification_private" reads "Will_private".
    static QString shortName(const QString& name)
    {
        QString s = name;
        for (const char* kind : { "Will", "Did" }) {
            const qsizetype at = s.indexOf(QString::fromUtf8(kind) + QStringLiteral("Change"));
            if (at >= 0)
                return QString::fromUtf8(kind)
                    + s.mid(at).section(QStringLiteral("Notification"), 1);
        }
        return s;
    }

    QHash<const void*, QString> tags_;
    UNotificationObservation observation_;
};

// `count` Node lines named prefix1, prefix2 ...
inline QString nodeLines(int count, const QString& prefix)
{
    QString text;
    for (int i = 1; i <= count; ++i)
        text += QStringLiteral("Node , %1%2 ,  , %2 , 0 , 0 ,\n").arg(prefix).arg(i);
    return text;
}

// `count` Node cards N1.. followed by two Rods and a Case.
inline QString nodeModelText(int count)
{
    QString text = nodeLines(count, QStringLiteral("N"));
    text += QStringLiteral("RodProp , RP , M ,\nMaterial , M , 1 , 0.3 ,\n");
    text += QStringLiteral("Rod , R1 , RP , N1 , N2 ,\nRod , R2 , RP , N2 , N3 ,\n");
    text += QStringLiteral("Case , C1 , RS , FS , 1 , N1 ,\n");
    return text;
}

class WindowCardModelFixture : public ::testing::Test {
protected:
    // The centre is set before the tables of derived fixtures observe the controller.
    WindowCardModelFixture()
    {
        controller.setNotificationCenter(&center);
        controller.setUndoManager(&undoManager);
        undoManager.setGroupsByEvent(false);
    }
    void SetUp() override
    {
        installFakeCardClassesIntoSharedRegistry();
        recorder.tag(&controller, QStringLiteral("model"));
        ASSERT_TRUE(controller.resetWithModelText(nodeModelText(6), true, nullptr));
        recorder.take();
    }
    // The model's edits as the editing operations make them: one notification bracket each.
    // Each edit is one undo step.
    void appendCards(const QString& modelText)
    {
        UErrorPtr error;
        undoManager.beginUndoGrouping();
        const quint64 added = controller.addCardsWithModelText(
            modelText, UFemColumnSeparatingCharacterTypeComma, UFemNotFound, true, &error);
        undoManager.endUndoGrouping();
        ASSERT_GT(added, 0u);
    }
    void removeRows(const UFemRowIndexSet& rows)
    {
        undoManager.beginUndoGrouping();
        UErrorPtr error;
        const bool isRemoved = controller.removeCardsAtIndexSet(rows, &error);
        undoManager.endUndoGrouping();
        ASSERT_TRUE(isRemoved);
    }
    QStringList namesOf(const UFemCardArray& cards)
    {
        QStringList names;
        for (const UFemCardPtr& card : cards)
            names.append(card->cardNameString().value_or(QStringLiteral("-")));
        return names;
    }
    template <typename Cards> QStringList namesOfCards(const Cards& cards)
    {
        QStringList names;
        for (const UFemCardPtr& card : cards)
            names.append(card->cardNameString().value_or(QStringLiteral("-")));
        return names;
    }
    UFemCardPtr cardNamed(const QString& name)
    {
        for (const UFemCardPtr& card : controller.cardArray()) {
            if (card->cardNameString() == name)
                return card;
        }
        return nullptr;
    }

    UNotificationCenter center;
    TaggedNotificationRecorder recorder { center };
    UUndoManager undoManager;
    UFemDataController controller;
};

} // namespace fakecards
