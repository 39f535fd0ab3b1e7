#include "graphics/primitives/UGLSharedFaceTable.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

constexpr quint64 hexahedronNodeCount = 8;
constexpr quint64 hexahedronFaceCount = 6;
constexpr quint64 smallestSlotCount = 64;
// Slots are at most three quarters full.
constexpr quint64 loadNumerator = 3;
constexpr quint64 loadDenominator = 4;
constexpr quint64 hashSeed = 0x9e3779b97f4a7c15ULL;
constexpr quint64 checkSeed = 0xc2b2ae3d27d4eb4fULL;

quint64 mix(quint64 value)
{
    value ^= value >> 30;
    value *= 0xbf58476d1ce4e5b9ULL;
    value ^= value >> 27;
    value *= 0x94d049bb133111ebULL;
    return value ^ (value >> 31);
}

quint64 coordinateBits(double coordinate)
{
    const double zeroFolded = coordinate == 0.0 ? 0.0 : coordinate; // -0 and +0 are one place
    quint64 bits = 0;
    std::memcpy(&bits, &zeroFolded, sizeof bits);
    return bits;
}

quint64 pointHash(const double* point, quint64 seed)
{
    quint64 hash = seed;
    for (quint64 axis = 0; axis < 3; ++axis)
        hash = mix(hash ^ coordinateBits(point[axis]));
    return hash;
}

// Per node its position hashed twice, with the two seeds.
struct CornerHashes {
    quint64 hash[hexahedronNodeCount];
    quint64 check[hexahedronNodeCount];

    explicit CornerHashes(const double* const nodes[8])
    {
        for (quint64 node = 0; node < hexahedronNodeCount; ++node) {
            hash[node] = pointHash(nodes[node], hashSeed);
            check[node] = pointHash(nodes[node], checkSeed);
        }
    }
};

// A face's two hashes. Sums do not depend on the order of the corners, which differs between
// the two solids.
std::pair<quint64, quint32> faceHashes(const CornerHashes& corners, quint64 face)
{
    quint64 hashSum = 0;
    quint64 checkSum = 0;
    for (quint64 corner : UGLHexahedronFaces[face]) {
        hashSum += corners.hash[corner];
        checkSum += corners.check[corner];
    }
    return { mix(hashSum), quint32(mix(checkSum)) };
}

} // namespace

void UGLSharedFaceTable::addHexahedron(const double* const nodes[8])
{
    const CornerHashes corners(nodes);
    for (quint64 face = 0; face < hexahedronFaceCount; ++face) {
        const auto [hash, check] = faceHashes(corners, face);
        insert({ hash, check });
    }
}

quint32 UGLSharedFaceTable::sharedHexahedronFaceMask(const double* const nodes[8]) const
{
    if (faceCount_ == 0)
        return 0;
    const CornerHashes corners(nodes);
    quint32 mask = 0;
    for (quint64 face = 0; face < hexahedronFaceCount; ++face) {
        const auto [hash, check] = faceHashes(corners, face);
        if (slots_[slotIndex({ hash, check })].count > 1)
            mask |= 1U << face;
    }
    return mask;
}

quint64 UGLSharedFaceTable::slotIndex(const FaceKey& key) const
{
    const quint64 mask = slots_.size() - 1;
    for (quint64 index = key.hash & mask;; index = (index + 1) & mask) {
        const Slot& slot = slots_[index];
        if (slot.count == 0 || (slot.key.hash == key.hash && slot.key.check == key.check))
            return index;
    }
}

void UGLSharedFaceTable::insert(const FaceKey& key)
{
    if ((faceCount_ + 1) * loadDenominator > slots_.size() * loadNumerator)
        rehash(std::max<quint64>(smallestSlotCount, 2 * slots_.size()));
    Slot& slot = slots_[slotIndex(key)];
    if (slot.count++ == 0) {
        slot.key = key;
        ++faceCount_;
    }
}

void UGLSharedFaceTable::rehash(quint64 slotCount)
{
    std::vector<Slot> old(slotCount);
    old.swap(slots_);
    for (const Slot& slot : old) {
        if (slot.count != 0)
            slots_[slotIndex(slot.key)] = slot;
    }
}
