#pragma once

// The --help of either driver program, and the names it leaves out.
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>

#include <gtest/gtest.h>

namespace testsupport {

// What `program --help` prints on stdout; fails the test unless it exits 0.
inline QString ToolHelp(const QString& program)
{
    QProcess process;
    process.start(program, {QStringLiteral("--help")});
    EXPECT_TRUE(process.waitForFinished(-1)) << program.toStdString();
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The names that do not stand as whole words in the text.
inline QStringList NamesMissingFrom(const QString& text, const QStringList& names)
{
    QStringList missing;
    for (const QString& name : names) {
        const QRegularExpression word(QStringLiteral("(^|[^A-Za-z0-9_-])%1($|[^A-Za-z0-9_-])").arg(QRegularExpression::escape(name)));
        if (!word.match(text).hasMatch())
            missing << name;
    }
    return missing;
}

} // namespace testsupport
