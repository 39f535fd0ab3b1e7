#include "CardModelExpectations.h"
#include "DataControllerStandIns.h"
#include "DataControllerTestPeer.h"
#include "FakeCardClasses.h"

#include "cardmodel/card/ErrorCard.h"
#include "cardmodel/card/UFemCardString.h"
#include "cardmodel/data/UFemDataControllerNotifications.h"
#include "foundation/UFemNotFound.h"
#include "foundation/errors/UFemErrorsEditCard.h"
#include "platform/UUndoManager.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

using namespace fakecards;

namespace {

// Every kind of line the fake classes read, written as the model text writes them.
const QString canonicalModelText
    = QStringLiteral("\\ a small frame\n"
                     "Material , Steel , 210000 , 0.3 ,\n"
                     "ShellProp , P1 , Steel , 0.25 ,    \\ plates\n"
                     "SolidProp , SP1 , Steel ,\n"
                     "Node , N1 ,  , 0 , 0 , 0 ,\n"
                     "Node , N2 ,  , 1.5 , 0 , 0 ,\n"
                     "Node , N3 ,  , 1.5 , 2.25 , -0.125 ,\n"
                     "Node , N4 ,  , 0 , 2.25 , 1e-05 ,\n"
                     "\n"
                     "Quad , Q1 , P1 , N1 , N2 , N3 , N4 ,\n"
                     "Hexa , H1 , SP1 , N1 , N2 , N3 , N4 , N1 , N2 , N3 , N4 ,\n"
                     "FixNode , F1 , N1 , YES , YES , YES , NO , NO , NO ,\n"
                     "RestraintSet , RS1 , F1 ,\n"
                     "Force , L1 , N3 , 0 , -10 , 0 , 0 , 0 , 0 , NO ,\n"
                     "ForceSet , FS1 , L1 ,  ,\n"
                     "Case , Dead , RS1 , FS1 , 1 , self weight ,\n"
                     "\\ end\n");

class ModelReadFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        installFakeCardClassesIntoSharedRegistry();
        controller.setNotificationCenter(&center);
        controller.setUndoManager(&undoManager);
        undoManager.setGroupsByEvent(false);
    }
    QStringList labels()
    {
        QStringList list;
        for (const UFemCardPtr& card : controller.cardArray()) {
            list.append(card->isNullCard() ? QStringLiteral("-")
                    : card->isErrorCard()  ? QStringLiteral("!")
                                           : card->cardLabelString());
        }
        return list;
    }
    // Reads `text` with error cards and gives the error of the card at `row`.
    UErrorPtr errorOfLine(const QString& text, quint64 row)
    {
        EXPECT_TRUE(controller.resetWithModelText(text, true, nullptr));
        const auto* errorCard
            = dynamic_cast<const ErrorCard*>(controller.cardAtCardRowIndex(row).get());
        EXPECT_NE(errorCard, nullptr);
        return errorCard ? errorCard->cardTextColumns()->cardErrorObject() : nullptr;
    }

    QString linesWithoutErrorDescriptions()
    {
        QString text;
        for (const UFemCardPtr& card : controller.cardArray())
            text
                += UFemComposeCardString(*card, UFemColumnSeparatingCharacterTypeComma, false, true)
                + QChar(u'\n');
        return text;
    }

    UNotificationCenter center;
    UUndoManager undoManager;
    RecordingServices recording;
    UFemDataController controller { recording.services() };
};

qint64 codeOf(const UErrorPtr& error)
{
    return error ? error->code() : 0;
}

} // namespace

