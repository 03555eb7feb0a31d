#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>

namespace testsupport {

// A folder of a test's own, removed with it, and its files by relative name.
class TempFolder {
public:
    QString path() const { return m_dir.path(); }
    QString path(const QString& name) const { return m_dir.filePath(name); }

    // Writes the file whole, making its folders as needed; false when it cannot be written.
    bool write(const QString& name, const QByteArray& bytes) const
    {
        QDir().mkpath(QFileInfo(path(name)).absolutePath());
        QFile file(path(name));
        return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
    }
    // The file's bytes; empty when it cannot be read.
    QByteArray read(const QString& name) const
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    int fileCount(const QString& folder) const { return int(QDir(path(folder)).entryList(QDir::Files).size()); }

private:
    QTemporaryDir m_dir;
};

} // namespace testsupport
