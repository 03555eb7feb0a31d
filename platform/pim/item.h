#pragma once

#include "platform/pim/component_file.h"
#include "platform/pim/pim_types.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <utility>
#include <vector>

namespace pim {

// One item of the store: a component of a file in one of its folders (a card of a .vcf, an
// event with the moved occurrences of its series beside it, a journal). A file may hold several
// items, and several files may hold items with one UID: the EntryID names the file and the
// component (see Store). The item is a copy: changes reach the file only through Save, and they
// touch the item's own components alone; every other byte of the file stays as it was. The
// automation hands items out as untyped objects; ItemCast gives the typed one.
class Item {
public:
    virtual ~Item() = default;
    Item& operator=(const Item&) = delete;

    virtual OlItemType ItemType() const = 0;
    virtual std::unique_ptr<Item> Clone() const = 0;

    // Empty until the first successful Save.
    QString EntryID() const { return m_entryId; }

    // Writes the item's components into its file atomically (user-only permissions); a new item
    // gets a file of its own and a fresh UID first. What the save makes of every file it changes
    // (a series' moved occurrences may stand in other files) is worked out before anything is
    // written: a change the store cannot make safely, or a file changed by another program since
    // it was read, is refused (InvalidArgument) with its reason, one that cannot be read fails
    // (ReadFailed). The item's own file is written last, and when a write fails those already
    // written are put back: on failure the files are as they were (the error names any that
    // could not be put back) and the item keeps its changes, so that a retry makes all of them.
    bool Save(Error* error = nullptr);
    // Removes the item's components from its file, and the file when nothing else is left in
    // it, and a series' moved occurrences from other files, as Save writes: all or none. A
    // component that is already gone (or an item never saved) gives ErrorCode::NotFound, so
    // that callers can tell "no longer exists" from a failure.
    bool Delete(Error* error = nullptr);

    // The file the item was read from or last saved to; empty for a new item.
    QString FilePath() const { return m_path; }

    // The UID that names the item (its file's base name when it has none), and whether the item
    // is one moved occurrence of a series whose master is not in its file.
    QString Key() const;
    bool IsOccurrence() const { return m_occurrence; }
    // The EntryID that names this component of this file whatever other items share its UID.
    QString QualifiedEntryID() const;

    // Every item of a file of a default folder in its order; none (with ReadFailed) when the
    // file cannot be read or holds no item of the folder's kind. Each is named by its Key, but a
    // later one of a Key already taken in the file by its QualifiedEntryID; the store renames
    // items whose Key is taken by another file.
    static std::vector<std::unique_ptr<Item>> LoadAll(OlDefaultFolders folder, const QString& path,
                                                      Error* error = nullptr);

protected:
    // What a change makes of one file: the new text of some of its components (empty removes one).
    struct FileChange {
        QString path;
        ComponentFile asRead;
        std::vector<std::pair<size_t, QByteArray>> texts;
    };

    // A new item whose file will go to folderPath.
    explicit Item(QString folderPath);
    // An item read from the spans of file at path (its own component first).
    Item(QString folderPath, QString path, ComponentFile file, std::vector<size_t> spans, bool occurrence);
    // For Clone only.
    Item(const Item&) = default;

    // A new item's whole file, with uid as its UID.
    virtual bool SerializeNew(const QString& uid, QByteArray& bytes, Error* error) = 0;
    // The text of each of the item's spans, in their order (empty to remove one). uid: a UID for a
    // component that has none, or empty to leave it without.
    virtual bool SerializeSpans(const QString& uid, std::vector<QByteArray>& texts, Error* error) = 0;
    // What a save or a delete of the item changes in other files of its folder.
    virtual bool OtherFileChanges(bool deleting, std::vector<FileChange>& changes, Error* error);
    // Called after a successful write: the current values become the saved ones.
    virtual void Saved() = 0;
    virtual QString Extension() const = 0;

    const ComponentFile& File() const { return m_file; }
    const std::vector<size_t>& Spans() const { return m_spans; }
    QString FolderPath() const { return m_folder; }

private:
    friend class Store;
    void SetEntryID(const QString& entryId) { m_entryId = entryId; }
    // The change of the item's own file, and the other files' changes after it.
    bool planSave(std::vector<FileChange>& changes, Error* error);
    // The UID for a component without one: its Key, when that names no other component.
    QString uidToAdd() const;

    QString m_folder;
    QString m_path;
    QString m_entryId;
    QString m_pendingUid;
    ComponentFile m_file;        // the file as last read or written
    std::vector<size_t> m_spans; // the item's components in it
    bool m_occurrence = false;
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
