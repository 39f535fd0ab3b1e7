#pragma once

// Assembles binary property lists byte by byte, as the format describes them, so that tests can
// build archives (and damaged archives) without going through the writer under test.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <cstring>
#include <map>

#include <vector>

class BinaryPlistFixture {
public:
    explicit BinaryPlistFixture(int referenceSize = 1, int offsetSize = 1)
        : referenceSize_(referenceSize)
        , offsetSize_(offsetSize)
    {
    }

    static QByteArray bigEndian(quint64 value, int width)
    {
        QByteArray out;
        for (int i = width - 1; i >= 0; --i)
            out.append(char(quint8(value >> (8 * i))));
        return out;
    }

    // Marker with a count in its low nibble, or 0xF and a following 1-byte or 2-byte integer.
    static QByteArray counted(quint8 marker, quint64 count)
    {
        if (count < 15)
            return QByteArray(1, char(marker | count));
        if (count < 256)
            return QByteArray(1, char(marker | 0xF)) + char(0x10) + bigEndian(count, 1);
        return QByteArray(1, char(marker | 0xF)) + char(0x11) + bigEndian(count, 2);
    }

    int add(const QByteArray& object)
    {
        objects_.push_back(object);
        return int(objects_.size()) - 1;
    }
    // Reserves an index for an object given later (containers that refer forward or to themselves).
    int reserve() { return add(QByteArray()); }
    void set(int index, const QByteArray& object) { objects_[size_t(index)] = object; }

    // Equal texts share one object, as the platform's writer shares them.
    int ascii(const QString& text)
    {
        if (const auto found = asciiIndex_.find(text); found != asciiIndex_.end())
            return found->second;
        return asciiIndex_[text] = add(counted(0x50, quint64(text.size())) + text.toLatin1());
    }
    int utf16(const QString& text)
    {
        QByteArray out = counted(0x60, quint64(text.size()));
        for (const QChar c : text)
            out += bigEndian(c.unicode(), 2);
        return add(out);
    }
    // Width 1, 2, 4, 8 or 16 bytes.
    int integer(qint64 value, int width)
    {
        const int exponent = width == 1 ? 0 : width == 2 ? 1 : width == 4 ? 2 : width == 8 ? 3 : 4;
        QByteArray out(1, char(0x10 | exponent));
        if (width == 16)
            out += bigEndian(value < 0 ? ~quint64(0) : 0, 8) + bigEndian(quint64(value), 8);
        else
            out += bigEndian(quint64(value), width);
        return add(out);
    }
    int real(double value)
    {
        quint64 bits;
        std::memcpy(&bits, &value, sizeof bits);
        return add(QByteArray(1, char(0x23)) + bigEndian(bits, 8));
    }
    int boolean(bool value) { return add(QByteArray(1, char(value ? 0x09 : 0x08))); }
    int data(const QByteArray& bytes) { return add(counted(0x40, quint64(bytes.size())) + bytes); }
    // Width 0 takes the fewest bytes that hold the value.
    int uid(quint64 value, int width = 0)
    {
        while (width == 0 || (width < 8 && value >> (8 * width) != 0))
            ++width;
        return add(QByteArray(1, char(0x80 | (width - 1))) + bigEndian(value, width));
    }
    QByteArray reference(int index) const
    {
        if (referenceSize_ < 8 && quint64(index) >> (8 * referenceSize_) != 0)
            ADD_FAILURE() << "fixture reference does not fit " << referenceSize_ << " bytes";
        return bigEndian(quint64(index), referenceSize_);
    }
    QByteArray arrayBytes(const std::vector<int>& elements) const
    {
        QByteArray out = counted(0xA0, elements.size());
        for (const int element : elements)
            out += reference(element);
        return out;
    }
    int array(const std::vector<int>& elements) { return add(arrayBytes(elements)); }
    QByteArray dictionaryBytes(const std::vector<std::pair<int, int>>& entries) const
    {
        QByteArray out = counted(0xD0, entries.size());
        for (const auto& entry : entries)
            out += reference(entry.first);
        for (const auto& entry : entries)
            out += reference(entry.second);
        return out;
    }
    int dictionary(const std::vector<std::pair<int, int>>& entries)
    {
        return add(dictionaryBytes(entries));
    }

    // A class description of the keyed form: {$classname, $classes}.
    int keyedClass(const QStringList& chain)
    {
        std::vector<int> names;
        for (const QString& name : chain)
            names.push_back(ascii(name));
        return dictionary(
            { { ascii("$classname"), ascii(chain.first()) }, { ascii("$classes"), array(names) } });
    }
    // An archived object: its fields, then "$class".
    int keyedObject(std::vector<std::pair<int, int>> fields, int classUid)
    {
        fields.emplace_back(ascii("$class"), uid(quint64(classUid)));
        return dictionary(fields);
    }
    int uidArray(const std::vector<int>& uids, int width = 0)
    {
        std::vector<int> elements;
        for (const int value : uids)
            elements.push_back(uid(quint64(value), width));
        return array(elements);
    }

    // Header, objects in index order, offset table and trailer.
    QByteArray bytes(int root) const
    {
        QByteArray out("bplist00");
        QByteArray table;
        for (const QByteArray& object : objects_) {
            if (offsetSize_ < 8 && quint64(out.size()) >> (8 * offsetSize_) != 0)
                ADD_FAILURE() << "fixture offset does not fit " << offsetSize_ << " bytes";
            table += bigEndian(quint64(out.size()), offsetSize_);
            out += object;
        }
        const quint64 tableOffset = quint64(out.size());
        out += table;
        out += QByteArray(6, '\0');
        out += char(offsetSize_);
        out += char(referenceSize_);
        out += bigEndian(objects_.size(), 8) + bigEndian(quint64(root), 8)
            + bigEndian(tableOffset, 8);
        return out;
    }

    // The keyed-archiver root around a "$top" dictionary and an "$objects" array.
    QByteArray archive(int top, int objects)
    {
        const int root = dictionary({ { ascii("$archiver"), ascii("NSKeyedArchiver") },
            { ascii("$version"), integer(100000, 4) }, { ascii("$top"), top },
            { ascii("$objects"), objects } });
        return bytes(root);
    }

private:
    int referenceSize_;
    int offsetSize_;
    std::vector<QByteArray> objects_;
    std::map<QString, int> asciiIndex_;
};
