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
    // be created or written. Logging on again is harmless.
    bool Logon(Error* error = nullptr);
    void Logoff();
    bool LoggedOn() const { return m_loggedOn; }

    std::unique_ptr<MAPIFolder> GetDefaultFolder(OlDefaultFolders folder, Error* error = nullptr) const;
    // The item with that EntryID, of any kind. A storeId other than this store's finds nothing;
    // an empty one means this store. Null with NotFound when there is no such item.
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
