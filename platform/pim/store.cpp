#include "platform/pim/store.h"

#include "platform/folders.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace pim {

namespace {

constexpr OlDefaultFolders kFolders[] = {olFolderContacts, olFolderCalendar, olFolderNotes};

QString systemError(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

// Creates dir and its missing parents with user-only permissions.
bool makeFolder(const QString& dir, QString& why)
{
    const QFileInfo info(dir);
    if (info.isDir())
        return true;
    if (info.exists() || info.isSymLink()) {
        why = QStringLiteral("%1 is not a folder").arg(dir);
        return false;
    }
    const QString parent = info.absolutePath();
    if (parent != info.absoluteFilePath() && !makeFolder(parent, why))
        return false;
    if (::mkdir(QFile::encodeName(dir).constData(), 0700) != 0 && errno != EEXIST) {
        why = QStringLiteral("Cannot create %1: %2").arg(dir, systemError(errno));
        return false;
    }
    return true;
}

bool isSafeFileName(const QString& uid)
{
    if (uid.isEmpty() || uid.size() > 200 || uid.startsWith(u'.'))
        return false;
    return std::all_of(uid.begin(), uid.end(), [](QChar c) {
        const char16_t u = c.unicode();
        return (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9') || u == '-' ||
               u == '_' || u == '.' || u == '@' || u == '+';
    });
}

} // namespace

QString DefaultStoreRoot()
{
    const QString configured = qEnvironmentVariable("DESKHAND_PIM_DIR");
    if (!configured.isEmpty())
        return configured;
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.local/share");
    return base + QStringLiteral("/deskhand/pim");
}

Store::Store(QString root) : m_root(std::move(root)) {}

QString Store::StoreID() const
{
    return QDir::cleanPath(QDir(m_root).absolutePath());
}

QString Store::FolderID(OlDefaultFolders folder) const
{
    return QDir::cleanPath(QDir(FolderPath(folder)).absolutePath());
}

bool Store::Open(Error* error)
{
    if (m_root.isEmpty())
        return Fail(error, ErrorCode::StoreUnavailable, QStringLiteral("No folder is set for the PIM store"));
    QString why;
    if (!makeFolder(m_root, why))
        return Fail(error, ErrorCode::StoreUnavailable, why);
    if (::access(QFile::encodeName(m_root).constData(), R_OK | X_OK) != 0)
        return Fail(error, ErrorCode::StoreUnavailable,
                    QStringLiteral("Cannot read %1: %2").arg(m_root, systemError(errno)));
    for (OlDefaultFolders folder : kFolders) {
        const QString dir = FolderPath(folder);
        const QFileInfo info(dir);
        if ((info.exists() || info.isSymLink()) && !info.isDir())
            return Fail(error, ErrorCode::StoreUnavailable, QStringLiteral("%1 is not a folder").arg(dir));
        // In a store that is read-only a missing folder stays missing: reading it fails, and
        // so does writing to it, each with its reason.
        makeFolder(dir, why);
        // What saves that were killed left there.
        platform::RemoveStaleTemporaries(dir);
    }
    m_indexes = {};
    return true;
}

QString Store::FolderName(OlDefaultFolders folder)
{
    switch (folder) {
    case olFolderContacts:
        return QStringLiteral("contacts");
    case olFolderCalendar:
        return QStringLiteral("calendar");
    case olFolderNotes:
        return QStringLiteral("notes");
    }
    return {};
}

QString Store::Extension(OlDefaultFolders folder)
{
    return folder == olFolderContacts ? QStringLiteral(".vcf") : QStringLiteral(".ics");
}

QString Store::FolderPath(OlDefaultFolders folder) const
{
    return m_root + u'/' + FolderName(folder);
}

QString Store::FileNameFor(const QString& uid, const QString& extension)
{
    if (isSafeFileName(uid))
        return uid + extension;
    return QString::fromLatin1(QCryptographicHash::hash(uid.toUtf8(), QCryptographicHash::Sha1).toHex()) +
           extension;
}

bool Store::ListFiles(OlDefaultFolders folder, QStringList& paths, Error* error) const
{
    const QDir dir(FolderPath(folder));
    if (!dir.exists())
        return Fail(error, ErrorCode::ReadFailed, QStringLiteral("The folder %1 does not exist").arg(dir.path()));
    // A folder that cannot be listed would read as an empty one.
    if (::access(QFile::encodeName(dir.path()).constData(), R_OK | X_OK) != 0)
        return Fail(error, ErrorCode::ReadFailed, QStringLiteral("Cannot read %1: %2").arg(dir.path(), systemError(errno)));
    const QString extension = Extension(folder);
    QStringList names = dir.entryList(QStringList{u'*' + extension}, QDir::Files | QDir::Readable);
    // Plain code-point order, independent of the locale, so that Item(i) is stable.
    std::sort(names.begin(), names.end());
    paths.clear();
    for (const QString& name : names)
        paths.append(dir.filePath(name));
    return true;
}

Store::FolderIndex& Store::indexOf(OlDefaultFolders folder)
{
    switch (folder) {
    case olFolderContacts:
        return m_indexes[0];
    case olFolderCalendar:
        return m_indexes[1];
    case olFolderNotes:
        break;
    }
    return m_indexes[2];
}

bool Store::ReadItems(OlDefaultFolders folder, std::vector<std::unique_ptr<Item>>& items, Error* error) const
{
    QStringList paths;
    if (!ListFiles(folder, paths, error))
        return false;
    std::vector<std::unique_ptr<Item>> all;
    for (const QString& path : paths) {
        // A file another program left that holds no item of this folder adds none.
        for (std::unique_ptr<Item>& item : Item::LoadAll(folder, path))
            all.push_back(std::move(item));
    }
    QSet<QString> series;
    for (const auto& item : all) {
        if (!item->IsOccurrence())
            series.insert(item->Key());
    }
    std::erase_if(all, [&](const std::unique_ptr<Item>& item) { return item->IsOccurrence() && series.contains(item->Key()); });
    // The item each key names: in the key's own file first, else the first in order.
    QHash<QString, const Item*> named;
    const QString extension = Extension(folder);
    for (const auto& item : all) {
        const QString key = item->Key();
        const Item*& first = named[key];
        const bool ownFile = QFileInfo(item->FilePath()).fileName() == FileNameFor(key, extension);
        if (!first || (ownFile && QFileInfo(first->FilePath()).fileName() != FileNameFor(key, extension)))
            first = item.get();
    }
    for (auto& item : all)
        item->SetEntryID(named.value(item->Key()) == item.get() ? item->Key() : item->QualifiedEntryID());
    items = std::move(all);
    return true;
}

std::unique_ptr<Item> Store::firstOf(OlDefaultFolders folder, const QString& key, const QStringList& paths) const
{
    for (const bool occurrence : {false, true}) {
        for (const QString& path : paths) {
            if (!QFileInfo::exists(path))
                continue;
            for (std::unique_ptr<Item>& item : Item::LoadAll(folder, path)) {
                if (item->Key() == key && item->IsOccurrence() == occurrence) {
                    item->SetEntryID(key);
                    return std::move(item);
                }
            }
        }
    }
    return nullptr;
}

void Store::refreshIndex(OlDefaultFolders folder, FolderIndex& index) const
{
    QStringList paths;
    if (!ListFiles(folder, paths, nullptr))
        paths.clear();
    QHash<QString, IndexedFile> files;
    index.paths.clear();
    for (const QString& path : paths) {
        const QFileInfo info(path);
        IndexedFile file{info.lastModified(), info.size(), {}};
        const auto known = index.files.constFind(path);
        if (known != index.files.constEnd() && known->modified == file.modified && known->size == file.size) {
            file.keys = known->keys;
        } else {
            for (const std::unique_ptr<Item>& item : Item::LoadAll(folder, path)) {
                if (!file.keys.contains(item->Key()))
                    file.keys.append(item->Key());
            }
        }
        for (const QString& key : file.keys)
            index.paths[key].append(path);
        files.insert(path, file);
    }
    index.files = std::move(files);
}

namespace {

QString unescapePart(QStringView text, bool& ok)
{
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'%') {
            out += text[i];
            continue;
        }
        const uint code = i + 2 < text.size() ? text.mid(i + 1, 2).toUInt(&ok, 16) : 0;
        if (i + 2 >= text.size() || !ok) {
            ok = false;
            return {};
        }
        out += QChar(char16_t(code));
        i += 2;
    }
    return out;
}

} // namespace

