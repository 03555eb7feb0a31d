#pragma once

// A save killed in its midst, as a crash, kill -9 or a full quota would end it: the save runs in
// a child process whose files may not grow past a few bytes, and its first write beyond them
// ends the child (SIGXFSZ) with the temporary file half written. And a full disk that a save
// outlives.
#include <QDir>
#include <QStringList>

#include <functional>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testsupport {

// True when save was killed that way.
inline bool RunKilledSave(const std::function<void()>& save)
{
    const pid_t child = fork();
    if (child == 0) {
        const rlimit noCore{0, 0};
        const rlimit fewBytes{64, 64};
        std::signal(SIGXFSZ, SIG_DFL);
        if (setrlimit(RLIMIT_CORE, &noCore) != 0 || setrlimit(RLIMIT_FSIZE, &fewBytes) != 0)
            _exit(2);
        save();
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ;
}

// A disk that takes no more than a few bytes per file for the lifetime of the object, as a full
// disk or a quota stops a save: writes past the limit fail (EFBIG, "File too large") rather than
// end the process. Other processes are not touched.
class ScopedFileSizeLimit {
public:
    explicit ScopedFileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit {bytes, m_old.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~ScopedFileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    ScopedFileSizeLimit(const ScopedFileSizeLimit&) = delete;
    ScopedFileSizeLimit& operator=(const ScopedFileSizeLimit&) = delete;

    // The same, in a child process before it runs its program (for QProcess::setChildProcessModifier).
    static void ApplyInChild(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit {};
        getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }

private:
    rlimit m_old {};
    void (*m_oldHandler)(int) = SIG_DFL;
};

// The names in a folder, hidden ones and links included.
inline QStringList FolderEntries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace testsupport
