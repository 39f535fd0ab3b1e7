#pragma once

#include <algorithm>
#include <memory>
#include <vector>

// Takes `item` out of `owned`, handing over its ownership; null when it is not there.
template <typename Item>
std::unique_ptr<Item> takeOwned(std::vector<std::unique_ptr<Item>>& owned, const Item* item)
{
    const auto it = std::find_if(owned.begin(), owned.end(),
        [item](const std::unique_ptr<Item>& candidate) { return candidate.get() == item; });
    if (it == owned.end()) {
        return nullptr;
    }
    std::unique_ptr<Item> taken = std::move(*it);
    owned.erase(it);
    return taken;
}
