#pragma once

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <set>

namespace testsupport {

// Every line of the string tables linked into the test is well formed and no id is defined
// twice across them: a second definition would silently replace the first text.
inline void ExpectWellFormedStringTables()
{
    std::set<int> seen;
    const QDir dir(QStringLiteral(":/strings"));
    for (const QString& name : dir.entryList({QStringLiteral("*.tsv")})) {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        int lineNo = 0;
        for (const QByteArray& line : file.readAll().split('\n')) {
            ++lineNo;
            if (line.isEmpty() || line.startsWith('#'))
                continue;
            const QList<QByteArray> fields = line.split('\t');
            bool ok = false;
            const int id = fields[0].toInt(&ok);
            EXPECT_TRUE(ok && fields.size() >= 2 && fields.size() <= 3) << name.toStdString() << ':' << lineNo;
            EXPECT_TRUE(seen.insert(id).second) << "duplicate id " << id << " in " << name.toStdString();
        }
    }
    EXPECT_FALSE(seen.empty());
}

} // namespace testsupport
