#pragma once

#include <QtGlobal>

#include <vector>

// Hexahedron nodes: 0-1-2-3 one face, k + 4 opposite k; faces wound outwards.
inline constexpr quint64 UGLHexahedronFaces[6][4] = { { 0, 3, 2, 1 }, { 0, 1, 5, 4 },
    { 1, 2, 6, 5 }, { 2, 3, 7, 6 }, { 3, 0, 4, 7 }, { 4, 5, 6, 7 } };

// The faces of solids drawn together. A face that two of them share lies inside their union and is
// never seen from outside it, so their drawing may leave it out. Faces are told apart by the exact
// positions of their corners, so solids on coincident nodes share faces too. Filled on one thread,
// then only read.
class UGLSharedFaceTable {
public:
    void addHexahedron(const double* const nodes[8]);
    // Bit f is set when face f of UGLHexahedronFaces was added more than once.
    quint32 sharedHexahedronFaceMask(const double* const nodes[8]) const;

private:
    // A face's corners hashed apart from their order, with a second, independent check hash.
    struct FaceKey {
        quint64 hash = 0;
        quint32 check = 0;
    };
    struct Slot {
        FaceKey key;
        quint32 count = 0; // 0: empty
    };

    // The key's slot, or the empty slot where it would go.
    quint64 slotIndex(const FaceKey& key) const;
    void insert(const FaceKey& key);
    void rehash(quint64 slotCount);

    std::vector<Slot> slots_;
    quint64 faceCount_ = 0;
};
