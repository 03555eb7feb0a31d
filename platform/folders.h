#pragma once

#include <QString>

namespace platform {

// The folder of the running executable, with a trailing '/'; empty when it cannot be told.
QString ProgramDir();

// Where a program keeps its local data files ("deskhand" or "deskhand2"), with a trailing '/':
// $DESKHAND_DATA_DIR when set, else the program folder when it is writable, else
// $XDG_DATA_HOME/<program>. The folder is created when missing.
QString DataDir(const QString& programName);

// A read-only resource (help pages, splash.bmp): the program folder first, then the
// program's installed share folder (beside the program's bin folder, else the configured
// one). Returns the full path, or an empty string.
QString FindResource(const QString& relativePath, const QString& programName = QStringLiteral("deskhand"));

// Writes a file atomically with user-only permissions: a temporary file beside it, flushed
// and synced, then renamed over the old one. The old file stays intact on any failure.
bool WriteFileAtomically(const QString& path, const QByteArray& data, QString* error = nullptr);

} // namespace platform
