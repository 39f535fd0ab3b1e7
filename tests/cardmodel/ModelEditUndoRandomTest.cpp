// Random edits, undos and redos of one model. After every step the model must equal a model
// rebuilt from its own cards' records, and every undo and redo must give back exactly the text
// and identifier numbers the model had.
#include "DataControllerStandIns.h"
#include "FakeCardClasses.h"

#include "cardmodel/card/UFemCardColumn.h"
#include "cardmodel/card/UFemCardName.h"
#include "cardmodel/text/UFemModelText.h"
#include "foundation/UFemNotFound.h"
#include "platform/UUndoManager.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>
#include <tuple>

using namespace fakecards;

namespace {

constexpr int editsPerSeed = 1000;
constexpr quint64 largeModel = 40;

struct ModelState {
    QString text;
    std::vector<quint64> numbers;
    bool operator==(const ModelState&) const = default;
};

// Per name: flags, type, and the (row, column) of each defining and each referring column.
using NameEntry = std::tuple<bool, bool, bool, qint32, std::set<std::pair<quint64, quint64>>,
    std::set<std::pair<quint64, quint64>>>;

std::set<std::pair<quint64, quint64>> columnPlaces(
    UFemDataController& model, const UFemCardColumnSet* set)
{
    std::set<std::pair<quint64, quint64>> places;
    for (UFemCardColumn* column : set ? set->columns() : std::vector<UFemCardColumn*> {}) {
        const quint64 row = column->ownerCard()->cardRowIndex();
        // Every column a name knows lies on a card of the model.
        EXPECT_NE(row, UFemNotFound);
        if (row != UFemNotFound) {
            EXPECT_EQ(model.cardAtCardRowIndex(row).get(), column->ownerCard());
        }
        places.insert({ row, column->columnIndex() });
    }
    return places;
}

// The names the cards' columns hold; each must be the table's entry for its text.
std::vector<std::shared_ptr<UFemCardName>> namesOfColumns(UFemDataController& model)
{
    std::set<UFemCardName*> seen;
    std::vector<std::shared_ptr<UFemCardName>> names;
    for (const UFemCardPtr& card : model.cardArray()) {
        if (card->isErrorCard() || card->isNullCard())
            continue;
        const quint64 count = card->cardTextColumns()->numberOfColumns();
        for (quint64 column = 1; column < count; ++column) {
            const UFemCardColumn* cardColumn = card->cardColumnAtIndex(column);
            const qint32 type = cardColumn->columnType();
            UFemCardName* name = nullptr;
            if (cardColumn->isEmptyColumn())
                name = nullptr;
            else if (type == CARD_COLUMN_TYPE_CARD_NAME || type == CARD_COLUMN_TYPE_REF_CARD_NAME)
                name = cardColumn->cardName();
            else if (type == UFemDegreeOfFreedomColumnType)
                name = cardColumn->nodeCardName();
            if (name == nullptr || !seen.insert(name).second)
                continue;
            EXPECT_EQ(model.searchCardNameWithCardNameString(name->cardNameString(), nullptr).get(),
                name);
            names.push_back(name->shared_from_this());
        }
    }
    return names;
}

// Every `fullTablePeriod` steps the table itself is walked too: it holds no other names.
constexpr int fullTablePeriod = 8;

std::map<QString, NameEntry> nameTable(UFemDataController& model, bool walksTable)
{
    std::map<QString, NameEntry> table;
    const std::vector<std::shared_ptr<UFemCardName>> names = namesOfColumns(model);
    if (walksTable) {
        EXPECT_EQ(model.cardNameTable().allCardNameArray().size(), names.size());
    }
    for (const std::shared_ptr<UFemCardName>& name : names) {
        std::set<std::pair<quint64, quint64>> defining = columnPlaces(model, name->cardColumnSet());
        if (UFemCardColumn* column = name->cardColumn())
            defining.insert({ column->ownerCard()->cardRowIndex(), column->columnIndex() });
        table[name->cardNameString()]
            = { name->hasCard(), name->hasNameRef(), name->isAllowedHaveSomeCard(),
                  name->cardType(), defining, columnPlaces(model, name->nameRefCardColumnSet()) };
    }
    return table;
}

// The rows of each type's cards, checked against the cards of the rows.
std::vector<std::vector<quint64>> typeRows(UFemDataController& model)
{
    std::vector<std::vector<quint64>> rows(UFemCardTable::cardTypeArrayCount);
    for (qint32 type = 0; type < UFemCardTable::cardTypeArrayCount; ++type) {
        for (const UFemCardPtr& card : model.cardArrayOfCardType(type)) {
            EXPECT_EQ(card->cardType(), type);
            rows[type].push_back(card->cardRowIndex());
        }
    }
    return rows;
}

class RandomEditor {
public:
    explicit RandomEditor(unsigned seed)
        : random_(seed)
    {
        controller.setUndoManager(&undoManager);
        undoManager.setGroupsByEvent(false);
    }

