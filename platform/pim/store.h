#pragma once

#include "platform/pim/item.h"
#include "platform/pim/pim_types.h"

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>

#include <array>
#include <memory>
#include <vector>

namespace pim {

// $DESKHAND_PIM_DIR, else $XDG_DATA_HOME/deskhand/pim (~/.local/share/deskhand/pim).
QString DefaultStoreRoot();

// The folder store in the vdir layout: contacts/ (.vcf files), calendar/ and notes/ (.ics
// files) under one root. Items written here get a file each; other programs' files may hold
// several items, and several files one UID. Each folder is a collection of its own: other
// programs may give items of different folders the same UID.
class Store {
public:
    explicit Store(QString root);

    const QString& Root() const { return m_root; }
    // A stable text naming the whole store: its absolute root path.
    QString StoreID() const;
    // A stable text naming one folder of it: the folder's absolute path.
    QString FolderID(OlDefaultFolders folder) const;

    // Creates what is missing (user-only folders) where it can, and removes the temporary files
    // that saves which were killed left in the folders. Refuses a root that is not a folder that
    // can be read; a store that cannot be written can still be read, and its writes fail one by
    // one with their reason.
    bool Open(Error* error);

    QString FolderPath(OlDefaultFolders folder) const;
    static QString FolderName(OlDefaultFolders folder);
    static QString Extension(OlDefaultFolders folder);
    // The file name of a UID: the UID itself when it is a safe file name, else a digest of it.
    static QString FileNameFor(const QString& uid, const QString& extension);

    // The item files of a folder, sorted by name; false when the folder cannot be read.
    bool ListFiles(OlDefaultFolders folder, QStringList& paths, Error* error) const;

    // Every item of a folder, in file-name order and each file's own order. A moved occurrence
    // whose series the folder holds is part of that series, not an item of its own. Items may
    // share a UID (copies, conflicts of a sync): the first of them is named by the UID (the one
    // in the file of the UID's own name, else the first in file-name order; a series before a
    // lone occurrence), every other one by its file and component (Item::QualifiedEntryID), so
    // that each EntryID names one item.
    bool ReadItems(OlDefaultFolders folder, std::vector<std::unique_ptr<Item>>& items, Error* error) const;

    // The item with that EntryID in one folder: one named by its file and component in that file;
    // one named by a UID first in the file of the UID's own name, then through an index of the
    // folder's files (built on demand; when it proves stale, brought up to date by reading only
    // the files that are new or changed). NotFound when the folder holds no such item.
    std::unique_ptr<Item> Find(OlDefaultFolders folder, const QString& entryId, Error* error);
    // The same in every folder, contacts first.
    std::unique_ptr<Item> Find(const QString& entryId, Error* error);

private:
    struct IndexedFile {
        QDateTime modified;
        qint64 size = 0;
        QStringList keys; // of the file's items
    };
    struct FolderIndex {
        QHash<QString, IndexedFile> files; // by path
        QHash<QString, QStringList> paths; // key -> the files that hold it, in name order
    };
    std::unique_ptr<Item> findIn(OlDefaultFolders folder, const QString& entryId);
    std::unique_ptr<Item> findByFileAndComponent(OlDefaultFolders folder, const QString& entryId) const;
    // The item the key names, among the files given: a series first, then a lone occurrence.
    std::unique_ptr<Item> firstOf(OlDefaultFolders folder, const QString& key, const QStringList& paths) const;
    void refreshIndex(OlDefaultFolders folder, FolderIndex& index) const;
    FolderIndex& indexOf(OlDefaultFolders folder);

    QString m_root;
    std::array<FolderIndex, 3> m_indexes;
};

} // namespace pim
