#pragma once

#include "platform/pim/item.h"
#include "platform/pim/mapi_folder.h"
#include "platform/pim/pim_types.h"
#include "platform/pim/store.h"

#include <QString>

#include <memory>

namespace pim {

// The "MAPI" namespace: the session on the store.
class NameSpace {
public:
    // Opens the store: creates what is missing; refuses (StoreUnavailable) a store that cannot
    // be created or read. A read-only store is opened for reading: its writes fail with their
    // reason. Logging on again is harmless.
    bool Logon(Error* error = nullptr);
    void Logoff();
    bool LoggedOn() const { return m_loggedOn; }

    std::unique_ptr<MAPIFolder> GetDefaultFolder(OlDefaultFolders folder, Error* error = nullptr) const;
    // The item with that EntryID in the folder whose StoreID is given (a folder's StoreID names
    // that folder alone, so an item of another kind with the same UID is never taken), or in
    // any folder for the whole store's StoreID or an empty one. Null with NotFound when there
    // is no such item, or the StoreID names nothing of this store.
    std::unique_ptr<Item> GetItemFromID(const QString& entryId, const QString& storeId = QString(),
                                        Error* error = nullptr);

private:
    friend class Application;
    explicit NameSpace(const QString& root) : m_store(root) {}

    bool checkLoggedOn(Error* error) const;

    Store m_store;
    bool m_loggedOn = false;
};

} // namespace pim
