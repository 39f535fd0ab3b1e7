#include "calculation/ordering/UFemNodeBlockDivider.h"

#include "foundation/UFemNotFound.h"
#include "foundation/errors/UException.h"

#include <algorithm>
#include <new>

UFemNodeBlockDivider::UFemNodeBlockDivider(const UFemNodeOrderingGraph& graph,
    std::span<const quint64> referenceOrder, std::span<const quint64> degrees,
    quint64 blockDegreeLimit)
    : graph_(graph)
    , reference_(referenceOrder)
    , degrees_(degrees)
    , limit_(blockDegreeLimit)
{
    // A node heavier than a whole block could never be placed within the limit.
    if (limit_ == 0
        || (!degrees_.empty() && *std::max_element(degrees_.begin(), degrees_.end()) > limit_))
        UFemRaiseProgramError(QStringLiteral("Out of range."));
    if (!reference_.empty()) {
        inverseReference_.assign(graph.nodeCount(), UFemOrderingNone);
        for (size_t k = 0; k < reference_.size(); ++k) {
            if (reference_[k] != UFemNotFound)
                inverseReference_[reference_[k]] = UFemOrderingIndex(k);
        }
    }
}

quint64 UFemNodeBlockDivider::divide()
{
    const UFemOrderingIndex n = graph_.nodeCount();
    try {
        position_.assign(n, UFemNotFound);
        growStamp_.assign(n, UFemOrderingNone);
        takeOverStamp_.assign(n, UFemOrderingNone);
        visitStamp_.assign(n, 0);
        blocks_.clear();
        members_.clear();
        cursor_ = 0;
        while (advanceCursor())
            buildBlock(reference_.empty() ? UFemOrderingIndex(cursor_)
                                          : UFemOrderingIndex(reference_[cursor_]));
    } catch (const std::bad_alloc&) {
        UFemRaiseMemoryAllocationFailed();
    }
    return blocks_.size();
}

std::vector<quint64> UFemNodeBlockDivider::blockNodeNoTable() const
{
    std::vector<quint64> table(members_.size());
    for (size_t k = 0; k < members_.size(); ++k)
        table[k] = members_[k] == UFemOrderingNone ? UFemNotFound : members_[k];
    return table;
}

bool UFemNodeBlockDivider::advanceCursor()
{
    const quint64 end = reference_.empty() ? graph_.nodeCount() : reference_.size();
    for (; cursor_ < end; ++cursor_) {
        const quint64 node = reference_.empty() ? cursor_ : reference_[cursor_];
        if (node != UFemNotFound && degree(UFemOrderingIndex(node)) > 0
            && position_[node] == UFemNotFound)
            return true;
    }
    return false;
}

void UFemNodeBlockDivider::appendMember(quint64 block, UFemOrderingIndex node)
{
    BlockRecord& record = blocks_[block];
    members_[block * limit_ + record.memberCount] = node;
    position_[node] = block * limit_ + record.memberCount;
    ++record.memberCount;
    record.degreeSum += degree(node);
}

void UFemNodeBlockDivider::buildBlock(UFemOrderingIndex seed)
{
    const quint64 block = blocks_.size();
    blocks_.emplace_back();
    members_.resize(members_.size() + limit_, UFemOrderingNone);
    appendMember(block, seed);
    growStamp_[seed] = UFemOrderingIndex(block);
    quint64 expandHead = 0;
    if (blocks_[block].degreeSum >= limit_) {
        blocks_[block].expansionMark = 0;
        return;
    }
    if (grow(block, &expandHead))
        return;
    advanceCursor();
    TakeOverState state;
    while (takeOver(block, &state)) {
        if (isFull(block)) {
            blocks_[block].expansionMark = expandHead;
            return;
        }
        if (grow(block, &expandHead))
            return;
    }
}

bool UFemNodeBlockDivider::grow(quint64 block, quint64* expandHead)
{
    BlockRecord& record = blocks_[block];
    for (; *expandHead < record.memberCount; ++*expandHead) {
        candidatesInReferenceOrder(member(block, *expandHead), cursor_, &scratch_);
        for (UFemOrderingIndex candidate : scratch_) {
            if (growStamp_[candidate] == block)
                continue;
            growStamp_[candidate] = UFemOrderingIndex(block);
            if (position_[candidate] != UFemNotFound
                || record.degreeSum + degree(candidate) > limit_)
                continue;
            appendMember(block, candidate);
            if (isFull(block)) {
                record.expansionMark = *expandHead;
                return true;
            }
        }
    }
    return false;
}

