#include "docshared/data_file.h"

#include "platform/folders.h"
#include "platform/string_table.h"
#include "platform/termination_signals.h"
#include "platform/ui_services.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

namespace docshared {

namespace {

const QString kDamagedSuffix = QStringLiteral(".damaged");
const QString kLegacySuffix = QStringLiteral(".legacy");

} // namespace

DataFileLoad LoadDataFile(const QString& path, const std::function<bool(CArchive&)>& parse, bool* keepFile,
                          QString* error)
{
    QFile file(path);
    const bool opened = file.open(QIODevice::ReadOnly);
    const QByteArray bytes = opened ? file.readAll() : QByteArray();
    if (!opened || file.error() != QFileDevice::NoError) {
        if (error)
            *error = file.errorString();
        return DataFileLoad::Unreadable;
    }
    CArchive ar(bytes);
    const bool whole = parse(ar);
    if (ar.ReadLegacyText() && !KeepLegacyCopy(path, bytes) && keepFile)
        *keepFile = true;
    if (whole)
        return DataFileLoad::Loaded;
    if (error)
        *error = QStringLiteral("the file ends early or holds damaged data");
    return DataFileLoad::Damaged;
}

bool KeepLegacyCopy(const QString& path, const QByteArray& bytes)
{
    for (int n = 1;; ++n) {
        const QString copy = platform::NumberedPath(path + kLegacySuffix, n);
        QFile file(copy);
        if (!file.exists())
            return platform::WriteFileAtomically(copy, bytes);
        if (file.open(QIODevice::ReadOnly) && file.readAll() == bytes)
            return true;
    }
}

bool SetAsideAfterLoad(DataFileLoad load, const QString& path, int movedTextId, int keptTextId)
{
    switch (load) {
    case DataFileLoad::Loaded:
        return false;
    case DataFileLoad::Unreadable:
        // Still the user's file (its permissions may be wrong for now): start with the
        // defaults, quietly, and never save over it.
        return true;
    case DataFileLoad::Damaged:
        break;
    }
    const QString aside = platform::NextFreePath(path + kDamagedSuffix);
    const bool moved = QFile::rename(path, aside);
    platform::AfxMessageBox(platform::LoadString(moved ? movedTextId : keptTextId).arg(moved ? aside : path),
                            platform::MB_ICONWARNING);
    return !moved;
}

bool LoadAtStartUp(const QString& path, const std::function<DataFileLoad()>& load, int movedTextId, int keptTextId)
{
    platform::RemoveStaleTemporaries(QFileInfo(path).absolutePath());
    return QFile::exists(path) && SetAsideAfterLoad(load(), path, movedTextId, keptTextId);
}

QString DescribeSaveFailures(const SaveFailures& failures)
{
    QStringList files;
    for (const SaveFailure& failure : failures)
        files << QStringLiteral("\"%1\" (%2)").arg(QDir::toNativeSeparators(failure.path), failure.reason);
    return files.join(QStringLiteral(", "));
}

bool QuitWithoutSaving(int questionTextId, const SaveFailures& failures)
{
    if (platform::TerminationRequested()) {
        qWarning("Not saved: %s; the previous copy was kept.", qPrintable(DescribeSaveFailures(failures)));
        return true;
    }
    return platform::AfxMessageBox(platform::LoadString(questionTextId).arg(DescribeSaveFailures(failures)),
                                   platform::MB_YESNO | platform::MB_ICONWARNING | platform::MB_DEFBUTTON2)
           == platform::IDYES;
}

bool SaveDataFile(const QString& path, const QByteArray& bytes, QString* error)
{
    platform::RemoveStaleTemporaries(QFileInfo(path).absolutePath());
    return platform::WriteFileAtomically(path, bytes, error);
}

QString FolderPath(const QString& dir)
{
    return dir.isEmpty() || dir.endsWith(u'/') ? dir : dir + u'/';
}

} // namespace docshared
