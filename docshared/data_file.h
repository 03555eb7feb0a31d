#pragma once

#include "platform/archive.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

// The local data files of both programs: archives with no header or checksum, read from bytes
// that may be cut short or damaged, and replaced whole on every save.
namespace docshared {

enum class DataFileLoad {
    Unreadable, // the file could not be opened or read: it is still the user's, leave it alone
    Damaged,    // read, but it ends early or holds values that cannot be: parse kept what it could
    Loaded,
};

// Reads the file at path and hands parse a loading archive over its bytes; parse takes what it
// can and answers whether the file was whole. A file with text in an old single-byte code page
// is first copied beside it (KeepLegacyCopy); *keepFile is set when that copy could not be made,
// since the next save would then lose the only copy of the old bytes.
DataFileLoad LoadDataFile(const QString& path, const std::function<bool(CArchive&)>& parse, bool* keepFile,
                          QString* error);

// Keeps the bytes of a data file with old single-byte text beside it, once: that text reads right
// only in the code page it was written in, and the next save rewrites it for good in the form
// that was decoded. The copy is path.legacy (.legacy.2, ... when another one is there); a copy
// with the same bytes already there is enough.
bool KeepLegacyCopy(const QString& path, const QByteArray& bytes);

// After a start-up load: a damaged file is moved out of reach of the next save (path.damaged,
// .damaged.2, ... beside earlier ones) and the user is told once, with the text movedTextId (%1
// the new path) or, when it cannot be moved, keptTextId (%1 the path). Returns true when the file
// must never be saved over: it could not be read, or it is damaged and still in its place.
bool SetAsideAfterLoad(DataFileLoad load, const QString& path, int movedTextId, int keptTextId);

// At start-up: what saves that were killed left in the file's folder is removed; when the file
// at path exists, load reads it, and a damaged one is then set aside as SetAsideAfterLoad does.
// Returns true when the file must never be saved over.
bool LoadAtStartUp(const QString& path, const std::function<DataFileLoad()>& load, int movedTextId, int keptTextId);

// A file that a save could not write, and why.
struct SaveFailure {
    QString path;
    QString reason;
};
using SaveFailures = std::vector<SaveFailure>;

// The files of failures as a box names them: "PATH" (reason), ", " between them.
QString DescribeSaveFailures(const SaveFailures& failures);

// When the save at exit failed: whether to quit all the same, losing what changed since the
// last save. The user decides (the box questionTextId, %1 the files that were not saved, Yes
// quits, No is the default). A request to end by a signal is not asked, since nobody may be
// there to answer: it quits, and says on stderr which files were not saved.
bool QuitWithoutSaving(int questionTextId, const SaveFailures& failures);

// Replaces the file at path whole (platform::WriteFileAtomically), after removing what saves
// that were killed left in its folder. On failure the old file stays and error says why.
bool SaveDataFile(const QString& path, const QByteArray& bytes, QString* error = nullptr);

// A data folder as the documents keep it: with a trailing '/', or empty for the current folder.
QString FolderPath(const QString& dir);

// Reads a count and that many records of a list, each made with its defaults and filled by its
// Serialize. A count larger than the bytes left can hold means the file was cut inside this
// list: the records read whole before the cut are kept all the same, and since every record
// takes some bytes a false count ends with the data. Records marked deleted are dropped when
// dropDeleted is set. False (and the archive failed) when the list could not be read whole.
template <typename Record>
bool ReadRecordList(CArchive& ar, std::vector<std::unique_ptr<Record>>& list, bool dropDeleted)
{
    qint32 count = 0;
    ar >> count;
    if (!ar.ok() || count < 0) {
        ar.SetFailed();
        return false;
    }
    for (qint32 i = 0; i < count; ++i) {
        auto record = std::make_unique<Record>();
        record->Serialize(ar);
        if (!ar.ok())
            return false;
        if (dropDeleted && record->IsDeleted())
            continue;
        list.push_back(std::move(record));
    }
    return true;
}

// The size of the list, dead records included, then every record in list order.
template <typename Record>
void WriteRecordList(CArchive& ar, const std::vector<std::unique_ptr<Record>>& list)
{
    ar << qint32(list.size());
    for (const auto& record : list)
        record->Serialize(ar);
}

// Each list in turn.
template <typename... Lists>
void WriteRecordLists(CArchive& ar, const Lists&... lists)
{
    (WriteRecordList(ar, lists), ...);
}

} // namespace docshared