    int pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random_); }
    bool chance(int percent) { return pick(100) < percent; }

    QString randomLine()
    {
        const int a = pick(6), b = pick(6), c = pick(3);
        switch (pick(14)) {
        case 0:
        case 1:
            return QStringLiteral("Node , N%1 ,  , %2 , %3 , 0 ,").arg(a).arg(b).arg(c);
        case 2:
        case 3:
            return QStringLiteral("Rod , R%1 , RP%2 , N%3 , N%4 ,")
                .arg(a)
                .arg(c)
                .arg(b)
                .arg(pick(6));
        case 4:
            return QStringLiteral("RodProp , RP%1 , M%2 , 0.5 ,").arg(c).arg(pick(2));
        case 5:
            return QStringLiteral("Material , M%1 , 210000 , 0.3 ,").arg(pick(2));
        case 6:
            return QStringLiteral("FixNode , F%1 , N%2 , YES , NO , YES , NO , NO , NO ,")
                .arg(c)
                .arg(a);
        case 7:
            return QStringLiteral("RestraintSet , RS%1 , F%2 ,").arg(c).arg(pick(3));
        case 8:
            return QStringLiteral("RestraintEquation , E%1 , 1.5 , N%2@TX , 2 , N%3@RY ,")
                .arg(c)
                .arg(a)
                .arg(b);
        case 9:
            return QStringLiteral("\\ note %1").arg(a);
        case 10:
            return QString();
        case 11:
            return QStringLiteral("Nod , X%1 ,").arg(a);
        case 12:
            return QStringLiteral("Node , N%1 ,  , abc , 0 , 0 ,").arg(a);
        default:
            return QStringLiteral("Rod , R%1 , RP%2 , N%3 , N%3 ,").arg(a).arg(c).arg(b);
        }
    }
    QStringList randomLines(int most)
    {
        QStringList lines;
        for (int k = 1 + pick(most); k > 0; --k)
            lines.append(randomLine());
        return lines;
    }
    UFemCardTextColumnsPtr randomRecord()
    {
        auto record = std::make_shared<UFemCardTextColumns>();
        UErrorPtr ignored;
        if (!record->setCardString(randomLine(), &ignored))
            // An empty card string is always taken.
            static_cast<void>(record->setCardString(QString(), &ignored));
        // Sometimes a number, in use or not: the model must never give it twice.
        if (chance(20))
            record->setCardIdentifierNumber(
                quint64(pick(int(controller.nextCardIdentifierNumber()) + 3)));
        return record;
    }
    quint64 randomRow() { return quint64(pick(int(controller.cardCount()))); }
    quint64 randomInsertRow()
    {
        return chance(20) ? UFemNotFound : quint64(pick(int(controller.cardCount()) + 1));
    }
    UFemRowIndexSet randomRowSet(int most)
    {
        std::set<quint64> rows;
        for (int k = 1 + pick(most); k > 0; --k)
            rows.insert(randomRow());
        return { rows.begin(), rows.end() };
    }
    // Mostly names the lines above use; some never used.
    QString randomName()
    {
        static const QStringList prefixes { "N", "N", "N", "R", "RP", "M", "F", "RS", "E", "Q" };
        return prefixes[pick(int(prefixes.size()))] + QString::number(pick(7));
    }

    // One public edit; errors are expected and ignored.
    void edit()
    {
        const bool empty = controller.cardCount() == 0;
        const bool errorCards = chance(50);
        const auto type = UFemColumnSeparatingCharacterTypeComma;
        UErrorPtr e;
        int kind = pick(controller.cardCount() > largeModel ? 15 : 12);
        if (empty && kind >= 3)
            kind = pick(3);
        // A random edit may be refused; what undo restores is checked either way.
        switch (kind) {
        case 0:

            static_cast<void>(controller.addCardsWithModelText(
                randomLines(4).join(u'\n'), randomInsertRow(), errorCards, &e));
            break;
        case 1:
            static_cast<void>(controller.addCardWithCardTextColumns(
                *randomRecord(), randomInsertRow(), errorCards, &e));
            break;
        case 2: {
            std::vector<UFemCardTextColumnsPtr> records;
            for (int k = 1 + pick(4); k > 0; --k)
                records.push_back(randomRecord());
            static_cast<void>(controller.addCardsWithCardTextColumnsArray(
                records, quint64(pick(int(controller.cardCount()) + 1)), errorCards, &e));
            break;
        }
        case 3:
            static_cast<void>(
                controller.modifyCardAtIndex(randomRow(), randomLine(), type, errorCards, &e));
            break;
        case 4:
            static_cast<void>(
                controller.modifyCardAtIndex(randomRow(), *randomRecord(), errorCards, &e));
            break;
        case 5: {
            const UFemRowIndexSet rows = randomRowSet(4);
            QStringList lines;
            for (std::size_t k = 0; k < rows.size(); ++k)
                lines.append(randomLine());
            static_cast<void>(controller.modifyCardsAtIndexSet(rows, lines, type, errorCards, &e));
            break;
        }
        case 6: {
            std::vector<UFemCardPtr> cards;
            QStringList lines;
            for (int k = 1 + pick(3); k > 0; --k) {
                cards.push_back(controller.cardAtCardRowIndex(randomRow()));
                lines.append(randomLine());
            }
            static_cast<void>(
                controller.modifyCardsInCardArray(cards, lines, type, errorCards, &e));
            break;
        }
        case 7:
            static_cast<void>(
                controller.overwriteCardWithCardTextColumns(*randomRecord(), errorCards, &e));
            break;
        case 8:
            static_cast<void>(
                controller.changeCardNameFromCardNameString(randomName(), randomName(), &e));
            break;
        case 9:
            static_cast<void>(
                controller.mergeCardNameFromCardNameString(randomName(), randomName(), &e));
            break;
        case 10:
            static_cast<void>(controller.mergeCardNameFromCardNameStringArray(
                { randomName(), randomName() }, { randomName(), randomName() }, &e));
            break;
        case 11:
        case 12:
            static_cast<void>(controller.removeCardsAtIndexSet(randomRowSet(6), &e));
            break;
        case 13:
            static_cast<void>(controller.removeCardAtIndex(randomRow(), &e));
            break;
        default: {
            std::vector<UFemCardPtr> cards;
            for (int k = 1 + pick(4); k > 0; --k)
                cards.push_back(controller.cardAtCardRowIndex(randomRow()));
            static_cast<void>(controller.removeCardsWithCardArray(cards, &e));
        }
        }
    }

    ModelState state()
    {
        ModelState s { controller.modelTextOfAllCards(), {} };
        for (const UFemCardPtr& card : controller.cardArray())
            s.numbers.push_back(card->cardIdentifierNumber());
        return s;
    }

    void expectSameAsRebuilt(bool walksTable)
    {
        std::vector<UFemCardTextColumnsPtr> records
            = UFemCardTextColumnsArray(controller.cardArray());
        UErrorPtr error;
        ASSERT_TRUE(rebuilt.resetWithCardTextColumnsArray(records, false, &error))
            << error->localizedDescription().toStdString();
        EXPECT_EQ(controller.modelTextOfAllCards(), rebuilt.modelTextOfAllCards());
        EXPECT_EQ(nameTable(controller, walksTable), nameTable(rebuilt, walksTable));
        EXPECT_EQ(typeRows(controller), typeRows(rebuilt));
        std::set<quint64> numbers;
        for (const UFemCardPtr& card : controller.cardArray()) {
            const quint64 number = card->cardIdentifierNumber();
            EXPECT_TRUE(numbers.insert(number).second) << "number given twice: " << number;
            EXPECT_LT(number, controller.nextCardIdentifierNumber());
            EXPECT_EQ(controller.cardWithCardIdentifierNumber(number), card);
        }
        for (quint64 number = 0; number < controller.nextCardIdentifierNumber(); ++number) {
            if (!numbers.contains(number)) {
                EXPECT_EQ(controller.cardWithCardIdentifierNumber(number), nullptr);
            }
        }
    }

    UUndoManager undoManager;
    UFemDataController controller;
    // Made again from the records after every step.
    UFemDataController rebuilt;

