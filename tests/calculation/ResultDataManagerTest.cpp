#include "ResultDataSamples.h"

#include "foundation/errors/UException.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr quint64 notCalculated = ~quint64(0);

// Two nodes, three cases: C1 and C3 in restraint set RA, C2 in RB.
std::shared_ptr<UFemResultDataManagerImpl> makeTwoSetResultData()
{
    UFemResultDataModelNames names;
    names.modelText = QStringLiteral("model");
    names.nodeCardNameStringArray = { QStringLiteral("N1"), QStringLiteral("N2") };
    names.caseCardNameStringArray
        = { QStringLiteral("C1"), QStringLiteral("C2"), QStringLiteral("C3") };
    names.caseRestraintCardNameStringArrayOfCases
        = { QStringLiteral("RA"), QStringLiteral("RB"), QStringLiteral("RA") };
    return std::make_shared<UFemResultDataManagerImpl>(names);
}

_UFemNode3DOFState state(quint8 x, quint8 y, quint8 z)
{
    _UFemNode3DOFState s;
    s.state = { x, y, z, 0 };
    return s;
}

} // namespace

TEST(ResultDataManager, NewResultHasNaNValuesAndNoTripleCalculated)
{
    const auto resultData = makeTwoSetResultData();
    EXPECT_EQ(resultData->caseRestraintCardNameStringArray(), (QStringList { "RA", "RB" }));
    EXPECT_FALSE(resultData->canSynchronizeNodeNoAndCaseNoWithModelData());
    const UFemResultDataContents& contents = resultData->contents();
    ASSERT_EQ(contents.displacementValueTable.size(), 6u * 2 * 3);
    EXPECT_TRUE(std::isnan(contents.displacementValueTable[35]));
    EXPECT_EQ(contents.caseInfoRecordTable[1].caseRestraintIndex, 1u);
    EXPECT_EQ(contents.caseInfoRecordTable[2].caseRestraintIndex, 0u);
    EXPECT_EQ(contents.caseInfoRecordTable[2].location, 24u);
    EXPECT_EQ(contents.caseInfoRecordTable[2].length, 12u);
    ASSERT_EQ(contents.nodeInfoRecordTable.size(), 8u);
    for (const _UFemResultDataNodeInfoRecord& record : contents.nodeInfoRecordTable)
        EXPECT_EQ(record.displacementValueIndex, notCalculated);
}

TEST(ResultDataManager, OneSetCalculatedOneFailed)
{
    const auto resultData = makeTwoSetResultData();
    // RA: N1's translations and N2's rotations; values (j x 2 + m) x 3 + d for cases C1 (m 0), C3
    // (m 1).
    const _UFemNode3DOFState statesA[4]
        = { state(1, 1, 2), state(4, 4, 4), state(2, 2, 2), state(1, 1, 1) };
    const quint64 combNodeNos[2] = { 0, 3 };
    const double values[12] = { 1, 2, 3, 31, 32, 33, 4, 5, 6, 34, 35, 36 };
    EXPECT_TRUE(resultData->addResultDataWithNodeDOFStateTable(
        statesA, values, combNodeNos, 2, { 0, 2 }, nullptr));
    const _UFemNode3DOFState statesB[4]
        = { state(2, 2, 2), state(2, 2, 2), state(1, 1, 1), state(1, 1, 1) };
    EXPECT_TRUE(resultData->addResultDataWithCalculationErrorString(
        QStringLiteral("E"), statesB, { 1 }, nullptr));
    EXPECT_TRUE(resultData->finalizeAddResultData(nullptr));

    EXPECT_TRUE(resultData->canSynchronizeNodeNoAndCaseNoWithModelData());
    EXPECT_EQ(
        resultData->calculationErrorString(), QStringLiteral("Error on Cases: C2, \n  E\n\n"));
    ASSERT_NE(resultData->calculationError(), nullptr);
    EXPECT_EQ(resultData->calculationError()->code(), 21011);
    // Compacted: C1 at 0 (6 values), C2 empty at 6, C3 at 6.
    const UFemResultDataContents& contents = resultData->contents();
    EXPECT_EQ(contents.displacementValueTable,
        (std::vector<double> { 1, 2, 3, 4, 5, 6, 31, 32, 33, 34, 35, 36 }));
    EXPECT_EQ(contents.caseInfoRecordTable[1].location, 6u);
    EXPECT_EQ(contents.caseInfoRecordTable[1].length, 0u);
    EXPECT_EQ(contents.caseInfoRecordTable[2].location, 6u);

    double u[6];
    quint8 s[6];
    std::optional<QString> errorText = QStringLiteral("stale");
    EXPECT_TRUE(
        resultData->getNodeDisplacement(u, s, 0, UFemRotationIndexSetBoth, 2, &errorText, nullptr));
    EXPECT_EQ(errorText, std::nullopt);
    EXPECT_EQ(std::vector<double>(u, u + 6), (std::vector<double> { 31, 32, 33, 0, 0, 0 }));
    EXPECT_EQ(std::vector<quint8>(s, s + 6), (std::vector<quint8> { 1, 1, 2, 4, 4, 4 }));
    EXPECT_TRUE(resultData->getNodeDisplacement(
        u, s, 1, UFemRotationIndexSetRotation, 0, nullptr, nullptr));
    EXPECT_EQ(std::vector<double>(u, u + 3), (std::vector<double> { 4, 5, 6 }));
    EXPECT_EQ(std::vector<quint8>(s, s + 3), (std::vector<quint8> { 1, 1, 1 }));
    // The same node in the failed set: other states, zeros and the set's error text.
    EXPECT_TRUE(resultData->getNodeDisplacement(
        u, s, 0, UFemRotationIndexSetTranslation, 1, &errorText, nullptr));
    EXPECT_EQ(errorText, QStringLiteral("E"));
    EXPECT_EQ(std::vector<double>(u, u + 3), (std::vector<double> { 0, 0, 0 }));
    EXPECT_EQ(std::vector<quint8>(s, s + 3), (std::vector<quint8> { 2, 2, 2 }));
}

