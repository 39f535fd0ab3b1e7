#include "platform/KeyedArchiveObject.h"

#include <algorithm>

const KeyedArchiveField* findKeyedArchiveField(
    const std::vector<KeyedArchiveField>& fields, const QString& key)
{
    const auto found = std::find_if(
        fields.begin(), fields.end(), [&key](const KeyedArchiveField& f) { return f.key == key; });
    return found == fields.end() ? nullptr : &*found;
}

const KeyedArchiveField* KeyedArchiveObject::field(const QString& key) const
{
    return findKeyedArchiveField(fields, key);
}