TEST_F(ModelReadFixture, LineEndsMakeOneCardPerLine)
{
    struct Case {
        QString text;
        QStringList labels;
    };
    const std::vector<Case> cases {
        { QString(), {} },
        { QStringLiteral("Node , N1 ,  , 1 , 2 , 3 ,"), { "Node" } },
        { QStringLiteral("Node , N1 ,  , 1 , 2 , 3 ,\n"), { "Node" } },
        { QStringLiteral("Node , N1 ,  , 1 , 2 , 3 ,\n\n"), { "Node", "-" } },
        { QStringLiteral("Node , N1 ,  , 1 , 2 , 3 ,\r\nNode , N2 ,  , 1 , 2 , 3 ,\r\n"),
            { "Node", "Node" } },
        { QStringLiteral("\n"), { "-" } },
        { QStringLiteral("\r"), { "-" } },
        { QStringLiteral(" , ,  ,\n\\ only a note\nNode , N1 \\ short"), { "-", "-", "Node" } },
    };
    for (const Case& c : cases) {
        UErrorPtr error;
        EXPECT_TRUE(controller.resetWithModelText(c.text, false, &error)) << c.text.toStdString();
        EXPECT_EQ(labels(), c.labels) << c.text.toStdString();
    }
    // Identifier numbers follow the rows from 0; no undo step and no last edited row remain.
    for (quint64 row = 0; row < controller.cardCount(); ++row)
        EXPECT_EQ(controller.cardWithCardIdentifierNumber(row), controller.cardAtCardRowIndex(row));
    EXPECT_EQ(controller.nextCardIdentifierNumber(), 3u);
    EXPECT_EQ(controller.cardAtCardRowIndex(1)->commentString(), QStringLiteral("only a note"));
    EXPECT_EQ(controller.cardAtCardRowIndex(2)->commentString(), QStringLiteral("short"));
    EXPECT_EQ(controller.lastEditedCardRowIndex(), UFemNotFound);
    EXPECT_FALSE(undoManager.canUndo());
}

TEST_F(ModelReadFixture, AByteOrderMarkAtTheStartIsDropped)
{
    const QString bom(QChar(0xFEFF));
    UErrorPtr error;
    ASSERT_TRUE(controller.resetWithModelText(canonicalModelText, false, &error));
    const QStringList plainLabels = labels();
    const QString plainText = linesWithoutErrorDescriptions();
    ASSERT_TRUE(controller.resetWithModelText(bom + canonicalModelText, false, &error));
    EXPECT_EQ(labels(), plainLabels);
    EXPECT_EQ(linesWithoutErrorDescriptions(), plainText);
    EXPECT_EQ(controller.cardAtCardRowIndex(0)->commentString(), QStringLiteral("a small frame"));

    ASSERT_TRUE(controller.resetWithModelText(bom, false, &error));
    EXPECT_EQ(controller.cardCount(), 0u);

    // Anywhere else it is a character no reader takes: its line is an error card.
    const QString laterMark = QStringLiteral("Node , N1 ,  , 1 , 2 , 3 ,\n") + bom
        + QStringLiteral("Node , N2 ,  , 1 , 2 , 3 ,\n");
    for (const QString& text : { laterMark, bom + bom }) {
        ASSERT_TRUE(controller.resetWithModelText(text, true, &error));
        EXPECT_TRUE(controller.cardAtCardRowIndex(controller.cardCount() - 1)->isErrorCard());
    }
}

TEST_F(ModelReadFixture, ColumnsBeyondTheClassAndMissingOnes)
{
    // Empty columns past the class's six are allowed; a line may stop early.
    EXPECT_TRUE(controller.resetWithModelText(
        QStringLiteral("Node , N1 ,  , 1 , 2 , 3 , ,  ,\nNode , N2\n"), false, nullptr));
    EXPECT_EQ(labels(), (QStringList { "Node", "Node" }));
    EXPECT_EQ(UFemCardString(*controller.cardAtCardRowIndex(1)),
        QStringLiteral("Node , N2 ,  ,  ,  ,  ,"));

    UErrorPtr error;
    EXPECT_FALSE(controller.resetWithModelText(
        QStringLiteral("Node , N1 ,  , 1 , 2 , 3 , 4 , , 5 ,"), false, &error));
    EXPECT_EQ(codeOf(error),
        codeOf(UFemTooMuchColumnsError_withCardClassNameString(QStringLiteral("Node"), 6, 9)));
    EXPECT_EQ(error->localizedDescription(),
        UFemTooMuchColumnsError_withCardClassNameString(QStringLiteral("Node"), 6, 9)
            ->localizedDescription());
    EXPECT_EQ(controller.cardCount(), 0u);

    // n + 2 non-empty columns name n + 2.
    const UErrorPtr tooMany = errorOfLine(QStringLiteral("Node , N1 ,  , 1 , 2 , 3 , 4 , 5"), 0);
    EXPECT_EQ(tooMany->localizedDescription(),
        UFemTooMuchColumnsError_withCardClassNameString(QStringLiteral("Node"), 6, 8)
            ->localizedDescription());
    // A bad value names its column, counted from 1.
    const UErrorPtr badValue = errorOfLine(QStringLiteral("Node , N1 ,  , 1 , x , 3 ,"), 0);
    EXPECT_TRUE(badValue->localizedDescription().contains(QStringLiteral("Column 5"))
        || badValue->localizedRecoverySuggestion().contains(QStringLiteral("Column 5"))
        || badValue->localizedFailureReason().contains(QStringLiteral("Column 5")));
}

