#pragma once

#include <QString>

namespace platform {

// The folder of the running executable, with a trailing '/'; empty when it cannot be told.
QString ProgramDir();

// Where a program keeps its local data files ("deskhand" or "deskhand2"), with a trailing '/':
// $DESKHAND_DATA_DIR when set, else the program folder when this user alone may write to it
// (IsWritableByUserOnly), else $XDG_DATA_HOME/<program>. The folder is created when missing.
QString DataDir(const QString& programName);

// Whether dir is a folder this user owns and may write to, and that neither its group nor others
// may write to.
bool IsWritableByUserOnly(const QString& dir);

// A read-only resource (help pages, splash.bmp): the program folder first, then the
// program's installed share folder (beside the program's bin folder, else the configured
// one). Returns the full path, or an empty string.
QString FindResource(const QString& relativePath, const QString& programName = QStringLiteral("deskhand"));

// Writes a file atomically: a temporary file beside it, written whole and synced, then renamed
// over the old one, with the folder synced before and after the rename. The old file stays
// intact on any failure (error then says why), and a power loss leaves one whole copy. A new
// file is for the user only; a file replaced keeps its permissions (never more than it had).
// The name itself is replaced: a link there is never followed, so a link planted in a shared
// folder cannot make the save write another user's file.
bool WriteFileAtomically(const QString& path, const QByteArray& data, QString* error = nullptr);

// Removes from folder the temporary files that saves killed before their end left there: files
// named as WriteFileAtomically names its temporaries, owned by this user and held by no running
// save. Anything else stays, other users' files above all. Returns how many were removed.
int RemoveStaleTemporaries(const QString& folder);

// The n-th of a numbered series of files: path itself for 1, then path.2, path.3, ...
QString NumberedPath(const QString& path, int n);
// The first of that series with nothing there.
QString NextFreePath(const QString& path);

} // namespace platform
