#pragma once

// Card classes shaped like the fifteen real ones (label, card type, menu order hint, column count,
// one column-expandable class), with plausible column types, for the card model's tests.

#include "cardmodel/card/UFemCardAbst.h"
#include "cardmodel/card/UFemCardClass.h"
#include "cardmodel/card/UFemCardColumn.h"
#include "cardmodel/card/UFemNodeCard.h"

#include <QString>

#include <memory>
#include <vector>

namespace fakecards {

// One column after the label: its column type and, for name and reference columns, the card type.
struct FakeColumnShape {
    qint32 columnType;
    qint32 cardNameCardType = 0;
};

// The class of a fake card: its description and the columns 1.. its cards make. Column 1 is always
// the card's own name. A column-expandable class has fixed columns 1..3 and then alternately real
// and degree-of-freedom columns.
struct FakeCardClassShape {
    QString label;
    qint32 cardType;
    quint64 menuOrderHintNo;
    std::vector<FakeColumnShape> columns; // columns 2..; empty for name-only classes
    bool isColumnExpandable = false;
    // Major value types ("name", count) the class registers when it is registered.
    std::vector<std::pair<QString, quint32>> cardValueTypes = {};
};

class FakeCard : public UFemCardAbst, public UFemNodeCard {
public:
    FakeCard(const UFemCardClass& cardClass, const FakeCardClassShape& shape,
        UFemCardDataController* dataController);
    ~FakeCard() override;

    UFemCardColumn* cardColumnAtIndex(quint64 columnIndex) override;
    quint64 getCardColumnsToCardColumnTable(UFemCardColumn** cardColumnTable,
        quint64 cardColumnTableSize, quint64* nextCardColumnIndex) override;
    // Related to a Case card whose text column (column 5) lists the card's name.
    bool isRelatedToCaseWithCaseCard(const UFemCard& caseCard) const override;
    bool isRelatedToCaseWithCaseCardArray(
        const std::vector<UFemCard*>& caseCardArray) const override;
    bool isRotationDisplacementValid() const override;
    // Node cards: columns 3 to 5.
    void getNodeLocation(double nodeLocation[3]) const override;
    UErrorPtr checkErrorToRegister() const override;
    UErrorPtr checkErrorToRun() const override { return nullptr; }
    UErrorPtr checkWarningToRun() const override { return nullptr; }
    void invalidiate() override;
    void resetColumnsAfterIndex(quint64 columnIndex) override;
    quint64 numberOfCurrentColumns() const override;

    // How many times the card's registration check ran.
    int checkErrorToRegisterCount() const { return checkCount_; }
    // Makes the registration check fail with this error.
    void setRegistrationError(UErrorPtr error) { registrationError_ = std::move(error); }

private:
    UFemCardColumn* extraColumn(quint64 columnIndex);

    const FakeCardClassShape& shape_;
    std::vector<std::unique_ptr<UFemCardColumn>> columns_; // columns 1..
    mutable int checkCount_ = 0;
    UErrorPtr registrationError_;
};

// The fifteen fake classes in the order the real ones are installed.
const std::vector<const UFemCardClass*>& fakeCardClasses();
const UFemCardClass& fakeCardClass(const QString& label);
// While set, making a fake card throws std::bad_alloc, as when memory runs out.
void setCardMakingExhaustsMemory(bool exhausts);
// Installs the fake classes into the shared registry, once per process.
void installFakeCardClassesIntoSharedRegistry();

} // namespace fakecards
