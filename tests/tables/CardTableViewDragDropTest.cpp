#include "CardTableViewTestSupport.h"

#include "cardmodel/data/UFemDataControllerNotifications.h"
#include "foundation/errors/UFemErrorsEditCard.h"
#include "platform/UUndoManager.h"
#include "tables/UFemCardRowsDragPayload.h"

#include <QMimeData>
#include <QUrl>

namespace {

QString twelveNodes()
{
    QString text;
    for (int i = 0; i < 12; ++i)
        text += QStringLiteral("Node , N%1 ,  , %1 , 0 , 0 ,\n").arg(i);
    return text;
}

constexpr Qt::DropActions anyAction = Qt::MoveAction | Qt::CopyAction;

} // namespace

class CardTableViewDragDrop : public CardTableViewFixture {
protected:
    CardTableViewDragDrop()
        : CardTableViewFixture(twelveNodes())
    {
    }

    QStringList namesAndNumbers() const
    {
        QStringList cards;
        for (quint64 row = 0; row < harness.model().cardCount(); ++row) {
            const UFemCard& card = *harness.model().cardAtRowIndex(row);
            cards.append(QStringLiteral("%1#%2")
                             .arg(card.isNormalCard() ? *card.cardNameString() : "-")
                             .arg(card.cardIdentifierNumber()));
        }
        return cards;
    }
    UUndoManager& undo() const { return harness.document->undoManager(); }
    UNotificationCenter& modelCenter() const
    {
        UNotificationCenter* center = harness.model().notificationCenter();
        return center != nullptr ? *center : UNotificationCenter::defaultCenter();
    }
};

// Rows 5 and 9 dropped above row 9: both leave, and land together at row 8 in their old order.
TEST_F(CardTableViewDragDrop, MoveKeepsOrderAndNumbersAndUndoesInOneStep)
{
    const QStringList before = namesAndNumbers();
    const std::unique_ptr<QMimeData> data = controller->mimeDataForRows({ 5, 9 });
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->text(), "Node , N5 ,  , 5 , 0 , 0 ,\nNode , N9 ,  , 9 , 0 , 0 ,\n");
    ASSERT_EQ(controller->validateDrop(*data, 9, false, anyAction), Qt::MoveAction);
    int changes = 0;
    const UNotificationObservation counting
        = modelCenter().observe(UFemModelDataDidChangeNotification, &harness.model(),
            [&](const UNotification&) { ++changes; });
    ASSERT_TRUE(controller->acceptDrop(*data, 9, false, Qt::MoveAction));
    harness.finishEventTurn();

    QStringList expected = before;
    expected.move(5, 8);
    EXPECT_EQ(namesAndNumbers(), expected);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(selectedCardNames(), (QStringList { "N5", "N9" }));
    EXPECT_EQ(selectedRows(), (QList<int> { 8, 9 }));
    EXPECT_EQ(undo().undoActionName(), "Move 2 Cards ( Drag and Drop )");
    undo().undo();
    EXPECT_EQ(namesAndNumbers(), before);
}

TEST_F(CardTableViewDragDrop, DropsOnARowPastTheEndOrWhileLockedAreRefused)
{
    const std::unique_ptr<QMimeData> data = controller->mimeDataForRows({ 1 });
    EXPECT_EQ(controller->validateDrop(*data, 3, true, anyAction), Qt::IgnoreAction);
    EXPECT_EQ(controller->validateDrop(*data, 13, false, anyAction), Qt::IgnoreAction);
    EXPECT_EQ(controller->validateDrop(*data, 12, false, Qt::CopyAction), Qt::CopyAction);
    EXPECT_FALSE(controller->acceptDrop(*data, 3, true, Qt::MoveAction));
    EXPECT_EQ(controller->mimeDataForRows({ 12 }), nullptr);

    // Locked while the drag ran: the drop asks again.
    harness.model().setLockedOutside(true);
    EXPECT_EQ(controller->validateDrop(*data, 0, false, anyAction), Qt::IgnoreAction);
    EXPECT_FALSE(controller->acceptDrop(*data, 0, false, Qt::MoveAction));
    EXPECT_EQ(harness.sheets.alerts.size(), 1u);
    EXPECT_EQ(harness.model().cardCount(), 12u);
}

