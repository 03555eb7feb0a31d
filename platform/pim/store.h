#pragma once

#include "platform/pim/item.h"
#include "platform/pim/pim_types.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <memory>

namespace pim {

// $DESKHAND_PIM_DIR, else $XDG_DATA_HOME/deskhand/pim (~/.local/share/deskhand/pim).
QString DefaultStoreRoot();

// The folder store in the vdir layout: contacts/ (one .vcf per contact), calendar/ (one .ics
// per appointment) and notes/ (one .ics per note) under one root.
class Store {
public:
    explicit Store(QString root);

    const QString& Root() const { return m_root; }
    // A stable text naming the store: its absolute root path.
    QString StoreID() const;

    // Creates what is missing (user-only folders) and checks that every folder is writable.
    bool Open(Error* error);

    QString FolderPath(OlDefaultFolders folder) const;
    static QString FolderName(OlDefaultFolders folder);
    static QString Extension(OlDefaultFolders folder);
    // The file name of a UID: the UID itself when it is a safe file name, else a digest of it.
    static QString FileNameFor(const QString& uid, const QString& extension);

    // The item files of a folder, sorted by name; false when the folder cannot be read.
    bool ListFiles(OlDefaultFolders folder, QStringList& paths, Error* error) const;

    // The item with that EntryID in any folder: first under the file name its UID gives, then
    // through an index of every file (built on demand, rebuilt once when it proves stale).
    std::unique_ptr<Item> Find(const QString& entryId, Error* error);

private:
    struct Location {
        OlDefaultFolders folder;
        QString path;
    };
    std::unique_ptr<Item> loadIfMatches(const Location& location, const QString& entryId) const;
    void buildIndex();

    QString m_root;
    QHash<QString, Location> m_index;
    bool m_indexed = false;
};

} // namespace pim
