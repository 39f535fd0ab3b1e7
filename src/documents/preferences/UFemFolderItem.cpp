#include "documents/preferences/UFemFolderItem.h"

UFemFolderItem::UFemFolderItem(
    std::optional<QString> nameString, quint64 orderHintNumber, UFemFolderItemObject object)
    : nameString_(std::move(nameString))
    , orderHintNumber_(orderHintNumber)
    , object_(std::move(object))
{
}

UFemFolderItem UFemFolderItem::folderItemWithNameString(
    std::optional<QString> nameString, quint64 orderHintNumber, UFemFolderItemObject object)
{
    return UFemFolderItem(std::move(nameString), orderHintNumber, std::move(object));
}
