#pragma once

#include "foundation/UFemNotFound.h"

#include <cstdint>
#include <vector>

// Key sorts and permutation inverses for the solver's node ordering. Every sort orders pairs by
// key, ascending, as unsigned 64-bit numbers; values travel with their keys. Only the insertion
// sort used for ranges of up to 16 pairs keeps equal keys in their given order; the order of equal
// keys is nevertheless deterministic, so the same input always gives the same node order.

struct UValueKeyPair {
    uint64_t value;
    uint64_t key;
};

// Reorders indexArray so that keyTable[indexArray[i]] ascends. keyTable must cover every index.
void USortIndexArrayByKeyTable(uint64_t* indexArray, const uint64_t* keyTable, uint64_t count);

void USortValueKeyPairs(UValueKeyPair* pairs, uint64_t count);

// For ranges of more than 512 pairs whose first samples lie too close together: returns a pivot
// pair inside the range, or nullptr after having sorted the range itself.
UValueKeyPair* USortValueKeyPairsFindPivot(UValueKeyPair* pairs, uint64_t count);

void USortValueKeyPairsByBubbleSort(UValueKeyPair* pairs, uint64_t count);

// Fills inverse[0 .. inverseCount) with all-ones, then inverse[permutation[i]] = i for every entry
// that is not all-ones. An entry at or beyond inverseCount raises URangeException.
void UMakeInversePermutation(uint64_t* inverse, const uint64_t* permutation,
    uint64_t permutationCount, uint64_t inverseCount);

// Makes `table` the inverse of the permutation, sized to its largest entry + 1, and returns that
// size; all-ones elsewhere. An empty or all-absent permutation gives an empty table and 0.
uint64_t UMakeInverseIndexTable(
    std::vector<uint64_t>& table, const uint64_t* permutation, uint64_t count);
