#include "platform/pim/mapi_folder.h"

#include "platform/pim/store.h"

namespace pim {

std::unique_ptr<pim::Items> MAPIFolder::Items(Error* error) const
{
    std::vector<std::unique_ptr<Item>> items;
    if (!Store(m_root).ReadItems(m_folder, items, error))
        return nullptr;
    return std::unique_ptr<pim::Items>(new pim::Items(std::move(items)));
}

} // namespace pim
