#pragma once

#include "foundation/strings/UFemNumberFormatter.h"
#include "graphics/colorscale/UFemColorScale.h"

#include <QString>
#include <QVariantMap>

#include <memory>
#include <optional>
#include <variant>
#include <vector>

// A colour scale held by a folder item: shared by the snapshots' readers, never changed.
using UFemFolderItemColorScale = std::shared_ptr<const UFemColorScale>;

// The payload of a folder item: a view-preferences dictionary, a card filter or expression list
// text, a colour scale or a number formatter; none when the stored item had no object.
using UFemFolderItemObject = std::variant<std::monostate, QVariantMap, QString,
    UFemFolderItemColorScale, UFemNumberFormatter>;

// One named, ordered preset of a folder array. An immutable value.
class UFemFolderItem {
public:
    static UFemFolderItem folderItemWithNameString(
        std::optional<QString> nameString, quint64 orderHintNumber, UFemFolderItemObject object);

    const std::optional<QString>& nameString() const { return nameString_; }
    quint64 orderHintNumber() const { return orderHintNumber_; }
    const UFemFolderItemObject& object() const { return object_; }

private:
    UFemFolderItem(
        std::optional<QString> nameString, quint64 orderHintNumber, UFemFolderItemObject object);

    std::optional<QString> nameString_;
    quint64 orderHintNumber_ = 0;
    UFemFolderItemObject object_;
};

// Sorted by order hint; items with equal hints keep the order they were stored in.
using UFemFolderArray = std::vector<UFemFolderItem>;
