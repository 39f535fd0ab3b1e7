#pragma once

#include "calculation/ordering/UFemNodeOrderingGraph.h"

// The connections along which the first block division gathers nodes: in a part with a dominant
// axis only those that run across it (at least 60 degrees from the axis), so that each block lies
// in one cross-section and the blocks, ordered along the axis, keep the cross-sections apart;
// every connection of the other parts.
UFemNodeOrderingGraph UFemMakeNodeOrderingGatherGraph(const UFemNodeOrderingGraph& graph);
