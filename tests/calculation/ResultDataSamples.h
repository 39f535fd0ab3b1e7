#pragma once

#include "calculation/results/UFemResultDataManagerImpl.h"

#include <functional>
#include <memory>

// Results of a made-up calculation: nodes N1.., cases C1.. (case q in restraint set R(q mod S)+1),
// every node's translation triple calculated and the rotation triple of every even node. A set
// whose bit is in `failedSetMask` fails with the text "Set Rk failed.".
struct ResultDataSample {
    quint64 nodeCount = 4;
    quint64 caseCount = 2;
    quint64 restraintSetCount = 1;
    quint64 failedSetMask = 0;
};

std::shared_ptr<UFemResultDataManagerImpl> makeSampleResultData(const ResultDataSample& sample);

// The value the sample gives node n, rotation r, case q, direction d when calculated.
double sampleDisplacement(quint64 node, quint64 rotation, quint64 caseNo, quint64 direction);
// The state byte the sample gives a direction in restraint set s.
quint8 sampleState(quint64 restraintSet, quint64 node, quint64 rotation, quint64 direction);
bool isSampleTripleCalculated(quint64 node, quint64 rotation);

// The four seed files of the result-file fuzzer, by file name.
std::vector<std::pair<const char*, ResultDataSample>> resultFileSeedSamples();

class KeyedArchive;
// A result file of the older keyed-archive form (model text, two project texts), with the entries
// `change` leaves.
QByteArray oldResultFile(const std::function<void(KeyedArchive&)>& change = {});

// What reading result-file data gives.
struct ReadResult {
    std::shared_ptr<UFemResultDataManagerImpl> resultData;
    UErrorPtr readingError;
    UErrorPtr error;
};
ReadResult readFile(const QByteArray& data);
