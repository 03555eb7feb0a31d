#pragma once

#include "platform/pim/items.h"
#include "platform/pim/pim_types.h"

#include <QString>

#include <memory>

namespace pim {

// One default folder of the store.
class MAPIFolder {
public:
    // Reads the folder: every item of its files, parsed now (see Store::ReadItems). Null
    // (ReadFailed) when the folder cannot be read.
    std::unique_ptr<pim::Items> Items(Error* error = nullptr) const;
    // Names this folder for NameSpace::GetItemFromID, which then looks in it alone.
    QString StoreID() const { return m_storeId; }
    OlDefaultFolders FolderType() const { return m_folder; }

private:
    friend class NameSpace;
    MAPIFolder(OlDefaultFolders folder, QString root, QString storeId)
        : m_folder(folder), m_root(std::move(root)), m_storeId(std::move(storeId))
    {
    }

    OlDefaultFolders m_folder;
    QString m_root;
    QString m_storeId;
};

} // namespace pim