TEST_F(ModelReadFixture, UnknownLabelsBecomeErrorCardsKeepingTheLine)
{
    const QString text = QStringLiteral(
        "Nod , N1 , 1\n#define , X , 2\n , , Node , N1\nNode , N1 ,  , 1 , 2 , 3 ,\n");
    ASSERT_TRUE(controller.resetWithModelText(text, true, nullptr));
    EXPECT_EQ(labels(), (QStringList { "!", "!", "!", "Node" }));
    EXPECT_EQ(codeOf(errorOfLine(text, 0)),
        codeOf(UFemUnknownCardClassError_withCardClassNameString(QStringLiteral("Nod"))));
    EXPECT_EQ(codeOf(errorOfLine(text, 2)), codeOf(UFemEmptyCardClassNameError()));
    const auto& errorCard = dynamic_cast<const ErrorCard&>(*controller.cardAtCardRowIndex(0));
    EXPECT_EQ(errorCard.errorCardString_NoCardErrorDescription(), QStringLiteral("Nod , N1 , 1 ,"));
    // The error lines' names are not bound; the good card still owns N1.
    ASSERT_EQ(controller.cardArrayWithCardNameString(QStringLiteral("N1"), nullptr).size(), 1u);
    EXPECT_EQ(controller.cardArrayWithCardNameString(QStringLiteral("N1"), nullptr)[0],
        controller.cardAtCardRowIndex(3).get());

    // Without error cards the unknown label is the class manager's error, without column
    // information.
    UErrorPtr error;
    EXPECT_FALSE(controller.resetWithModelText(text, false, &error));
    EXPECT_EQ(error->localizedDescription(),
        UFemUnknownCardClassError_withCardClassNameString(QStringLiteral("Nod"))
            ->localizedDescription());
    EXPECT_FALSE(controller.resetWithModelText(QStringLiteral("#define , X , 2"), false, &error));
    EXPECT_NE(error, nullptr);

    // A '#' record made into a card is looked up like any label, not a program stop.
    UFemCardTextColumns record;
    ASSERT_TRUE(record.setCardString(QStringLiteral("#define , X"), nullptr));
    EXPECT_EQ(
        UFemDataControllerTestPeer::makeCardWithCardTextColumns(controller, record, false, &error),
        nullptr);
    EXPECT_NE(error, nullptr);
    const UFemCardPtr kept = UFemDataControllerTestPeer::makeCardWithCardTextColumns(
        controller, record, true, nullptr);
    ASSERT_NE(kept, nullptr);
    EXPECT_TRUE(kept->isErrorCard());
}

TEST_F(ModelReadFixture, ResetWithModelTextPostsBothPairsTwice)
{
    ASSERT_TRUE(controller.resetWithModelText(canonicalModelText, false, nullptr));
    NotificationSpy spy(center, &controller);
    ASSERT_TRUE(controller.resetWithModelText(
        QStringLiteral("Node , N1 ,  , 1 , 2 , 3 ,\n"), false, nullptr));
    const QStringList will { UFemResultDataWillChangeNotification,
        UFemModelDataWillChangeNotification, UFemResultDataWillChangeNotification_private,
        UFemModelDataWillChangeNotification_private };
    const QStringList did { UFemModelDataDidChangeNotification_private,
        UFemResultDataDidChangeNotification_private, UFemModelDataDidChangeNotification,
        UFemResultDataDidChangeNotification };
    EXPECT_EQ(spy.take(), will + did + will + did);

    // A failed read posts the same and keeps the lines before the bad one, names bound.
    UErrorPtr error;
    EXPECT_FALSE(controller.resetWithModelText(
        QStringLiteral("Node , A ,  , 1 , 2 , 3 ,\nNod , B\nNode , C\n"), false, &error));
    EXPECT_EQ(spy.take(), will + did + will + did);
    EXPECT_EQ(labels(), QStringList { "Node" });
    EXPECT_TRUE(controller.containsCardNameWithCardNameString(QStringLiteral("A"), nullptr));
    EXPECT_FALSE(controller.containsCardNameWithCardNameString(QStringLiteral("N1"), nullptr));
    EXPECT_FALSE(controller.containsCardNameWithCardNameString(QStringLiteral("C"), nullptr));
    EXPECT_FALSE(undoManager.canUndo());
}

