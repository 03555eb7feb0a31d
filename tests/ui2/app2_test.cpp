// Deskhand2's application: one copy per user across processes, the splash that eats the first
// key or click, Help opening the page of the language, and Exit leaving the PC list in the data
// file.
#include "main_window2_fixture.h"

#include "controls/startup_splash.h"
#include "support/help_check.h"
#include "ui2/mvsync_app.h"

#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QTest>
#include <QThread>

namespace {

using namespace ui2test;

using windowtest::WaitFor;

TEST(Deskhand2Processes, SecondCopyEndsAtOnceAndExitSavesTheData)
{
    QTemporaryDir runtime;
    QTemporaryDir data;
    ASSERT_TRUE(runtime.isValid() && data.isValid());
    QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString program = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("deskhand2"));
    ASSERT_TRUE(QFile::exists(program));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    environment.insert(QStringLiteral("DESKHAND_DATA_DIR"), data.path());
    environment.insert(QStringLiteral("DESKHAND_PIM_DIR"), data.filePath(QStringLiteral("pim")));
    const QString lock = QDir(data.path()).filePath(QStringLiteral("ZentraDeskhand2Corvov1.lock"));
    const auto start = [&](QProcess& process) {
        process.setProcessEnvironment(environment);
        process.start(program, {QStringLiteral("--no-splash")});
        ASSERT_TRUE(process.waitForStarted());
    };

    QProcess first;
    start(first);
    ASSERT_TRUE(WaitFor([&] { return QFile::exists(lock); }));
    QProcess second;
    start(second);
    ASSERT_TRUE(second.waitForFinished(20000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(first.state(), QProcess::Running);

    // Once the window stands (after the start-up second), SIGTERM closes it as Exit does: the
    // data file is written.
    QThread::msleep(2500);
    first.terminate();
    ASSERT_TRUE(first.waitForFinished(20000));
    EXPECT_TRUE(QFileInfo::exists(data.filePath(QStringLiteral("msync.dat"))));
}

// SIGTERM while the start-up box about a damaged data file waits for the user: the box goes, the
// records recovered from the damaged file are saved, and the program ends as Exit ends it.
TEST(Deskhand2Processes, ASignalDuringTheDamagedFileBoxStillSavesTheRecoveredRecords)
{
    QTemporaryDir data;
    ASSERT_TRUE(data.isValid());
    const QString dataFile = QDir(data.path()).filePath(QStringLiteral("msync.dat"));
    {
        dh2::CMVsyncDoc doc;
        doc.SetDataDir(data.path());
        auto entry = std::make_unique<dh2::CPhoneEntry>();
        entry->m_strName = QStringLiteral("Recovered");
        doc.m_arPcContacts.push_back(std::move(entry));
        ASSERT_TRUE(doc.SaveLocalData());
    }
    // Cut inside the last list: the contact before it reads whole.
    QFile file(dataFile);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.resize(file.size() - 2));
    file.close();

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("DESKHAND_DATA_DIR"), data.path());
    environment.insert(QStringLiteral("DESKHAND_PIM_DIR"), data.filePath(QStringLiteral("pim")));
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("deskhand2")), {QStringLiteral("--no-splash")});
    ASSERT_TRUE(program.waitForStarted());
    // The damaged file is moved aside just before the box opens.
    ASSERT_TRUE(WaitFor([&] { return QFile::exists(dataFile + QStringLiteral(".damaged")); }));
    program.terminate();
    ASSERT_TRUE(program.waitForFinished(20000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);

    dh2::CMVsyncDoc saved;
    ASSERT_TRUE(saved.LoadLocalData(dataFile, nullptr));
    ASSERT_EQ(saved.m_arPcContacts.size(), 1u);
    EXPECT_EQ(saved.m_arPcContacts[0]->m_strName, QStringLiteral("Recovered"));
}

using App2 = MainWindow2Test;

TEST_F(App2, HelpOpensItsOwnPageOfTheLanguage)
{
    QStringList pages;
    for (const QString& page : windowtest::HelpPagesOpened(*frame->FindAction(ID_HELP))) {
        EXPECT_TRUE(page.contains(QStringLiteral("deskhand2"))) << page.toStdString();
        pages << QFileInfo(page).dir().dirName() + u'/' + QFileInfo(page).fileName();
    }
    EXPECT_EQ(pages, (QStringList{"help/help_en.html", "help/help_cn.html", "help/help_en.html"}));
}

// Without a browser to take the page, a box says so and names the page's file.
TEST_F(App2, HelpWithoutABrowserSaysWhereThePageIs)
{
    windowtest::ExpectHelpWithoutABrowserSaysWhereThePageIs(*frame->FindAction(ID_HELP), ui.rec, QStringLiteral("deskhand2"));
}

// While the splash shows, the first key press and the first click end it and reach no other
// window; afterwards input arrives as usual.
TEST(Deskhand2Splash, FirstInputEndsTheSplashAndIsEaten)
{
    QTemporaryDir runtime;
    QTemporaryDir data;
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    qputenv("DESKHAND_DATA_DIR", data.path().toLocal8Bit());
    qputenv("DESKHAND_PIM_DIR", data.filePath(QStringLiteral("pim")).toLocal8Bit());
    testsupport::ScopedRecordingUi recording;
    {
        dh2::CMVsyncApp app;
        ASSERT_TRUE(app.InitInstance({QStringLiteral("deskhand2")}));
        // The document's start-up step took the first splash away.
        EXPECT_EQ(CStartupSplash::Instance(), nullptr);
        QLineEdit target(app.GetMainFrame());
        target.show();
        target.setFocus();
        for (const bool click : {false, true}) {
            SplashStyle style;
            style.program = QStringLiteral("deskhand2");
            style.hideOnTimer = false;
            CStartupSplash::ShowSplash(app.GetMainFrame(), style);
            ASSERT_NE(CStartupSplash::Instance(), nullptr);
            if (click)
                QTest::mouseClick(&target, Qt::LeftButton);
            else
                QTest::keyClick(&target, Qt::Key_A);
            QApplication::processEvents();
            EXPECT_EQ(CStartupSplash::Instance(), nullptr);
            EXPECT_TRUE(target.text().isEmpty());
        }
        QTest::keyClick(&target, Qt::Key_B);
        EXPECT_EQ(target.text(), QStringLiteral("b"));
        app.GetMainFrame()->close();
    }
    CStartupSplash::EnableSplash(true);
    qunsetenv("DESKHAND_DATA_DIR");
    qunsetenv("DESKHAND_PIM_DIR");
}

} // namespace
