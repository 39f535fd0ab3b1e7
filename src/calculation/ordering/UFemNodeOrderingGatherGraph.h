#pragma once

#include "calculation/ordering/UFemNodeOrderingGraph.h"

// The connections along which the first block division gathers nodes: in a part with a dominant
// axis only those that span at most half the spacing of its cross-sections along it, so that each
// block lies in one cross-section and the blocks, ordered along the axis, keep the cross-sections
// apart; every connection of the other parts.
UFemNodeOrderingGraph UFemMakeNodeOrderingGatherGraph(const UFemNodeOrderingGraph& graph);
