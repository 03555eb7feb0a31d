#pragma once

#include "platform/pim/item.h"
#include "platform/pim/name_space.h"
#include "platform/pim/pim_types.h"
#include "platform/pim/store.h"

#include <QString>

#include <memory>

namespace pim {

// The PIM application object: the entry to a store (a folder in the vdir layout).
class Application {
public:
    // storeRoot: the store's folder; by default $DESKHAND_PIM_DIR or the user's data folder.
    explicit Application(QString storeRoot = DefaultStoreRoot()) : m_root(std::move(storeRoot)) {}

    // The "MAPI" namespace (the only one there is); null (InvalidArgument) for any other type.
    std::unique_ptr<NameSpace> GetNamespace(const QString& type, Error* error = nullptr) const;
    // A new, unsaved item of that type, whose Save puts it into its default folder.
    std::unique_ptr<Item> CreateItem(OlItemType itemType, Error* error = nullptr) const;

    const QString& StoreRoot() const { return m_root; }

private:
    QString m_root;
};

} // namespace pim
