#include "graphics/primitives/UGLSharedFaceTable.h"

#include "graphics/primitives/UGLVec3.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

constexpr quint64 hexahedronNodeCount = 8;
constexpr quint64 hexahedronFaceCount = 6;
constexpr quint64 faceCornerCount = 4;
// A face whose corners read alike both ways round.
constexpr quint32 noWinding = 2;
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

using Cycle = std::array<quint64, faceCornerCount>;

// The least of the cycle's rotations, read forwards (step 1) or backwards (step 3).
Cycle leastRotation(const Cycle& cycle, quint64 step)
{
    Cycle least {};
    for (quint64 start = 0; start < faceCornerCount; ++start) {
        Cycle rotation {};
        for (quint64 k = 0; k < faceCornerCount; ++k)
            rotation[k] = cycle[(start + k * step) % faceCornerCount];
        if (start == 0 || rotation < least)
            least = rotation;
    }
    return least;
}

// 0 or 1 by which way round the corners run, whichever corner they start from. Both ways read
// alike only when corners repeat so that the face has no area.
quint32 cycleWinding(const Cycle& corners)
{
    const Cycle forwards = leastRotation(corners, 1);
    const Cycle backwards = leastRotation(corners, faceCornerCount - 1);
    if (forwards == backwards)
        return noWinding;
    return forwards < backwards ? 0 : 1;
}

// Six times the signed volume, positive when the faces are wound outwards.
double sixfoldVolume(const double* const nodes[8])
{
    const UGLVec3 origin = UGLVec3::at(nodes[0]);
    double sum = 0.0;
    for (const auto& face : UGLHexahedronFaces) {
        std::array<UGLVec3, faceCornerCount> p;
        for (quint64 k = 0; k < faceCornerCount; ++k)
            p[k] = UGLVec3::at(nodes[face[k]]) - origin;
        sum += UGLDot(p[0], UGLCross(p[1], p[2])) + UGLDot(p[0], UGLCross(p[2], p[3]));
    }
    return sum;
}

} // namespace

// Per face its two hashes (sums, so that the order of the corners does not matter) and its
// winding as seen from outside the solid.
struct UGLSharedFaceTable::HexahedronFaces {
    FaceKey key[hexahedronFaceCount];
    quint32 winding[hexahedronFaceCount];

    explicit HexahedronFaces(const double* const nodes[8])
    {
        quint64 hash[hexahedronNodeCount];
        quint64 check[hexahedronNodeCount];
        for (quint64 node = 0; node < hexahedronNodeCount; ++node) {
            hash[node] = pointHash(nodes[node], hashSeed);
            check[node] = pointHash(nodes[node], checkSeed);
        }
        const bool isInverted = sixfoldVolume(nodes) < 0.0;
        for (quint64 face = 0; face < hexahedronFaceCount; ++face) {
            quint64 hashSum = 0;
            quint64 checkSum = 0;
            Cycle corners {};
            for (quint64 k = 0; k < faceCornerCount; ++k) {
                const quint64 node = UGLHexahedronFaces[face][k];
                hashSum += hash[node];
                checkSum += check[node];
                corners[k] = hash[node];
            }
            key[face] = { mix(hashSum), quint32(mix(checkSum)) };
            winding[face] = cycleWinding(corners);
            if (isInverted && winding[face] != noWinding)
                winding[face] ^= 1;
        }
    }
    // How many of these faces are `key` wound `way`.
    quint32 count(const FaceKey& faceKey, quint32 way) const
    {
        quint32 found = 0;
        for (quint64 face = 0; face < hexahedronFaceCount; ++face)
            found += key[face] == faceKey && winding[face] == way ? 1 : 0;
        return found;
    }
};

void UGLSharedFaceTable::addHexahedron(const double* const nodes[8])
{
    const HexahedronFaces faces(nodes);
    for (quint64 face = 0; face < hexahedronFaceCount; ++face)
        if (faces.winding[face] != noWinding)
            insert(faces.key[face], faces.winding[face]);
}

// The solid's own faces do not count against it: a flat solid winds its top and bottom oppositely.
quint32 UGLSharedFaceTable::sharedHexahedronFaceMask(const double* const nodes[8]) const
{
    if (faceCount_ == 0)
        return 0;
    const HexahedronFaces faces(nodes);
    quint32 mask = 0;
    for (quint64 face = 0; face < hexahedronFaceCount; ++face) {
        if (faces.winding[face] == noWinding)
            continue;
        const quint32 opposite = faces.winding[face] ^ 1;
        const Slot& slot = slots_[slotIndex(faces.key[face])];
        if (slot.count[opposite] > faces.count(faces.key[face], opposite))
            mask |= 1U << face;
    }
    return mask;
}

quint64 UGLSharedFaceTable::slotIndex(const FaceKey& key) const
{
    const quint64 mask = slots_.size() - 1;
    for (quint64 index = key.hash & mask;; index = (index + 1) & mask) {
        const Slot& slot = slots_[index];
        if (slot.isEmpty() || slot.key == key)
            return index;
    }
}

void UGLSharedFaceTable::insert(const FaceKey& key, quint32 winding)
{
    if ((faceCount_ + 1) * loadDenominator > slots_.size() * loadNumerator)
        rehash(std::max<quint64>(smallestSlotCount, 2 * slots_.size()));
    Slot& slot = slots_[slotIndex(key)];
    if (slot.isEmpty()) {
        slot.key = key;
        ++faceCount_;
    }
    ++slot.count[winding];
}

void UGLSharedFaceTable::rehash(quint64 slotCount)
{
    std::vector<Slot> old(slotCount);
    old.swap(slots_);
    for (const Slot& slot : old) {
        if (!slot.isEmpty())
            slots_[slotIndex(slot.key)] = slot;
    }
}