private:
    std::mt19937 random_;
};

void runRandomEdits(unsigned seed)
{
    installFakeCardClassesIntoSharedRegistry();
    RandomEditor editor(seed);
    // From records, so that the name table is sized for this small model, not for a model file.
    std::vector<UFemCardTextColumnsPtr> start;
    for (int k = 0; k < 20; ++k)
        start.push_back(editor.randomRecord());
    ASSERT_TRUE(editor.controller.resetWithCardTextColumnsArray(start, true, nullptr));
    const ModelState original = editor.state();
    // The states the undo and redo stacks lead back to.
    std::vector<ModelState> undoStates;
    std::vector<ModelState> redoStates;
    int edits = 0;
    for (int step = 0; edits < editsPerSeed; ++step) {
        SCOPED_TRACE(testing::Message() << "seed " << seed << " step " << step);
        const int action = editor.pick(10);
        if (action < 2 && editor.undoManager.canUndo()) {
            redoStates.push_back(editor.state());
            editor.undoManager.undo();
            EXPECT_EQ(editor.state(), undoStates.back());
            undoStates.pop_back();
        } else if (action < 3 && editor.undoManager.canRedo()) {
            undoStates.push_back(editor.state());
            editor.undoManager.redo();
            EXPECT_EQ(editor.state(), redoStates.back());
            redoStates.pop_back();
        } else {
            undoStates.push_back(editor.state());
            redoStates.clear();
            ++edits;
            editor.undoManager.beginUndoGrouping();
            editor.edit();
            // Now and then two edits make one step.
            if (editor.chance(10))
                editor.edit();
            editor.undoManager.endUndoGrouping();
        }
        editor.expectSameAsRebuilt(step % fullTablePeriod == 0);
        if (testing::Test::HasFailure())
            return;
    }
    while (editor.undoManager.canUndo())
        editor.undoManager.undo();
    EXPECT_EQ(editor.state(), original);
    EXPECT_EQ(editor.controller.modelTextOfAllCards(), original.text);
}

} // namespace

TEST(ModelEditUndoRandom, EditsUndosAndRedosKeepTheModelEqualToItsRebuild)
{
    for (const unsigned seed : { 11u, 2027u })
        runRandomEdits(seed);
}
