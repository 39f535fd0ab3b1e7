#include "platform/KeyedArchiveObject.h"

#include <algorithm>

const KeyedArchiveField* KeyedArchiveObject::field(const QString& key) const
{
    const auto found = std::find_if(
        fields.begin(), fields.end(), [&key](const KeyedArchiveField& f) { return f.key == key; });
    return found == fields.end() ? nullptr : &*found;
}
