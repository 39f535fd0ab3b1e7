#pragma once

#include "calculation/ordering/UFemNodeOrderingGraph.h"

#include <span>
#include <vector>

// Divides nodes into blocks of connected nodes whose degrees add up to at most a limit. Blocks grow
// breadth first from seeds taken in a reference order; a block whose growth runs out before it is
// full takes nodes over from full neighbour blocks that can replace them with a free node.
class UFemNodeBlockDivider {
public:
    // `referenceOrder`: node numbers in reference order (all ones entries are skipped); empty means
    // node-number order. `degrees`: one per node; empty means 1 for every node.
    UFemNodeBlockDivider(const UFemNodeOrderingGraph& graph,
        std::span<const quint64> referenceOrder, std::span<const quint64> degrees,
        quint64 blockDegreeLimit);

    // Runs the division; returns the block count.
    quint64 divide();

    quint64 blockCount() const { return blocks_.size(); }
    // blockCount x limit node numbers, all ones where a block has fewer members.
    std::vector<quint64> blockNodeNoTable() const;
    // Per node: block x limit + place, all ones when the node is in no block.
    const std::vector<quint64>& nodeIndexPositionTable() const { return position_; }
    std::span<const UFemOrderingIndex> members(quint64 block) const
    {
        return { members_.data() + block * limit_,
            members_.data() + block * limit_ + blocks_[block].memberCount };
    }

private:
    struct BlockRecord {
        quint64 memberCount = 0;
        quint64 degreeSum = 0;
        quint64 expansionMark
            = ~quint64(0); // members expanded when the block became full; all ones: never full
    };
    struct TakeOverState {
        quint64 member = 0;
        size_t candidate = 0;
        bool hasCandidates = false;
        quint64 lowerLimit = 0;
    };

    quint64 degree(UFemOrderingIndex node) const { return degrees_.empty() ? 1 : degrees_[node]; }
    quint64 referencePosition(UFemOrderingIndex node) const
    {
        return inverseReference_.empty() ? node : inverseReference_[node];
    }
    UFemOrderingIndex blockOf(UFemOrderingIndex node) const
    {
        return position_[node] == ~quint64(0) ? UFemOrderingNone
                                              : UFemOrderingIndex(position_[node] / limit_);
    }
    UFemOrderingIndex member(quint64 block, quint64 place) const
    {
        return members_[block * limit_ + place];
    }
    bool isFull(quint64 block) const { return blocks_[block].degreeSum == limit_; }

    bool advanceCursor();
    void appendMember(quint64 block, UFemOrderingIndex node);
    void buildBlock(UFemOrderingIndex seed);
    bool grow(quint64 block, quint64* expandHead);
    bool takeOver(quint64 block, TakeOverState* state);
    bool tryTakeOver(quint64 block, UFemOrderingIndex node, TakeOverState* state);
    bool findReplacement(quint64 block, UFemOrderingIndex leaving, UFemOrderingIndex* replacement,
        quint64* supplier);
    void moveToBlock(quint64 block, UFemOrderingIndex node, quint64 fromBlock,
        UFemOrderingIndex replacement, quint64 supplier);
    // Neighbours of `node` at reference positions >= `from`, in reference order, into `out`.
    void candidatesInReferenceOrder(
        UFemOrderingIndex node, quint64 from, std::vector<UFemOrderingIndex>* out);

    const UFemNodeOrderingGraph& graph_;
    std::span<const quint64> reference_;
    std::vector<UFemOrderingIndex> inverseReference_;
    std::span<const quint64> degrees_;
    quint64 limit_;
    quint64 cursor_ = 0;
    std::vector<BlockRecord> blocks_;
    std::vector<UFemOrderingIndex> members_;
    std::vector<quint64> position_;
    std::vector<UFemOrderingIndex> growStamp_; // block that considered the node while growing
    std::vector<UFemOrderingIndex> takeOverStamp_; // block that considered the node for a take-over
    std::vector<UFemOrderingIndex>
        visitStamp_; // neighbours of visited members in a replacement search
    UFemOrderingIndex visitEpoch_ = 0;
    std::vector<UFemOrderingIndex> scratch_;
    std::vector<UFemOrderingIndex> takeOverCandidates_;
    std::vector<std::pair<quint64, UFemOrderingIndex>> sortScratch_;
};
