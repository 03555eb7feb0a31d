// deskhand-link as a process, for what only a process shows: the lines on its error stream, its
// exit status, and where it keeps its files when it runs from a folder of its own.
#include "support/killed_save.h"
#include "support/temp_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct ToolRun {
    int exitCode = -1;
    QJsonObject output;
    QString errors;
};

class ToolProcess : public ::testing::Test {
protected:
    void SetUp() override
    {
        program = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("deskhand-link"));
        ASSERT_TRUE(QFile::exists(program));
        environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DESKHAND_DATA_DIR"), folder.path(QStringLiteral("data")));
        environment.insert(QStringLiteral("DESKHAND_PIM_DIR"), folder.path(QStringLiteral("pim")));
        environment.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
        environment.remove(QStringLiteral("LANGUAGE"));
    }

    // Runs the tool; with fileSizeLimit its files may not grow past that many bytes, as on a full
    // disk.
    ToolRun run(const QStringList& args, rlim_t fileSizeLimit = RLIM_INFINITY, const QString& tool = QString())
    {
        QProcess process;
        process.setProcessEnvironment(environment);
        if (fileSizeLimit != RLIM_INFINITY)
            process.setChildProcessModifier([fileSizeLimit] { testsupport::ScopedFileSizeLimit::ApplyInChild(fileSizeLimit); });
        process.start(tool.isEmpty() ? program : tool, args);
        ToolRun result;
        if (!process.waitForFinished(60000)) {
            ADD_FAILURE() << "the tool did not finish";
            process.kill();
            process.waitForFinished();
            return result;
        }
        result.exitCode = process.exitCode();
        result.errors = QString::fromLocal8Bit(process.readAllStandardError());
        result.output = QJsonDocument::fromJson(process.readAllStandardOutput()).object();
        return result;
    }

    testsupport::TempFolder folder;
    QString program;
    QProcessEnvironment environment;
};

// A failed save names its file and its reason and says nothing about the command line; a
// command line the tool cannot understand still points to --help. A read whose values cannot be
// kept still reads, and says so.
TEST_F(ToolProcess, EachFailureSaysOnlyWhatFailed)
{
    ASSERT_TRUE(folder.write(QStringLiteral("doc.json"), R"({"m_pcMemos": [{"m_strText": "longer than the disk takes"}]})"));
    ASSERT_TRUE(folder.write(QStringLiteral("x.dat"), "old"));
    const QString target = folder.path(QStringLiteral("x.dat"));
    const QString full = qt_error_string(EFBIG);

    ToolRun result = run({"data", "write", folder.path(QStringLiteral("doc.json")), target}, 16);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.errors, QStringLiteral("deskhand-link: cannot write %1: %2\n").arg(target, full));
    EXPECT_EQ(result.output.value(QLatin1String("file")).toString(), target);
    EXPECT_EQ(folder.read(QStringLiteral("x.dat")), QByteArray("old"));

    result = run({"data", "frob"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.errors.endsWith(QStringLiteral(" (see --help)\n"))) << result.errors.toStdString();

    ASSERT_TRUE(QDir().mkpath(folder.path(QStringLiteral("pim/contacts"))));
    ASSERT_TRUE(folder.write(QStringLiteral("pim/contacts/ann.vcf"),
                             "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:ann\r\nFN:Ann with a name long enough\r\nEND:VCARD\r\n"));
    result = run({"pim", "read", "contacts"}, 16);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_TRUE(result.output.value(QLatin1String("ok")).toBool());
    const QString warning = QStringLiteral("cannot write %1: %2; the values as read before are kept")
                                .arg(QDir(folder.path(QStringLiteral("data"))).filePath(QStringLiteral("pimbase.dat")), full);
    EXPECT_EQ(result.output.value(QLatin1String("warning")).toString(), warning);
    EXPECT_TRUE(result.errors.contains(QStringLiteral("deskhand-link: warning: ") + warning)) << result.errors.toStdString();
}

// Without $DESKHAND_DATA_DIR the tool keeps its files in its own folder only when this user alone
// may write to that folder: in one that others may write to, one user's files would replace
// another's. Elsewhere they go to the user's data folder.
TEST_F(ToolProcess, TheProgramFolderHoldsTheFilesOnlyWhenNobodyElseMayWriteToIt)
{
    environment.remove(QStringLiteral("DESKHAND_DATA_DIR"));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), folder.path(QStringLiteral("home-data")));
    ASSERT_TRUE(QDir().mkpath(folder.path(QStringLiteral("pim/contacts"))));
    const struct {
        const char* folder;
        mode_t mode;
        bool inProgramFolder;
    } rows[] = {
        {"own", 0755, true},
        {"group", 0775, false},
        {"everyone", 0777, false},
        {"sticky", 01777, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.folder);
        const QString bin = folder.path(QString::fromLatin1(row.folder));
        ASSERT_TRUE(QDir().mkpath(bin));
        ASSERT_EQ(::chmod(QFile::encodeName(bin).constData(), row.mode), 0);
        // The tool itself in that folder: it finds its folder through the running program.
        const QString tool = QDir(bin).filePath(QStringLiteral("deskhand-link"));
        ASSERT_TRUE(::link(QFile::encodeName(program).constData(), QFile::encodeName(tool).constData()) == 0
                    || QFile::copy(program, tool));
        QFile::remove(folder.path(QStringLiteral("home-data/deskhand/pimbase.dat")));
        const ToolRun result = run({"pim", "read", "contacts"}, RLIM_INFINITY, tool);
        EXPECT_TRUE(result.output.value(QLatin1String("ok")).toBool()) << result.errors.toStdString();
        EXPECT_EQ(QFile::exists(QDir(bin).filePath(QStringLiteral("pimbase.dat"))), row.inProgramFolder);
        EXPECT_EQ(QFile::exists(folder.path(QStringLiteral("home-data/deskhand/pimbase.dat"))), !row.inProgramFolder);
    }
}

} // namespace
