#include "platform/pim/mapi_folder.h"

#include "platform/pim/store.h"

namespace pim {

std::unique_ptr<pim::Items> MAPIFolder::Items(Error* error) const
{
    QStringList paths;
    if (!Store(m_root).ListFiles(m_folder, paths, error))
        return nullptr;
    std::vector<std::unique_ptr<Item>> items;
    items.reserve(size_t(paths.size()));
    for (const QString& path : paths) {
        // A file another program left that is not an item of this folder is no item of it.
        if (std::unique_ptr<Item> item = Item::Load(m_folder, path))
            items.push_back(std::move(item));
    }
    return std::unique_ptr<pim::Items>(new pim::Items(std::move(items)));
}

} // namespace pim
