#include "platform/folders.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <unistd.h>

#ifndef DESKHAND_SHARE_DIR
#define DESKHAND_SHARE_DIR "/usr/local/share"
#endif

namespace platform {

namespace {

QString withSlash(QString dir)
{
    if (!dir.isEmpty() && !dir.endsWith(u'/'))
        dir += u'/';
    return dir;
}

bool isWritableDir(const QString& dir)
{
    return !dir.isEmpty() && ::access(QFile::encodeName(dir).constData(), W_OK) == 0;
}

} // namespace

QString ProgramDir()
{
    const QFileInfo exe(QStringLiteral("/proc/self/exe"));
    const QString target = exe.symLinkTarget();
    return target.isEmpty() ? QString() : withSlash(QFileInfo(target).absolutePath());
}

QString DataDir(const QString& programName)
{
    QString dir = qEnvironmentVariable("DESKHAND_DATA_DIR");
    if (dir.isEmpty()) {
        const QString program = ProgramDir();
        if (isWritableDir(program)) {
            dir = program;
        } else {
            QString base = qEnvironmentVariable("XDG_DATA_HOME");
            if (base.isEmpty())
                base = QDir::homePath() + QStringLiteral("/.local/share");
            dir = base + u'/' + programName;
        }
    }
    QDir().mkpath(dir);
    return withSlash(dir);
}

QString FindResource(const QString& relativePath, const QString& programName)
{
    // Beside the program (the build tree), then the share folder of the prefix the program
    // was installed under (bin/../share), then the one it was configured for.
    const QString program = ProgramDir();
    const QString installed = program.isEmpty() ? QString()
                                                : withSlash(QDir::cleanPath(program + QStringLiteral("../share/") + programName));
    const QString share = withSlash(QStringLiteral(DESKHAND_SHARE_DIR)) + programName + u'/';
    for (const QString& dir : {program, installed, share}) {
        if (dir.isEmpty())
            continue;
        const QString path = dir + relativePath;
        if (QFileInfo::exists(path))
            return path;
    }
    return {};
}

bool WriteFileAtomically(const QString& path, const QByteArray& data, QString* error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (file.write(data) != data.size()) {
        if (error)
            *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    // QSaveFile::commit() renames a short file after a write that failed part-way (full disk,
    // file size limit); the explicit flush reports that failure.
    if (!file.flush()) {
        if (error)
            *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace platform
