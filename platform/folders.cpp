#include "platform/folders.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

#include <cerrno>
#include <cstdlib>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
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

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor()
    {
        if (valid())
            ::close(m_fd);
    }
    FileDescriptor(FileDescriptor&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    FileDescriptor& operator=(FileDescriptor&&) = delete;

    bool valid() const { return m_fd >= 0; }
    int get() const { return m_fd; }

private:
    int m_fd;
};

bool writeAll(int fd, const QByteArray& data)
{
    const char* p = data.constData();
    qsizetype left = data.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        p += n;
        left -= n;
    }
    return true;
}

// Best effort: some file systems cannot sync a folder, and the file itself is already synced.
void syncFolder(int fd)
{
    while (::fsync(fd) != 0 && errno == EINTR) {
    }
}

// A save's temporary file is "<name>.deskhand-save-XXXXXX" beside the file it replaces, locked
// (flock) from its creation until it has been renamed: a temporary that nobody holds was left
// by a save that was killed.
constexpr char kTemporaryTag[] = ".deskhand-save-";
constexpr int kTemporaryRandomLength = 6; // what mkostemp fills in

bool isTemporaryName(const QString& name)
{
    static const QRegularExpression pattern(QStringLiteral("^.+%1[A-Za-z0-9]{%2}$")
                                                .arg(QRegularExpression::escape(QString::fromLatin1(kTemporaryTag)))
                                                .arg(kTemporaryRandomLength));
    return pattern.match(name).hasMatch();
}

bool lockedByNobody(int fd)
{
    return ::flock(fd, LOCK_EX | LOCK_NB) == 0;
}

// Whether name is still the file open at fd.
bool namesFile(const QByteArray& name, int fd)
{
    struct stat named {};
    struct stat opened {};
    return ::lstat(name.constData(), &named) == 0 && ::fstat(fd, &opened) == 0 && named.st_dev == opened.st_dev
           && named.st_ino == opened.st_ino;
}

// A temporary file of its own for a save of targetName, locked until it is closed. Between its
// creation and its lock a sweep may take it for a stale one: when the sweep holds it, or has
// already removed its name, this save makes another. Once locked under its name, no sweep
// touches it.
FileDescriptor makeTemporary(const QByteArray& targetName, QByteArray& tempName)
{
    for (int attempt = 0; attempt < 8; ++attempt) {
        tempName = targetName + kTemporaryTag + QByteArray(kTemporaryRandomLength, 'X');
        // mkostemp creates the file with user-only permissions, before any byte is in it.
        FileDescriptor temp(::mkostemp(tempName.data(), O_CLOEXEC));
        if (!temp.valid())
            return temp;
        if (lockedByNobody(temp.get())) {
            if (namesFile(tempName, temp.get()))
                return temp;
            continue; // swept before the lock: the name is gone
        }
        // A file system without locks gets its saves all the same; its temporaries stay.
        if (errno != EWOULDBLOCK)
            return temp;
        ::unlink(tempName.constData());
    }
    errno = EBUSY;
    return FileDescriptor(-1);
}

// A save keeps the permissions of the file it replaces, so that a file shared with a group stays
// shared; a new file stays user-only. It grants no more than the old file did, and only to whom
// it did: when the new copy cannot have the old file's group, the group loses its rights. A link
// at the name is replaced, so its target's permissions are never taken.
void keepPermissions(int tempFd, const QByteArray& targetName)
{
    struct stat old {};
    struct stat temp {};
    if (::lstat(targetName.constData(), &old) != 0 || !S_ISREG(old.st_mode) || ::fstat(tempFd, &temp) != 0)
        return;
    mode_t mode = (old.st_mode & (S_IRWXU | S_IRWXG | S_IRWXO)) | S_IRUSR | S_IWUSR;
    if (temp.st_gid != old.st_gid && ::fchown(tempFd, uid_t(-1), old.st_gid) != 0)
        mode &= ~mode_t(S_IRWXG);
    if (mode != (temp.st_mode & 07777))
        ::fchmod(tempFd, mode); // best effort: else the copy stays user-only
}

} // namespace