bool UFemNodeBlockDivider::takeOver(quint64 block, TakeOverState* state)
{
    for (; state->member < blocks_[block].memberCount;
         ++state->member, state->hasCandidates = false) {
        if (!state->hasCandidates) {
            candidatesInReferenceOrder(
                member(block, state->member), state->lowerLimit, &takeOverCandidates_);
            state->candidate = 0;
            state->hasCandidates = true;
        }
        while (state->candidate < takeOverCandidates_.size()) {
            const UFemOrderingIndex candidate = takeOverCandidates_[state->candidate++];
            if (takeOverStamp_[candidate] == block)
                continue;
            takeOverStamp_[candidate] = UFemOrderingIndex(block);
            if (tryTakeOver(block, candidate, state))
                return true;
        }
    }
    return false;
}

bool UFemNodeBlockDivider::tryTakeOver(quint64 block, UFemOrderingIndex node, TakeOverState* state)
{
    const UFemOrderingIndex owner = blockOf(node);
    if (owner == UFemOrderingNone || owner == block
        || blocks_[block].degreeSum + degree(node) > limit_)
        return false;
    const quint64 mark = blocks_[owner].expansionMark;
    if (mark == UFemNotFound || position_[node] % limit_ <= mark)
        return false;
    UFemOrderingIndex replacement = UFemOrderingNone;
    quint64 supplier = 0;
    if (!findReplacement(owner, node, &replacement, &supplier))
        return false;
    moveToBlock(block, node, owner, replacement, supplier);
    state->lowerLimit = referencePosition(node) + 1;
    return true;
}

bool UFemNodeBlockDivider::findReplacement(
    quint64 block, UFemOrderingIndex leaving, UFemOrderingIndex* replacement, quint64* supplier)
{
    if (++visitEpoch_ == 0) {
        std::fill(visitStamp_.begin(), visitStamp_.end(), 0);
        visitEpoch_ = 1;
    }
    const BlockRecord& record = blocks_[block];
    const quint64 sumWithout = record.degreeSum - degree(leaving);
    auto visit = [&](UFemOrderingIndex visited) {
        for (UFemOrderingIndex other : graph_.neighbours(visited))
            visitStamp_[other] = visitEpoch_;
    };
    for (quint64 place = 0; place < record.expansionMark; ++place)
        visit(member(block, place));
    for (quint64 place = record.expansionMark; place < record.memberCount; ++place) {
        const UFemOrderingIndex visited = member(block, place);
        if (visited == leaving)
            continue;
        candidatesInReferenceOrder(visited, cursor_, &scratch_);
        for (UFemOrderingIndex candidate : scratch_) {
            if (visitStamp_[candidate] == visitEpoch_ || position_[candidate] != UFemNotFound)
                continue;
            if (sumWithout + degree(candidate) <= limit_) {
                *replacement = candidate;
                *supplier = place;
                return true;
            }
        }
        visit(visited);
    }
    return false;
}

void UFemNodeBlockDivider::moveToBlock(quint64 block, UFemOrderingIndex node, quint64 fromBlock,
    UFemOrderingIndex replacement, quint64 supplier)
{
    BlockRecord& from = blocks_[fromBlock];
    const quint64 place = position_[node] % limit_;
    for (quint64 k = place; k + 1 < from.memberCount; ++k) {
        const UFemOrderingIndex moved = member(fromBlock, k + 1);
        members_[fromBlock * limit_ + k] = moved;
        position_[moved] = fromBlock * limit_ + k;
    }
    members_[fromBlock * limit_ + from.memberCount - 1] = UFemOrderingNone;
    --from.memberCount;
    from.degreeSum -= degree(node);
    position_[node] = UFemNotFound;
    appendMember(fromBlock, replacement);
    const quint64 supplierPlace = supplier < place ? supplier : supplier - 1;
    from.expansionMark = isFull(fromBlock) ? supplierPlace : UFemNotFound;
    appendMember(block, node);
}

void UFemNodeBlockDivider::candidatesInReferenceOrder(
    UFemOrderingIndex node, quint64 from, std::vector<UFemOrderingIndex>* out)
{
    out->clear();
    const auto neighbours = graph_.neighbours(node);
    if (inverseReference_.empty()) {
        // Node-number order: the rows are ascending already.
        auto first = std::lower_bound(neighbours.begin(), neighbours.end(), from);
        out->assign(first, neighbours.end());
        return;
    }
    sortScratch_.clear();
    for (UFemOrderingIndex other : neighbours) {
        const quint64 position = inverseReference_[other] == UFemOrderingNone
            ? UFemNotFound
            : inverseReference_[other];
        if (position >= from)
            sortScratch_.emplace_back(position, other);
    }
    std::sort(sortScratch_.begin(), sortScratch_.end());
    for (const auto& entry : sortScratch_)
        out->push_back(entry.second);
}
