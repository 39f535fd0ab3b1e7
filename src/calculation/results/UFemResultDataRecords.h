#pragma once

#include "cardmodel/card/UFemNode3DOFState.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <type_traits>
#include <vector>

inline constexpr quint64 UFemResultDataNotCalculated = ~quint64(0);

// One case: its restraint set, its failure and its values. The record is also the case record of
// the result file, so the failure is kept as a number: 0 when the case's restraint set was
// calculated, else 1 + the position of its error text in the holder array.
struct _UFemResultDataCaseInfoRecord {
    quint64 caseRestraintIndex = 0;
    quint64 calculationErrorNumber = 0;
    // The case's values in the displacement value table, in doubles: 3 per calculated triple.
    quint64 location = 0;
    quint64 length = 0;
};
static_assert(sizeof(_UFemResultDataCaseInfoRecord) == 32);
static_assert(std::is_trivially_copyable_v<_UFemResultDataCaseInfoRecord>);

// One DOF triple of one node in one restraint set (record 2 x nodeCount x set + 2 x node +
// rotation), also the node record of the result file.
struct _UFemResultDataNodeInfoRecord {
    // The triple's x, y and z are values location + 3p, +1, +2 of each case of the set;
    // UFemResultDataNotCalculated when the triple was not calculated.
    quint64 displacementValueIndex = UFemResultDataNotCalculated;
    _UFemNode3DOFState nodeDOFState;
    quint32 padding = 0;
};
static_assert(sizeof(_UFemResultDataNodeInfoRecord) == 16);
static_assert(std::is_trivially_copyable_v<_UFemResultDataNodeInfoRecord>);

// Everything one calculation's results hold; what the result file carries.
struct UFemResultDataContents {
    std::optional<QString> projectTitleString;
    std::optional<QString> projectVersionString;
    std::optional<QString> projectCommentString;
    std::optional<QString> modelText;
    std::optional<QString> calculationInfoString;
    std::optional<QString> calculationLogString;
    std::optional<QString> calculationErrorString;
    QStringList nodeNameStringArray;
    QStringList caseNameStringArray;
    QStringList caseRestraintNameStringArray;
    std::vector<_UFemResultDataCaseInfoRecord> caseInfoRecordTable;
    std::vector<_UFemResultDataNodeInfoRecord> nodeInfoRecordTable;
    std::vector<double> displacementValueTable;
    // The error texts the case records number, one per failed restraint set; empty when none
    // failed.
    QStringList eachCalculationErrorStringHolderArray;
};
