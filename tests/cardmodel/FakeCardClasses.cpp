#include "FakeCardClasses.h"

#include "cardmodel/card/UFemCardClassManager.h"
#include "cardmodel/card/UFemCardType.h"
#include "foundation/errors/UException.h"

#include <QStringList>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <new>

namespace fakecards {

namespace {

constexpr quint64 firstExtraColumnIndex = 4;

FakeColumnShape ref(qint32 cardType)
{
    return { CARD_COLUMN_TYPE_REF_CARD_NAME, cardType };
}
FakeColumnShape real()
{
    return { CARD_COLUMN_TYPE_FLOAT_VALUE };
}
FakeColumnShape integer()
{
    return { CARD_COLUMN_TYPE_INT_VALUE };
}
FakeColumnShape boolean()
{
    return { CARD_COLUMN_TYPE_BOOL_VALUE };
}
FakeColumnShape text()
{
    return { CARD_COLUMN_TYPE_STRING_VALUE };
}
FakeColumnShape dof()
{
    return { UFemDegreeOfFreedomColumnType };
}

const std::vector<FakeCardClassShape>& fakeCardClassShapes()
{
    static const std::vector<FakeCardClassShape> shapes {
        { "Node", UFemNodeCardType, 100, { ref(UFemCoordCardType), real(), real(), real() }, false,
            { { "FakeNodeReaction", 6 } } },
        { "Rod", UFemElementCardType, 100,
            { ref(UFemElementPropCardType), ref(UFemNodeCardType), ref(UFemNodeCardType) } },
        { "Quad", UFemElementCardType, 142,
            { ref(UFemElementPropCardType), ref(UFemNodeCardType), ref(UFemNodeCardType),
                ref(UFemNodeCardType), ref(UFemNodeCardType) } },
        { "Hexa", UFemElementCardType, 160,
            { ref(UFemElementPropCardType), ref(UFemNodeCardType), ref(UFemNodeCardType),
                ref(UFemNodeCardType), ref(UFemNodeCardType), ref(UFemNodeCardType),
                ref(UFemNodeCardType), ref(UFemNodeCardType), ref(UFemNodeCardType) } },
        { "RodProp", UFemElementPropCardType, 100, { ref(UFemMaterialCardType), real() } },
        { "ShellProp", UFemElementPropCardType, 120, { ref(UFemMaterialCardType), real() } },
        { "SolidProp", UFemElementPropCardType, 130, { ref(UFemMaterialCardType) } },
        { "Material", UFemMaterialCardType, 100, { real(), real() }, false,
            { { "FakeDensity", 1 } } },
        { "ForceSet", UFemForceCardType, 100, { ref(UFemForceCardType), ref(UFemForceCardType) } },
        { "Force", UFemForceCardType, 110,
            { ref(UFemNodeCardType), real(), real(), real(), real(), real(), real(), boolean() } },
        { "RestraintSet", UFemRestraintCardType, 100, { ref(UFemRestraintCardType) } },
        { "FixNode", UFemRestraintCardType, 110,
            { ref(UFemNodeCardType), boolean(), boolean(), boolean(), boolean(), boolean(),
                boolean() } },
        { "RestraintEquation", UFemRestraintCardType, 130, { real(), dof() }, true },
        { "ForceDisp", UFemRestraintCardType, 120, { dof(), real() } },
        { "Case", UFemCaseCardType, 100,
            { ref(UFemRestraintCardType), ref(UFemForceCardType), integer(), text() } },
    };
    return shapes;
}

std::atomic<bool> cardMakingExhaustsMemory { false };

std::vector<std::unique_ptr<UFemCardClass>> makeFakeCardClasses()
{
    std::vector<std::unique_ptr<UFemCardClass>> classes;
    for (const FakeCardClassShape& shape : fakeCardClassShapes()) {
        auto cardClass = std::make_unique<UFemCardClass>(UFemCardClassDescription {
            .cardLabelString = shape.label,
            .cardType = shape.cardType,
            .cardFormViewControllerClass = shape.label + QStringLiteral("FormViewController"),
            .cardMenuOrderHintNo = shape.menuOrderHintNo,
            .numberOfColumns = shape.isColumnExpandable ? UFemColumnExpandableNumberOfColumns
                                                        : shape.columns.size() + 2,
            .dontCallReason = QString(),
            .columnLabelStringAtIndex = {},
            .makeCard
            = [&shape](UFemCardDataController* dataController) -> std::shared_ptr<UFemCard> {
                if (cardMakingExhaustsMemory)
                    throw std::bad_alloc();
                return std::make_shared<FakeCard>(
                    fakeCardClass(shape.label), shape, dataController);
            },
            .registerCardValueTypes =
                [&shape](UFemCardClassManager& manager) {
                    for (const auto& [name, count] : shape.cardValueTypes)
                        manager.majorCardValueTypeWithMajorCardValueTypeString(
                            name, count, true, false, false, std::nullopt);
                },
        });
        classes.push_back(std::move(cardClass));
    }
    return classes;
}

const std::vector<std::unique_ptr<UFemCardClass>>& ownedFakeCardClasses()
{
    static const std::vector<std::unique_ptr<UFemCardClass>> classes = makeFakeCardClasses();
    return classes;
}

} // namespace

FakeCard::FakeCard(const UFemCardClass& cardClass, const FakeCardClassShape& shape,
    UFemCardDataController* dataController)
    : UFemCardAbst(cardClass, dataController)
    , shape_(shape)
{
    columns_.push_back(
        std::make_unique<UFemCardColumn>(this, 1, CARD_COLUMN_TYPE_CARD_NAME, shape.cardType));
    for (std::size_t i = 0; i < shape.columns.size(); ++i) {
        columns_.push_back(std::make_unique<UFemCardColumn>(
            this, i + 2, shape.columns[i].columnType, shape.columns[i].cardNameCardType));
    }
}

FakeCard::~FakeCard()
{
    FakeCard::invalidiate();
}

UFemCardColumn* FakeCard::cardColumnAtIndex(quint64 columnIndex)
{
    if (shape_.isColumnExpandable && columnIndex >= firstExtraColumnIndex)
        return extraColumn(columnIndex);
    if (columnIndex == 0 || columnIndex > columns_.size())
        UFemRaiseProgramError(QStringLiteral("Out of range."));
    return columns_[columnIndex - 1].get();
}

UFemCardColumn* FakeCard::extraColumn(quint64 columnIndex)
{
    while (columns_.size() < columnIndex) {
        const quint64 index = columns_.size() + 1;
        const qint32 type = (index - firstExtraColumnIndex) % 2 == 0
            ? CARD_COLUMN_TYPE_FLOAT_VALUE
            : UFemDegreeOfFreedomColumnType;
        columns_.push_back(std::make_unique<UFemCardColumn>(this, index, type));
    }
    return columns_[columnIndex - 1].get();
}

quint64 FakeCard::getCardColumnsToCardColumnTable(
    UFemCardColumn** cardColumnTable, quint64 cardColumnTableSize, quint64* nextCardColumnIndex)
{
    std::vector<UFemCardColumn*> columns;
    for (const auto& column : columns_)
        columns.push_back(column.get());
    return getCardColumnsFromColumnArray(
        columns, cardColumnTable, cardColumnTableSize, nextCardColumnIndex);
}

// The test rule: a card belongs to a case whose text column lists the card's name.
bool FakeCard::isRelatedToCaseWithCaseCard(const UFemCard& caseCard) const
{
    constexpr quint64 caseTextColumnIndex = 5;
    if (caseCard.cardType() != UFemCaseCardType || !cardNameString())
        return false;
    const QStringList listed = caseCard.columnStringAtIndex(caseTextColumnIndex)
                                   .value_or(QString())
                                   .split(u' ', Qt::SkipEmptyParts);
    return listed.contains(*cardNameString());
}

bool FakeCard::isRelatedToCaseWithCaseCardArray(const std::vector<UFemCard*>& caseCardArray) const
{
    return std::any_of(caseCardArray.begin(), caseCardArray.end(),
        [this](const UFemCard* caseCard) { return isRelatedToCaseWithCaseCard(*caseCard); });
}
bool FakeCard::isRotationDisplacementValid() const
{
    return shape_.cardType == UFemNodeCardType;
}

void FakeCard::getNodeLocation(double nodeLocation[3]) const
{
    constexpr quint64 firstCoordinateColumnIndex = 3;
    if (shape_.cardType != UFemNodeCardType)
        UFemRaiseProgramError(QStringLiteral("Not a Node card."));
    for (quint64 axis = 0; axis < 3; ++axis)
        nodeLocation[axis] = columns_[firstCoordinateColumnIndex + axis - 1]->doubleValue();
}

UErrorPtr FakeCard::checkErrorToRegister() const
{
    ++checkCount_;
    return registrationError_;
}

void FakeCard::invalidiate()
{
    if (!columns_.empty())
        resetAllCardColumns();
    columns_.clear();
    UFemCardAbst::invalidiate();
}

void FakeCard::resetColumnsAfterIndex(quint64 columnIndex)
{
    if (!shape_.isColumnExpandable)
        return UFemCardAbst::resetColumnsAfterIndex(columnIndex);
    for (quint64 index = std::max<quint64>(columnIndex, 1); index < firstExtraColumnIndex; ++index)
        columns_[index - 1]->resetColumn();
    const quint64 keep = std::max(columnIndex, firstExtraColumnIndex) - 1;
    while (columns_.size() > keep)
        columns_.pop_back();
}

quint64 FakeCard::numberOfCurrentColumns() const
{
    if (!shape_.isColumnExpandable)
        return UFemCardAbst::numberOfCurrentColumns();
    return std::max<quint64>(columns_.size() + 1, firstExtraColumnIndex);
}

const std::vector<const UFemCardClass*>& fakeCardClasses()
{
    static const std::vector<const UFemCardClass*> classes = [] {
        std::vector<const UFemCardClass*> list;
        for (const auto& cardClass : ownedFakeCardClasses())
            list.push_back(cardClass.get());
        return list;
    }();
    return classes;
}

const UFemCardClass& fakeCardClass(const QString& label)
{
    for (const UFemCardClass* cardClass : fakeCardClasses()) {
        if (cardClass->cardLabelString() == label)
            return *cardClass;
    }
    UFemRaiseProgramError(QStringLiteral("No fake card class ") + label);
}

void installFakeCardClassesIntoSharedRegistry()
{
    static std::once_flag once;
    std::call_once(once,
        [] { UFemCardClassManager::sharedCardClassManager().installCardClass(fakeCardClasses()); });
}

void setCardMakingExhaustsMemory(bool exhausts)
{
    cardMakingExhaustsMemory = exhausts;
}

} // namespace fakecards