std::unique_ptr<Item> Store::findByFileAndComponent(OlDefaultFolders folder, const QString& entryId) const
{
    const QStringList parts = entryId.split(u'#');
    if (parts.size() < 2 || parts.size() > 4)
        return nullptr;
    bool ok = true;
    const QString fileName = unescapePart(parts[0], ok);
    ComponentKey key;
    key.uid = unescapePart(parts[1], ok);
    for (qsizetype i = 2; ok && i < parts.size(); ++i) {
        if (parts[i].startsWith(u"r="))
            key.recurrenceId = unescapePart(QStringView(parts[i]).mid(2), ok);
        else if (parts[i].startsWith(u"n="))
            key.ordinal = parts[i].mid(2).toInt(&ok);
        else
            ok = false;
    }
    if (!ok || key.ordinal < 1 || !fileName.endsWith(Extension(folder)) || fileName.contains(u'/') ||
        fileName.startsWith(u'.'))
        return nullptr;
    const QString path = FolderPath(folder) + u'/' + fileName;
    if (!QFileInfo(path).isFile())
        return nullptr;
    for (std::unique_ptr<Item>& item : Item::LoadAll(folder, path)) {
        ComponentKey own = item->m_file.Spans()[item->m_spans.front()].key;
        own.kind.clear();
        if (own == key) {
            item->SetEntryID(item->QualifiedEntryID());
            return std::move(item);
        }
    }
    return nullptr;
}

