#pragma once

#include <QString>
#include <QStringList>

namespace platform {

// An INI file read and written the way the private-profile functions do it: sections and keys
// without regard to case, values trimmed of blanks and of one pair of enclosing quotes, ';'
// comment lines, any mix of CR and LF line ends. Writing keeps every other line as it was.
class IniFile {
public:
    IniFile() = default;
    explicit IniFile(const QString& text);

    enum LoadResult { Missing, Unreadable, Loaded };
    // Reads the file at path into ini. Unreadable, and why in error, for a file that is there but
    // cannot be read; ini is then empty.
    static LoadResult Load(const QString& path, IniFile& ini, QString* error = nullptr);
    bool Save(const QString& path) const;

    bool HasKey(const QString& section, const QString& key) const;
    QString Value(const QString& section, const QString& key, const QString& defaultValue) const;
    void SetValue(const QString& section, const QString& key, const QString& value);

    QString Text() const;

private:
    // Index of the section's header line, or -1.
    qsizetype findSection(const QString& section) const;
    // Index of the key's line within the section starting after header, or -1.
    qsizetype findKey(qsizetype header, const QString& key) const;

    QStringList m_lines;
};

} // namespace platform
