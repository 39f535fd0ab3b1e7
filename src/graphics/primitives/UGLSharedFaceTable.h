#pragma once

#include <QtGlobal>

#include <vector>

// Hexahedron nodes: 0-1-2-3 one face, k + 4 opposite k; faces wound outwards.
inline constexpr quint64 UGLHexahedronFaces[6][4] = { { 0, 3, 2, 1 }, { 0, 1, 5, 4 },
    { 1, 2, 6, 5 }, { 2, 3, 7, 6 }, { 3, 0, 4, 7 }, { 4, 5, 6, 7 } };

// The faces of solids drawn together. Two neighbours wind the face between them oppositely, as
// each sees it from outside: that face lies inside their union, so their drawing may leave it out.
// A solid drawn twice (a duplicate on the same nodes) winds its faces as the first one does, and
// they stay, as do the faces of a solid that only meet one another (a flat solid's top and
// bottom). Faces are told apart by the exact positions of their corners; an inverted solid's faces
// count as wound from outside, and a face without area has no winding and always stays. Filled on
// one thread, then only read.
class UGLSharedFaceTable {
public:
    void addHexahedron(const double* const nodes[8]);
    // Bit f is set when another added solid has face f of UGLHexahedronFaces wound the other way.
    quint32 sharedHexahedronFaceMask(const double* const nodes[8]) const;

private:
    // A face's corners hashed apart from their order, with a second, independent check hash.
    struct FaceKey {
        quint64 hash = 0;
        quint32 check = 0;
        friend bool operator==(const FaceKey&, const FaceKey&) = default;
    };
    struct Slot {
        FaceKey key;
        // Faces added per winding; a slot with none is empty.
        quint32 count[2] = { 0, 0 };
        bool isEmpty() const { return count[0] == 0 && count[1] == 0; }
    };
    struct HexahedronFaces;

    // The key's slot, or the empty slot where it would go.
    quint64 slotIndex(const FaceKey& key) const;
    void insert(const FaceKey& key, quint32 winding);
    void rehash(quint64 slotCount);

    std::vector<Slot> slots_;
    quint64 faceCount_ = 0;
};