TEST_F(ModelReadFixture, ModelTextReadsAndWritesBackByteIdentical)
{
    ASSERT_TRUE(controller.resetWithModelText(canonicalModelText, false, nullptr));
    EXPECT_EQ(controller.modelTextOfAllCards(), canonicalModelText);
    EXPECT_EQ(controller.modelTextOfAllCards().toUtf8(), canonicalModelText.toUtf8());

    // With an error line in the middle every other line still comes back as it was.
    const QString withError = canonicalModelText
        + QStringLiteral("Beam , B1 , N1 , N2 ,\nNode , N9 ,  , 7 , 8 , 9 ,\n");
    ASSERT_TRUE(controller.resetWithModelText(withError, true, nullptr));
    const QStringList written = controller.modelTextOfAllCards().split(QChar(u'\n'));
    const QStringList read = withError.split(QChar(u'\n'));
    ASSERT_EQ(written.size(), read.size());
    for (qsizetype i = 0; i < read.size(); ++i) {
        if (read[i].startsWith(QStringLiteral("Beam")))
            EXPECT_TRUE(written[i].startsWith(read[i] + QStringLiteral("    \u00A1 Error : ")))
                << written[i].toStdString();
        else
            EXPECT_EQ(written[i], read[i]);
    }
    // The written text, error tail included, reads back to the same text.
    const QString first = controller.modelTextOfAllCards();
    ASSERT_TRUE(controller.resetWithModelText(first, true, nullptr));
    EXPECT_EQ(controller.modelTextOfAllCards(), first);
}

TEST_F(ModelReadFixture, AFailedAddKeepsAnUndoRecordForTheCardsItAdded)
{
    ASSERT_TRUE(controller.resetWithModelText(canonicalModelText, false, nullptr));
    const QString before = controller.modelTextOfAllCards();
    const quint64 rows = controller.cardCount();

    undoManager.beginUndoGrouping();
    UErrorPtr error;
    EXPECT_EQ(
        controller.addCardsWithModelText(
            QStringLiteral("Node , X1 ,  , 1 , 1 , 1 ,\nNode , X2 ,  , 2 , 2 , 2 ,\nNod , X3\n"),
            UFemColumnSeparatingCharacterTypeComma, 4, false, &error),
        0u);
    undoManager.endUndoGrouping();
    EXPECT_NE(error, nullptr);
    EXPECT_EQ(controller.cardCount(), rows + 2);
    EXPECT_EQ(controller.lastEditedCardRowIndex(), 5u);
    EXPECT_EQ(undoManager.undoActionName(), QStringLiteral("Add Some Cards - Aborted by Error"));

    NotificationSpy spy(center, &controller);
    undoManager.undo();
    EXPECT_EQ(controller.modelTextOfAllCards(), before);
    EXPECT_FALSE(controller.containsCardNameWithCardNameString(QStringLiteral("X1"), nullptr));
    EXPECT_EQ(spy.take(),
        (QStringList { UFemModelDataWillChangeNotification,
            UFemModelDataWillChangeNotification_private, UFemModelDataDidChangeNotification_private,
            UFemModelDataDidChangeNotification }));

    // Redo restores the two cards with their identifier numbers.
    const quint64 next = controller.nextCardIdentifierNumber();
    undoManager.redo();
    EXPECT_EQ(controller.cardCount(), rows + 2);
    EXPECT_EQ(controller.cardAtCardRowIndex(4)->cardNameString(), QStringLiteral("X1"));
    EXPECT_EQ(controller.cardAtCardRowIndex(4)->cardIdentifierNumber(), next - 2);
    EXPECT_EQ(controller.cardWithCardIdentifierNumber(next - 1), controller.cardAtCardRowIndex(5));
    EXPECT_EQ(controller.nextCardIdentifierNumber(), next);
}

