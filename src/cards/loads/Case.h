#pragma once

#include "cards/UFemConcreteCard.h"
#include "foundation/UFemNotFound.h"

#include <QStringList>

// One case of a calculation: its calculation type, restraint name and force name. The
// calculation numbers the cases; the result data keep one set of results per case number.
class Case : public UFemConcreteCard {
public:
    static constexpr quint64 calculationTypeColumnIndex = 2;
    static constexpr quint64 restraintNameColumnIndex = 3;
    static constexpr quint64 forceNameColumnIndex = 4;

    explicit Case(UFemCardDataController* dataController);

    static const UFemCardClass& cardClassObject();
    // The calculation types a case may name.
    static const QStringList& calculationTypeStrings();

    // The names of the Restraint and Force columns; nullptr when empty.
    UFemCardName* restraintCardName() const;
    UFemCardName* forceCardName() const;

    // UFemNotFound (-1) when the case has no number.
    quint64 caseNo() const { return caseNo_; }
    void setCaseNo(quint64 caseNo) { caseNo_ = caseNo; }
    void resetCaseNo() { caseNo_ = UFemNotFound; }
    bool hasCaseResult() const { return caseNo_ != UFemNotFound; }

    // Only the card itself.
    bool isRelatedToCaseWithCaseCard(const UFemCard& caseCard) const override;
    bool isRelatedToCaseWithCaseCardArray(
        const std::vector<UFemCard*>& caseCardArray) const override;

    const UFemCardColumn& calculationTypeStringColumn() const
    {
        return column(calculationTypeColumnIndex);
    }
    const UFemCardColumn& restraintNameColumn() const { return column(restraintNameColumnIndex); }
    const UFemCardColumn& forceNameColumn() const { return column(forceNameColumnIndex); }

protected:
    UErrorPtr checkOwnErrorToRegister() const override;

private:
    quint64 caseNo_ = UFemNotFound;
};
