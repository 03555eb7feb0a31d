#pragma once

#include "platform/pim/pim_types.h"

#include <QByteArray>
#include <QString>

#include <memory>

namespace pim {

// One item of the store: a file in one of its folders. The item is a copy: changes reach the
// file only through Save. The automation hands items out as untyped objects; ItemCast gives
// the typed one.
class Item {
public:
    virtual ~Item() = default;
    Item& operator=(const Item&) = delete;

    virtual OlItemType ItemType() const = 0;
    virtual std::unique_ptr<Item> Clone() const = 0;

    // The item's UID; empty until the first successful Save.
    QString EntryID() const { return m_entryId; }

    // Writes the item to its file atomically (user-only permissions); a new item gets a fresh
    // UID first. On failure the old file is untouched and the item keeps its changes.
    bool Save(Error* error = nullptr);
    // Removes the item's file. A file that is already gone (or an item never saved) gives
    // ErrorCode::NotFound, so that callers can tell "no longer exists" from a failure.
    bool Delete(Error* error = nullptr);

    // The file the item was read from or last saved to; empty for a new item.
    QString FilePath() const { return m_path; }

    // Reads an item file of a default folder; null (with ReadFailed) when the file cannot be
    // read or holds no item of the folder's kind.
    static std::unique_ptr<Item> Load(OlDefaultFolders folder, const QString& path, Error* error = nullptr);

protected:
    // folderPath: where a new item's file goes; path and entryId: those of a loaded item.
    Item(QString folderPath, QString path, QString entryId);
    // For Clone only.
    Item(const Item&) = default;

    // The file's bytes with the item's properties applied and uid as its UID.
    virtual bool Serialize(const QString& uid, QByteArray& bytes, Error* error) = 0;
    // Called after a successful write: the current values become the saved ones.
    virtual void Saved() = 0;
    virtual QString Extension() const = 0;

private:
    QString m_folder;
    QString m_path;
    QString m_entryId;
    QString m_pendingUid;
    bool m_deleted = false;
};

template <class T>
std::unique_ptr<T> ItemCast(std::unique_ptr<Item> item)
{
    if (T* typed = dynamic_cast<T*>(item.get())) {
        item.release();
        return std::unique_ptr<T>(typed);
    }
    return nullptr;
}

} // namespace pim