TEST_F(ModelReadFixture, AnyTextGivesOneCardPerLineAndItsWrittenFormIsStable)
{
    // Pieces of lines, good and bad, joined at random with every kind of line end.
    const QStringList pieces { "Node", "Nod", "Hexa", "Case", "#x", "N1", "N2", " , ", ",", "\t",
        "  ", "\\ c", "1.5", "-2e3", "x@TX", "YES", "\u00A1 tail", "\"q\"", "(a,b)", "\n", "\r",
        "\r\n", "\n\n" };
    quint32 seed = 12345;
    const auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    };
    for (int round = 0; round < 200; ++round) {
        QString text;
        const quint32 length = next() % 40;
        for (quint32 i = 0; i < length; ++i)
            text += pieces[qsizetype(next() % quint32(pieces.size()))];
        UErrorPtr error;
        ASSERT_TRUE(controller.resetWithModelText(text, true, &error)) << text.toStdString();
        qsizetype lines = 0;
        for (qsizetype i = 0; i < text.size(); ++i)
            lines += text[i] == u'\n' || (text[i] == u'\r' && text.mid(i + 1, 1) != u"\n");
        if (!text.isEmpty() && text.back() != u'\n' && text.back() != u'\r')
            ++lines;
        EXPECT_EQ(controller.cardCount(), quint64(lines)) << text.toStdString();

        // What the model writes reads back to the same lines; only the wording of an error may
        // change, as its excerpt then shows the error tail too.
        const QString keptLines = linesWithoutErrorDescriptions();
        ASSERT_TRUE(controller.resetWithModelText(controller.modelTextOfAllCards(), true, &error));
        EXPECT_EQ(linesWithoutErrorDescriptions(), keptLines) << text.toStdString();
    }
}

TEST_F(ModelReadFixture, ReadsTheSameUnderAGermanLocale)
{
    const std::string previous = setlocale(LC_ALL, nullptr);
    if (setlocale(LC_ALL, "de_DE.UTF-8") == nullptr)
        GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    ASSERT_TRUE(controller.resetWithModelText(canonicalModelText, false, nullptr));
    const QString written = controller.modelTextOfAllCards();
    double box[6];
    controller.getObjectSize(box);
    setlocale(LC_ALL, previous.c_str());
    EXPECT_EQ(written, canonicalModelText);
    const double expected[6] = { 0, 1.5, 0, 2.25, -0.125, 1e-05 };
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(box[i], expected[i]) << i;
}

TEST_F(ModelReadFixture, CardsHeldOutsideTheModelAreEmptiedWhenTheModelGoes)
{
    ASSERT_TRUE(controller.resetWithModelText(canonicalModelText, false, nullptr));
    const UFemCardPtr heldNode = controller.cardAtCardRowIndex(4);
    const UFemCardPtr heldQuad = controller.cardAtCardRowIndex(9);
    ASSERT_EQ(heldNode->cardColumnAtIndex(1)->columnString(), QStringLiteral("N1"));
    ASSERT_EQ(heldQuad->cardColumnAtIndex(3)->columnString(), QStringLiteral("N1"));
    const qsizetype nameCount = controller.cardNameTable().allCardNameStringArray().size();

    // Read again, with blanks and TABs around the names: the new cards bind new names only.
    QString padded = canonicalModelText;
    padded.replace(
        QStringLiteral("Quad , Q1 , P1 , N1 ,"), QStringLiteral("Quad ,\tQ1  ,  P1 ,\t N1\t,"));
    ASSERT_TRUE(controller.resetWithModelText(padded, false, nullptr));
    EXPECT_FALSE(heldNode->cardColumnAtIndex(1)->columnString().has_value());
    EXPECT_FALSE(heldQuad->cardColumnAtIndex(3)->columnString().has_value());
    const UFemCardPtr quad = controller.cardAtCardRowIndex(9);
    const UFemCardColumn* corner = quad->cardColumnAtIndex(3);
    ASSERT_TRUE(corner->hasCard());
    EXPECT_EQ(corner->card(), controller.cardAtCardRowIndex(4).get());
    EXPECT_EQ(quad->cardColumnAtIndex(1)->columnString(), QStringLiteral("Q1"));
    EXPECT_EQ(quad->cardColumnAtIndex(2)->card(), controller.cardAtCardRowIndex(2).get());
    EXPECT_EQ(controller.cardNameTable().allCardNameStringArray().size(), nameCount);

    // A card outlives the controller that made it, empty.
    UFemCardPtr outliving;
    {
        UFemDataController other { recording.services() };
        ASSERT_TRUE(other.resetWithModelText(canonicalModelText, false, nullptr));
        outliving = other.cardAtCardRowIndex(10);
        ASSERT_EQ(outliving->cardColumnAtIndex(4)->columnString(), QStringLiteral("N2"));
    }
    EXPECT_FALSE(outliving->cardColumnAtIndex(4)->columnString().has_value());
    EXPECT_EQ(controller.cardAtCardRowIndex(10)->cardColumnAtIndex(4)->columnString(),
        QStringLiteral("N2"));
}
