#pragma once

// A save killed in its midst, as a crash, kill -9 or a full quota would end it: the save runs in
// a child process whose files may not grow past a few bytes, and its first write beyond them
// ends the child (SIGXFSZ) with the temporary file half written.
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

// The names in a folder, hidden ones and links included.
inline QStringList FolderEntries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace testsupport