std::unique_ptr<Item> Store::findIn(OlDefaultFolders folder, const QString& entryId)
{
    if (entryId.contains(u'#')) {
        if (std::unique_ptr<Item> item = findByFileAndComponent(folder, entryId))
            return item;
    }
    // The key's own file, then the others that hold it in name order.
    const QString own = FolderPath(folder) + u'/' + FileNameFor(entryId, Extension(folder));
    if (std::unique_ptr<Item> item = firstOf(folder, entryId, {own}); item && !item->IsOccurrence())
        return item;
    // Files written by other programs may have any name.
    FolderIndex& index = indexOf(folder);
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (attempt == 1)
            refreshIndex(folder, index);
        QStringList paths = index.paths.value(entryId);
        paths.removeAll(own);
        paths.prepend(own);
        if (std::unique_ptr<Item> item = firstOf(folder, entryId, paths))
            return item;
    }
    return nullptr;
}

std::unique_ptr<Item> Store::Find(OlDefaultFolders folder, const QString& entryId, Error* error)
{
    if (entryId.isEmpty()) {
        Fail(error, ErrorCode::InvalidArgument, QStringLiteral("The EntryID is empty"));
        return nullptr;
    }
    if (std::unique_ptr<Item> item = findIn(folder, entryId))
        return item;
    Fail(error, ErrorCode::NotFound,
         QStringLiteral("The folder %1 holds no item with the EntryID %2").arg(FolderName(folder), entryId));
    return nullptr;
}

std::unique_ptr<Item> Store::Find(const QString& entryId, Error* error)
{
    if (entryId.isEmpty()) {
        Fail(error, ErrorCode::InvalidArgument, QStringLiteral("The EntryID is empty"));
        return nullptr;
    }
    for (OlDefaultFolders folder : kFolders) {
        if (std::unique_ptr<Item> item = findIn(folder, entryId))
            return item;
    }
    Fail(error, ErrorCode::NotFound, QStringLiteral("No item has the EntryID %1").arg(entryId));
    return nullptr;
}

} // namespace pim
