#pragma once

#include <map>
#include <optional>

namespace phonesim {

// A numbered store: the index range the phone offers and the entries it holds.
template <typename Entry>
struct IndexedStore {
    int first = 1;
    int last = 1;
    std::map<int, Entry> entries;

    int capacity() const { return last - first + 1; }
    int used() const { return int(entries.size()); }
    bool inRange(int index) const { return index >= first && index <= last; }
    // The lowest free index, or nothing when the store is full.
    std::optional<int> firstFree() const
    {
        for (int index = first; index <= last; ++index) {
            if (!entries.count(index))
                return index;
        }
        return std::nullopt;
    }
};

} // namespace phonesim
