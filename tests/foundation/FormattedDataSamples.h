#pragma once

// Sample contents for the container tests and the fuzz seeds: one component of every value type,
// with the expected bytes in memory order.

#include "foundation/buffers/UFormattedData.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstring>
#include <vector>

struct FormattedDataSample {
    quint64 identifier;
    const char* name;
    quint64 valueType;
    QByteArray memoryBytes; // numeric and raw types; the reserved type's length
    QString string;
    QStringList stringArray;
};

template <typename T> QByteArray bytesOfValues(std::initializer_list<T> values)
{
    QByteArray bytes(qsizetype(values.size() * sizeof(T)), '\0');
    std::memcpy(bytes.data(), values.begin(), size_t(bytes.size()));
    return bytes;
}

inline std::vector<FormattedDataSample> formattedDataSamples()
{
    return {
        { 1, "doubles", 1, bytesOfValues<double>({ 1.5, -2.25, 1e300 }), {}, {} },
        { 11, "int64", 11, bytesOfValues<qint64>({ 1, -1, 0x0102030405060708 }), {}, {} },
        { 107, "words8", 107, bytesOfValues<quint64>({ 0xFEDCBA9876543210ull }), {}, {} },
        { 3, "floats", 3, bytesOfValues<float>({ 1.5f, -0.25f, 3.0f }), {}, {} },
        { 12, "int32", 12, bytesOfValues<qint32>({ -7, 0x01020304 }), {}, {} },
        { 105, "words4", 105, bytesOfValues<quint32>({ 0xDEADBEEF }), {}, {} },
        { 23, "int16", 23, bytesOfValues<qint16>({ 1, -2, 0x0102 }), {}, {} },
        { 103, "words2", 103, bytesOfValues<quint16>({ 0xABCD, 7 }), {}, {} },
        { 21, "raw21", 21, QByteArray("\x01\x02\x03\x04\x05", 5), {}, {} },
        { 101, "raw101", 101, QByteArray("abc"), {}, {} },
        { 901, "raw901", 901, QByteArray("\xff\x00\xfe", 3), {}, {} },
        { 999, "raw999", 999, QByteArray("0123456789"), {}, {} },
        { 201, "title", 201, {}, QStringLiteral("Beam \u00e9l\u00e9ment \u2713"), {} },
        { 202, "labels", 202, {}, {},
            { QStringLiteral("alpha"), QString(), QStringLiteral("\u03b2eta") } },
        { 801, "reserved", 801, QByteArray(12, '\0'), {}, {} },
    };
}

inline std::vector<_UFormattedDataComponent> componentsOfSamples(
    const std::vector<FormattedDataSample>& samples)
{
    std::vector<_UFormattedDataComponent> components;
    for (const FormattedDataSample& sample : samples) {
        _UFormattedDataComponent component;
        component.identifier = sample.identifier;
        component.name = sample.name;
        component.valueType = sample.valueType;
        component.string = sample.string;
        component.stringArray = sample.stringArray;
        component.bytes = sample.memoryBytes.constData();
        component.length = quint64(sample.memoryBytes.size());
        components.push_back(component);
    }
    return components;
}

inline QByteArray writeSampleContainer(quint64 endianType)
{
    const std::vector<FormattedDataSample> samples = formattedDataSamples();
    const std::vector<_UFormattedDataComponent> components = componentsOfSamples(samples);
    UErrorPtr error;
    return UFormattedDataWithDataTypeNameString("VantrelSample", 3, endianType, 17, 0xFFFFFFFF,
        components.data(), components.size(), &error);
}