TEST(ResultDataManager, EveryCalculatorFailedLeavesNoValues)
{
    const auto resultData = makeTwoSetResultData();
    EXPECT_TRUE(resultData->addResultDataWithCalculationErrorString(
        QStringLiteral("E1"), nullptr, { 0, 2 }, nullptr));
    EXPECT_TRUE(resultData->addResultDataWithCalculationErrorString(
        QStringLiteral("E2"), nullptr, { 1 }, nullptr));
    EXPECT_TRUE(resultData->addResultDataWithCalculationErrorString(
        QStringLiteral("unused"), nullptr, {}, nullptr));
    EXPECT_TRUE(resultData->finalizeAddResultData(nullptr));
    EXPECT_TRUE(resultData->contents().displacementValueTable.empty());
    EXPECT_EQ(
        resultData->contents().eachCalculationErrorStringHolderArray, (QStringList { "E1", "E2" }));
    EXPECT_EQ(resultData->calculationErrorString(),
        QStringLiteral("Error on Cases: C1, C3, \n  E1\n\nError on Cases: C2, \n  E2\n\n"));
    double u[6] = { 9, 9, 9, 9, 9, 9 };
    quint8 s[6] = { 9, 9, 9, 9, 9, 9 };
    std::optional<QString> errorText;
    EXPECT_TRUE(
        resultData->getNodeDisplacement(u, s, 1, UFemRotationIndexSetBoth, 2, &errorText, nullptr));
    EXPECT_EQ(errorText, QStringLiteral("E1"));
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(u[i], 0.0);
        EXPECT_EQ(s[i], 0);
    }
}

TEST(ResultDataManager, SampleValuesComeBackForEveryNodeAndCase)
{
    const ResultDataSample sample { 7, 13, 3, 0b100 };
    const auto resultData = makeSampleResultData(sample);
    for (quint64 q = 0; q < sample.caseCount; ++q) {
        const quint64 set = q % sample.restraintSetCount;
        const bool failed = (sample.failedSetMask >> set) & 1;
        for (quint64 n = 0; n < sample.nodeCount; ++n) {
            double u[6];
            quint8 s[6];
            EXPECT_TRUE(resultData->getNodeDisplacement(
                u, s, n, UFemRotationIndexSetBoth, q, nullptr, nullptr));
            for (quint64 k = 0; k < 6; ++k) {
                const quint64 r = k / 3;
                const quint64 d = k % 3;
                const double expected = failed || !isSampleTripleCalculated(n, r)
                    ? 0.0
                    : sampleDisplacement(n, r, q, d);
                EXPECT_EQ(u[k], expected) << n << " " << q << " " << k;
                EXPECT_EQ(s[k], sampleState(set, n, r, d));
            }
        }
    }
}

TEST(ResultDataManager, LogAndTextsAreKept)
{
    const auto resultData = makeTwoSetResultData();
    resultData->appendCalculationLogString(QStringLiteral("one"));
    resultData->appendCalculationLogStringWithFormat("%@ of %lu", QStringLiteral("two"), 3ul);
    resultData->setProjectTitleString(QStringLiteral("T"), std::nullopt, QStringLiteral("C"));
    EXPECT_EQ(resultData->calculationLogString(), QStringLiteral("one\ntwo of 3\n"));
    EXPECT_EQ(resultData->projectTitleString(), QStringLiteral("T"));
    EXPECT_EQ(resultData->projectVersionString(), std::nullopt);
    EXPECT_EQ(resultData->calculationErrorString(), std::nullopt);
    EXPECT_TRUE(resultData->finalizeAddResultData(nullptr));
    EXPECT_EQ(resultData->calculationError(), nullptr);
}

TEST(ResultDataManager, NumbersOutOfRangeAreProgramErrors)
{
    const auto resultData = makeSampleResultData({ 2, 2, 1, 0 });
    double u[6];
    EXPECT_THROW(static_cast<void>(resultData->getNodeDisplacement(
                     u, 2, UFemRotationIndexSetBoth, 0, nullptr, nullptr)),
        UException);
    EXPECT_THROW(static_cast<void>(resultData->getNodeDisplacement(
                     u, 0, UFemRotationIndexSetBoth, 2, nullptr, nullptr)),
        UException);
}