QString ProgramDir()
{
    const QFileInfo exe(QStringLiteral("/proc/self/exe"));
    const QString target = exe.symLinkTarget();
    return target.isEmpty() ? QString() : withSlash(QFileInfo(target).absolutePath());
}

bool IsWritableByUserOnly(const QString& dir)
{
    if (dir.isEmpty())
        return false;
    const QByteArray name = QFile::encodeName(dir);
    struct stat info {};
    return ::stat(name.constData(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::geteuid()
           && (info.st_mode & (S_IWGRP | S_IWOTH)) == 0 && ::access(name.constData(), W_OK) == 0;
}

QString DataDir(const QString& programName)
{
    QString dir = qEnvironmentVariable("DESKHAND_DATA_DIR");
    if (dir.isEmpty()) {
        const QString program = ProgramDir();
        // Each user's files of their own: a program folder that others may write to is shared,
        // and one user's start would replace another's files there.
        if (IsWritableByUserOnly(program)) {
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
    // The share folder of the prefix the program runs under (bin/../share/<program>), then
    // beside the program (the build tree), then the share folder it was configured for. The
    // program's own share folder comes first because both programs' build outputs share one
    // folder: Deskhand2's files stand in build/share/deskhand2.
    const QString program = ProgramDir();
    const QString installed = program.isEmpty() ? QString()
                                                : withSlash(QDir::cleanPath(program + QStringLiteral("../share/") + programName));
    const QString share = withSlash(QStringLiteral(DESKHAND_SHARE_DIR)) + programName + u'/';
    for (const QString& dir : {installed, program, share}) {
        if (dir.isEmpty())
            continue;
        const QString path = dir + relativePath;
        if (QFileInfo::exists(path))
            return path;
    }
    return {};
}

QString NumberedPath(const QString& path, int n)
{
    return n < 2 ? path : path + u'.' + QString::number(n);
}

QString NextFreePath(const QString& path)
{
    for (int n = 1;; ++n) {
        const QString candidate = NumberedPath(path, n);
        if (!QFileInfo::exists(candidate) && !QFileInfo(candidate).isSymLink())
            return candidate;
    }
}

bool WriteFileAtomically(const QString& path, const QByteArray& data, QString* error)
{
    const auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    const QFileInfo info(path);
    const QByteArray targetName = QFile::encodeName(info.absoluteFilePath());
    const QByteArray folderName = QFile::encodeName(info.absolutePath());

    const FileDescriptor folder(::open(folderName.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder.valid())
        return fail(qt_error_string(errno));
    QByteArray tempName;
    // Closed, and so unlocked, only once the rename is done or the file is gone.
    const FileDescriptor temp = makeTemporary(targetName, tempName);
    if (!temp.valid())
        return fail(qt_error_string(errno));
    const auto discard = [&](int code) {
        ::unlink(tempName.constData());
        return fail(qt_error_string(code));
    };
    if (!writeAll(temp.get(), data))
        return discard(errno);
    keepPermissions(temp.get(), targetName);
    // The new copy is on disk, and listed in its folder, before it replaces the old one; the
    // folder is synced again after the rename. A power loss at any point leaves one whole copy.
    if (::fsync(temp.get()) != 0)
        return discard(errno);
    syncFolder(folder.get());
    // rename replaces the name itself, a link there included.
    if (::rename(tempName.constData(), targetName.constData()) != 0)
        return discard(errno);
    syncFolder(folder.get());
    return true;
}

int RemoveStaleTemporaries(const QString& folder)
{
    const QDir dir(folder);
    int removed = 0;
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks);
    for (const QString& name : names) {
        if (!isTemporaryName(name))
            continue;
        const QByteArray path = QFile::encodeName(dir.filePath(name));
        const FileDescriptor file(::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        struct stat opened {};
        if (!file.valid() || ::fstat(file.get(), &opened) != 0 || !S_ISREG(opened.st_mode)
            || opened.st_uid != ::geteuid() || !lockedByNobody(file.get()))
            continue;
        // Still the file that was checked under that name.
        struct stat named {};
        if (::lstat(path.constData(), &named) == 0 && named.st_dev == opened.st_dev && named.st_ino == opened.st_ino
            && ::unlink(path.constData()) == 0)
            ++removed;
    }
    return removed;
}

} // namespace platform