// Rows of another program or a damaged payload never reach the model: the text is copied.
TEST_F(CardTableViewDragDrop, ForeignAndStalePayloadsNeverMoveCards)
{
    const QStringList before = namesAndNumbers();
    QMimeData foreign;
    UFemCardRowsDragPayload payload { QCoreApplication::applicationPid() + 1,
        quint64(quintptr(&harness.model())), { 0, 1 } };
    foreign.setData(UFemCardRowsDragPayload::mimeType, payload.encoded());
    foreign.setText(QStringLiteral("Node , N20 ,  , 1 , 2 , 3 ,\nBogus line\n"));
    EXPECT_EQ(controller->validateDrop(foreign, 0, false, anyAction), Qt::CopyAction);
    ASSERT_TRUE(controller->acceptDrop(foreign, 0, false, Qt::CopyAction));
    harness.finishEventTurn();
    EXPECT_EQ(harness.model().cardCount(), 14u);
    EXPECT_EQ(harness.model().cardAtRowIndex(0)->cardNameString(), "N20");
    EXPECT_TRUE(harness.model().cardAtRowIndex(1)->isErrorCard());
    EXPECT_EQ(namesAndNumbers().mid(2), before);
    EXPECT_EQ(undo().undoActionName(), "Add 2 Cards ( Drag and Drop )");
    undo().undo();

    for (const QByteArray& bad :
        { QByteArray("vantrel-card-rows 1\n1\n2\n3 x"), QByteArray("\xff\n\n"), QByteArray() }) {
        QMimeData damaged;
        damaged.setData(UFemCardRowsDragPayload::mimeType, bad);
        EXPECT_EQ(controller->validateDrop(damaged, 0, false, anyAction), Qt::IgnoreAction);
    }

    payload.processIdentifier = QCoreApplication::applicationPid();
    payload.cardRowIndexes = { 3, 12 };
    QMimeData stale;
    stale.setData(UFemCardRowsDragPayload::mimeType, payload.encoded());
    stale.setText(QStringLiteral("Node , N3 ,  , 3 , 0 , 0 ,\n"));
    EXPECT_FALSE(controller->acceptDrop(stale, 0, false, Qt::MoveAction));
    EXPECT_EQ(namesAndNumbers(), before);
    EXPECT_EQ(harness.beepCount(), 1);
}

// Files dropped from a file manager carry their addresses, which Qt also offers as plain text.
TEST_F(CardTableViewDragDrop, FileUrlDropIsRefusedWithABeep)
{
    const QStringList before = namesAndNumbers();
    const QString undoName = undo().undoActionName();
    QMimeData files;
    files.setUrls({ QUrl::fromLocalFile(QStringLiteral("/tmp/a.vtmodel")),
        QUrl(QStringLiteral("https://example.org/b.vtmodel")) });
    ASSERT_TRUE(files.hasText());
    QMimeData addressAndText;
    addressAndText.setUrls({ QUrl::fromLocalFile(QStringLiteral("/tmp/a.vtmodel")) });
    addressAndText.setText(QStringLiteral("file:///tmp/a.vtmodel"));
    for (const QMimeData* data : { &files, &addressAndText }) {
        EXPECT_EQ(controller->validateDrop(*data, 0, false, anyAction), Qt::IgnoreAction);
        EXPECT_FALSE(controller->acceptDrop(*data, 0, false, Qt::CopyAction));
    }
    EXPECT_EQ(namesAndNumbers(), before);
    EXPECT_EQ(harness.beepCount(), 2);
    EXPECT_TRUE(harness.sheets.alerts.empty());
    EXPECT_EQ(undo().undoActionName(), undoName);
}

// The insert of a move fails (the model locks while it runs): the cards go back where they were.
// The moved cards need no new numbers, so a next number near its limit does not stop a move; a
// copy, which does need them, fails at the limit.
TEST_F(CardTableViewDragDrop, AFailedMoveIsRolledBackAndACopyStopsAtTheNumberLimit)
{
    const QStringList before = namesAndNumbers();
    harness.model().setNextCardIdentifierNumber(UFemCardIdentifierNumberLimit - 1);
    const std::unique_ptr<QMimeData> data = controller->mimeDataForRows({ 2, 3, 7 });
    int willChanges = 0;
    const UNotificationObservation locking = modelCenter().observe(
        UFemModelDataWillChangeNotification, &harness.model(), [&](const UNotification&) {
            if (++willChanges == 2)
                harness.model().setLockedOutside(true);
        });
    const UNotificationObservation unlocking
        = modelCenter().observe(UFemModelDataDidChangeNotification, &harness.model(),
            [&](const UNotification&) { harness.model().setLockedOutside(false); });
    EXPECT_FALSE(controller->acceptDrop(*data, 10, false, Qt::MoveAction));
    harness.finishEventTurn();
    EXPECT_EQ(namesAndNumbers(), before);
    EXPECT_EQ(undo().undoActionName(), "Move Some Cards ( Drag and Drop ) - Aborted by Error");
    ASSERT_EQ(harness.sheets.alerts.size(), 1u);
    EXPECT_EQ(
        harness.sheets.alerts[0].messageText, UFemModelDataLockedError()->localizedDescription());

    willChanges = 10;
    ASSERT_TRUE(controller->acceptDrop(*data, 0, false, Qt::MoveAction));
    EXPECT_EQ(namesAndNumbers().first(), before[2]);
    EXPECT_FALSE(controller->acceptDrop(*data, 0, false, Qt::CopyAction));
    harness.finishEventTurn();
    EXPECT_EQ(harness.model().cardCount(), 12u);
    EXPECT_EQ(undo().undoActionName(), "Add Some Cards ( Drag and Drop ) - Aborted by Error");
    EXPECT_EQ(harness.sheets.alerts.back().messageText,
        UFemModelDataCardIdentifierDidReachLimitError()->localizedDescription());
}
