#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

#include <utility>
#include <vector>

// Builds a binary property list ("bplist00") from the leaves up: each add answers the object's
// index, and equal objects (same kind and content, or same elements) share one index. Reference
// and offset widths are the smallest that hold the final table.
class BinaryPropertyListWriter {
public:
    using Index = quint64;

    Index addBool(bool value);
    Index addInteger(qint64 value);
    Index addReal(double value);
    Index addDate(double referenceSeconds);
    Index addString(const QString& value);
    Index addData(const QByteArray& value);
    Index addUid(quint64 value);
    Index addArray(const std::vector<Index>& elements);
    Index addDictionary(const std::vector<std::pair<Index, Index>>& entries);

    QByteArray data(Index root) const;

private:
    struct Entry {
        QByteArray encoded; // a scalar's whole encoding, or a container's marker and count
        std::vector<Index> references; // a container's elements (keys first for dictionaries)
    };
    Index add(Entry entry);

    std::vector<Entry> entries_;
    QHash<QByteArray, Index> indexOfContent_;
};
