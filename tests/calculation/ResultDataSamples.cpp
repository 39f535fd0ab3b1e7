#include "ResultDataSamples.h"

#include "platform/KeyedArchive.h"

#include <gtest/gtest.h>

namespace {

QStringList numberedNames(const char* prefix, quint64 count)
{
    QStringList names;
    for (quint64 i = 1; i <= count; ++i)
        names.append(QStringLiteral("%1%2").arg(QLatin1String(prefix)).arg(i));
    return names;
}

} // namespace

double sampleDisplacement(quint64 node, quint64 rotation, quint64 caseNo, quint64 direction)
{
    return 1000.0 * double(caseNo) + 10.0 * double(node) + 3.0 * double(rotation)
        + double(direction) + 0.25;
}

bool isSampleTripleCalculated(quint64 node, quint64 rotation)
{
    return rotation == 0 || node % 2 == 0;
}

quint8 sampleState(quint64 restraintSet, quint64 node, quint64 rotation, quint64 direction)
{
    if (!isSampleTripleCalculated(node, rotation))
        return UFemNodeDOFStateZeroStiffness;
    // Restraint set s holds direction (s mod 3) of node s fixed.
    return node == restraintSet && direction == restraintSet % 3 ? UFemNodeDOFStateRestrained
                                                                 : UFemNodeDOFStateValid;
}

std::shared_ptr<UFemResultDataManagerImpl> makeSampleResultData(const ResultDataSample& sample)
{
    UFemResultDataModelNames names;
    names.modelText = QStringLiteral("\\ a model of %1 nodes\n").arg(sample.nodeCount);
    names.nodeCardNameStringArray = numberedNames("N", sample.nodeCount);
    names.caseCardNameStringArray = numberedNames("C", sample.caseCount);
    for (quint64 q = 0; q < sample.caseCount; ++q)
        names.caseRestraintCardNameStringArrayOfCases.append(
            QStringLiteral("R%1").arg(q % sample.restraintSetCount + 1));
    auto resultData = std::make_shared<UFemResultDataManagerImpl>(names);
    resultData->setCalculationInfoString(QStringLiteral("Nodes: %1").arg(sample.nodeCount));
    resultData->appendCalculationLogString(QStringLiteral("started"));
    for (quint64 s = 0; s < sample.restraintSetCount; ++s) {
        std::vector<quint64> cases;
        for (quint64 q = s; q < sample.caseCount; q += sample.restraintSetCount)
            cases.push_back(q);
        std::vector<_UFemNode3DOFState> states(2 * sample.nodeCount);
        std::vector<quint64> combNodeNos;
        for (quint64 t = 0; t < 2 * sample.nodeCount; ++t) {
            for (quint64 d = 0; d < 3; ++d)
                states[t].state[d] = sampleState(s, t / 2, t % 2, d);
            if (isSampleTripleCalculated(t / 2, t % 2))
                combNodeNos.push_back(t);
        }
        if ((sample.failedSetMask >> s) & 1) {
            EXPECT_TRUE(resultData->addResultDataWithCalculationErrorString(
                QStringLiteral("Set R%1 failed.").arg(s + 1), states.data(), cases, nullptr));
            continue;
        }
        std::vector<double> values;
        for (const quint64 combNodeNo : combNodeNos)
            for (const quint64 q : cases)
                for (quint64 d = 0; d < 3; ++d)
                    values.push_back(sampleDisplacement(combNodeNo / 2, combNodeNo % 2, q, d));
        EXPECT_TRUE(resultData->addResultDataWithNodeDOFStateTable(
            states.data(), values.data(), combNodeNos.data(), combNodeNos.size(), cases, nullptr));
    }
    EXPECT_TRUE(resultData->finalizeAddResultData(nullptr));
    resultData->setProjectTitleString(QStringLiteral("Title"), QStringLiteral("1.0"), std::nullopt);
    return resultData;
}

std::vector<std::pair<const char*, ResultDataSample>> resultFileSeedSamples()
{
    return {
        { "one-restraint-set.vtresult", { 4, 2, 1, 0 } },
        { "one-set-failed.vtresult", { 5, 5, 3, 0b010 } },
        { "all-failed.vtresult", { 3, 3, 2, 0b11 } },
        { "thirteen-cases.vtresult", { 6, 13, 2, 0 } },
    };
}

QByteArray oldResultFile(const std::function<void(KeyedArchive&)>& change)
{
    KeyedArchive archive;
    archive.encodeObject(
        QStringLiteral("UFemResultPackageDocument"), QStringLiteral("UFemDataTypeString"));
    archive.encodeObject(
        QStringLiteral("0.8.1"), QStringLiteral("UFemMinimumApplicationVersionStringForDataType"));
    archive.encodeInteger(801000, QStringLiteral("UFemMinimumApplicationVersionNumberForDataType"));
    archive.encodeObject(
        QStringLiteral("0.8.1.2"), QStringLiteral("UFemDataCreatorApplicationVersionString"));
    archive.encodeInteger(801020, QStringLiteral("UFemDataCreatorApplicationVersionNumber"));
    archive.encodeObject(QStringLiteral("Bridge"), QStringLiteral("projectTitleString"));
    archive.encodeObject(QStringLiteral("2"), QStringLiteral("projectVersionString"));
    archive.encodeObject(
        QStringLiteral("Node , N1 ,  , 0 , 0 , 0 ,\n"), QStringLiteral("ModelText"));
    if (change)
        change(archive);
    KeyedArchiveError error;
    const QByteArray data = archive.data(&error);
    EXPECT_FALSE(data.isEmpty()) << error.reason.toStdString();
    return data;
}

ReadResult readFile(const QByteArray& data)
{
    ReadResult result;
    result.resultData = UFemResultDataManagerImpl::initWithResultFileData(
        data, &result.readingError, &result.error);
    return result;
}
