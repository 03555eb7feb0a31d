#pragma once

#include "platform/pim/item.h"

#include <memory>
#include <vector>

namespace pim {

// The items of a folder as they were when the folder was read, in file-name order and each
// file's own order, addressed 1..Count. Files that hold no readable item of the folder's kind
// add none.
class Items {
public:
    long Count() const { return long(m_items.size()); }
    // A copy of the item at a 1-based index; null (InvalidArgument) when out of range.
    std::unique_ptr<pim::Item> Item(long index, Error* error = nullptr) const;

private:
    friend class MAPIFolder;
    explicit Items(std::vector<std::unique_ptr<pim::Item>> items) : m_items(std::move(items)) {}

    std::vector<std::unique_ptr<pim::Item>> m_items;
};

} // namespace pim
