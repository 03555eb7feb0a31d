// Deskhand2's main frame: the caption table, the menus with their checks, the minimum size and
// the title that names the model the phone identified as.
#include "main_window2_fixture.h"

#include "controls/caption_bar.h"
#include "controls/window_titles.h"
#include "support/help_check.h"
#include "ui2/about_dlg.h"
#include "ui2/contact_dlg.h"
#include "ui2/memo_dlg.h"
#include "ui2/mvsync_app.h"
#include "ui2/phonebook_list_dlg.h"
#include "ui2/schedule_dlg.h"
#include "ui2/select_schedule_dlg.h"
#include "ui2/sms_dlg.h"
#include "controls/work_progress_dlg.h"
#include "document2/document_progress.h"

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QWindow>

#include <cerrno>

namespace {

using namespace ui2test;

using MainFrame2 = MainWindow2Test;

TEST_F(MainFrame2, MenusCarryTheirTextsIdsAndChecks)
{
    struct Row {
        int id;
        const char* text;
    };
    const Row rows[] = {
        {ID_FILE_SAVE, "&Save\tCtrl+S"},       {ID_FILE_SAVE_AS, "Save As CSV file"},
        {ID_LOAD_CSV, "Load From CSV file"},   {ID_FILE_PRINT, "&Print...\tCtrl+P"},
        {ID_APP_EXIT, "E&xit"},                {ID_COM_PORT1, "COM 1"},
        {ID_COM_PORT1 + 3, "COM 4"},           {ID_BAUD_19200, "19200 - WAP ver"},
        {ID_BAUD_115200, "115200 - GPRS ver"}, {ID_HELP, "Help"},
        {ID_APP_ABOUT, "Deskhand"},
    };
    for (const Row& row : rows) {
        QAction* action = frame->FindAction(row.id);
        ASSERT_NE(action, nullptr) << row.id;
        EXPECT_EQ(action->text(), QString::fromUtf8(row.text)) << row.id;
    }
    EXPECT_EQ(frame->FindAction(ID_COM_PORT1 + 4), nullptr);

    // The checks follow the document.
    EXPECT_TRUE(frame->FindAction(ID_COM_PORT1)->isChecked());
    EXPECT_TRUE(frame->FindAction(ID_BAUD_19200)->isChecked());
    frame->FindAction(ID_COM_PORT1 + 2)->trigger();
    frame->FindAction(ID_BAUD_115200)->trigger();
    EXPECT_EQ(doc->m_nComPort, 3);
    EXPECT_EQ(doc->m_nBaudRate, 115200);
    EXPECT_FALSE(frame->FindAction(ID_COM_PORT1)->isChecked());
    EXPECT_TRUE(frame->FindAction(ID_COM_PORT1 + 2)->isChecked());
    EXPECT_FALSE(frame->FindAction(ID_BAUD_19200)->isChecked());
    EXPECT_TRUE(frame->FindAction(ID_BAUD_115200)->isChecked());
}

TEST_F(MainFrame2, CaptionTableAndSize)
{
    struct Row {
        int tab;
        const char* caption;
        COLORREF background, shape, text;
    };
    const Row rows[] = {
        {0, "Phonebook", 0xA05E60, 0x80282B, 0xE7D7D7},
        {1, "Schedule", 0x66C59D, 0x4C9476, 0xD9F0E6},
        {2, "Memo", 0x96C2C2, 0x84ACAC, 0xFFFFFF},
        {3, "Short Message Service", 0x8A9DA7, 0x4A5D65, 0xD3E0E5},
        {4, "Tutorial", 0x828378, 0, 0xFFFFFF},
        {9, "", 9, 9, 9},
    };
    CCaptionBar* bar = frame->GetCaptionBar();
    for (const Row& row : rows) {
        frame->SelectTab(row.tab);
        EXPECT_EQ(bar->GetText(), QString::fromUtf8(row.caption)) << row.tab;
        EXPECT_EQ(bar->GetBackColor(), row.background) << row.tab;
        EXPECT_EQ(bar->GetBorderColor(), row.shape) << row.tab;
        EXPECT_EQ(bar->GetTextColor(), row.text) << row.tab;
        EXPECT_EQ(frame->GetCurrentTab(), row.tab);
    }
    frame->resize(300, 200);
    EXPECT_GE(frame->width(), CMainFrame::kMinWidth);
    EXPECT_GE(frame->height(), CMainFrame::kMinHeight);
}

// The title names the model once a data file or a phone has given one, and follows the profile.
TEST_F(MainFrame2, TitleNamesTheModel)
{
    // The first start: no data file, no phone yet.
    EXPECT_EQ(frame->windowTitle().toStdString(), "Zentra Deskhand");
    const std::pair<int, const char*> rows[] = {
        {CModelProfile::TypePilla, "Zentra Deskhand - Model Pilla"}, {CModelProfile::TypeTondav, "Zentra Deskhand - Model Corvo"},
        {CModelProfile::TypeCorvoS2, "Zentra Deskhand - Model Corvo"}, {CModelProfile::TypeSarno, "Zentra Deskhand - Model Sarno"},
        {5, "Zentra Deskhand"}, {-1, "Zentra Deskhand"},
    };
    for (const auto& [type, title] : rows) {
        ModelProfile().SetModel(type);
        EXPECT_EQ(frame->windowTitle(), QString::fromUtf8(title)) << type;
    }
    // The data file brings back the model it was saved with.
    ModelProfile().SetModel(CModelProfile::TypeSarno);
    ASSERT_TRUE(doc->SaveLocalData());
    ModelProfile().SetModel(CModelProfile::TypeCorvo);
    doc->LoadLocalData();
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Zentra Deskhand - Model Sarno"));
}

// The window carries the program's icon, as the window manager and the task bar show it.
TEST_F(MainFrame2, TheWindowCarriesTheProgramsIcon)
{
    const QImage icon = QIcon(QStringLiteral(":/icons/deskhand2.png")).pixmap(48, 48).toImage();
    ASSERT_FALSE(icon.isNull());
    ASSERT_NE(frame->windowHandle(), nullptr);
    for (const QIcon& shown : {frame->windowIcon(), frame->windowHandle()->icon()}) {
        ASSERT_FALSE(shown.isNull());
        EXPECT_EQ(shown.pixmap(48, 48).toImage(), icon);
    }
}

// Every window carries exactly its own title: the program names itself for the desktop without
// a display name that Qt would add to each title.
TEST_F(MainFrame2, WindowsCarryExactlyTheirOwnTitles)
{
    CMVsyncApp app;
    EXPECT_EQ(QGuiApplication::desktopFileName(), "deskhand2");
    EXPECT_EQ(QCoreApplication::applicationName(), "deskhand2");
    CPhoneEntry entry;
    CScheduleEntry schedule;
    CScheduleEntry memo;
    memo.m_nKind = CScheduleEntry::KindMemo;
    const std::vector<CScheduleEntry*> records{&schedule};
    const struct {
        std::function<std::unique_ptr<QWidget>()> make;
        const char* title;
    } rows[] = {
        {[&] { return std::make_unique<CContactDlg>(entry, CContactDlg::ModeNew); }, "New"},
        {[&] { return std::make_unique<CContactDlg>(entry, CContactDlg::ModeEdit); }, "Edit"},
        {[&] { return std::make_unique<CMemoDlg>(memo, CMemoDlg::ModeNew); }, "New"},
        {[&] { return std::make_unique<CMemoDlg>(memo, CMemoDlg::ModeEdit); }, "Edit"},
        {[&] { return std::make_unique<CScheduleDlg>(schedule, CScheduleDlg::ModeNew); }, "New"},
        {[&] { return std::make_unique<CScheduleDlg>(schedule, CScheduleDlg::ModeEdit); }, "Edit"},
        {[&] { return std::make_unique<CSelectScheduleDlg>(records); }, "Select Item"},
        {[&] { return std::make_unique<CPhonebookListDlg>(*doc); }, "Phonebook List"},
        {[&] { return std::make_unique<CSMSDlg>(); }, "SMS"},
        {[&] { return std::make_unique<CAboutDlg>(); }, "About  Zentra Deskhand"},
        {[&] { return std::make_unique<CWorkProgressDlg>(CWorkProgressDlg::kDeskhand2, MakeProgressRequest()); }, "Deskhand2"},
    };
    EXPECT_EQ(windowtest::ShownTitle(*frame).toStdString(), "Zentra Deskhand");
    ModelProfile().SetModel(CModelProfile::TypeCorvo);
    EXPECT_EQ(windowtest::ShownTitle(*frame).toStdString(), "Zentra Deskhand - Model Corvo");
    for (const auto& row : rows) {
        const std::unique_ptr<QWidget> window = row.make();
        EXPECT_EQ(windowtest::ShownTitle(*window).toStdString(), row.title) << window->objectName().toStdString();
    }
    // The About box is wide enough for its title bar to show the whole caption.
    CAboutDlg about;
    EXPECT_GE(about.width(), TitleBarWidth(about.windowTitle()));
}

// While the main window lives, a phone transfer shows the progress window in the phone's look and
// the document's own work shows it in the other one, its animation playing in both.
TEST_F(MainFrame2, OperationsShowTheProgressWindowInTheirLook)
{
    for (const bool phone : {true, false}) {
        std::unique_ptr<common::IProgressView> view = phone ? CreateProgressView() : OpenDocumentProgress();
        auto* dialog = dynamic_cast<CWorkProgressDlg*>(view.get());
        ASSERT_NE(dialog, nullptr);
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_TRUE(dialog->IsAnimating());
        EXPECT_EQ(dialog->Look(), phone);
    }
}

// Boxes carry the program's name as their title, in a box wide enough for the title bar to show
// it whole; the picture shows the box Help gives without a browser.
TEST_F(MainFrame2, BoxesCarryTheProgramsNameWhole)
{
    const QString title = windowtest::HelpBoxTitle(*frame->FindAction(ID_HELP), QString::fromLatin1(CMVsyncApp::kCaption),
                                                   QStringLiteral("deskhand2_box_help_not_shown"));
    EXPECT_EQ(title.toStdString(), "Deskhand2");
}

// When the save at exit fails, the window says so and stays, and with it the session's work.
TEST_F(MainFrame2, AFailedSaveAtExitKeepsTheWindowUnlessTheUserQuitsAnyway)
{
    AddPcContact(QStringLiteral("Ann"), QStringLiteral("0123"));
    // The data folder is a file now: every save fails, also for root.
    const QString folder = dataDir.filePath(QStringLiteral("data"));
    QFile plain(folder);
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    doc->SetDataDir(folder);
    ASSERT_NO_FATAL_FAILURE(windowtest::ExpectAFailedSaveAtExitKeepsTheWindow(
        *frame, *frame->FindAction(ID_APP_EXIT), ui.rec,
        platform::LoadString(64310).arg(QStringLiteral("\"%1/pimbase2.dat\" (%2), \"%1/msync.dat\" (%2)")
                                            .arg(folder, qt_error_string(ENOTDIR))),
        [&] { ASSERT_TRUE(QFile::remove(folder) && QDir().mkdir(folder)); }));
    // Kept open, the work reached the disk once the folder took it again.
    CMVsyncDoc saved;
    ASSERT_TRUE(saved.LoadLocalData(QDir(folder).filePath(QStringLiteral("msync.dat")), nullptr));
    ASSERT_EQ(saved.m_arPcContacts.size(), 1u);
    EXPECT_EQ(saved.m_arPcContacts[0]->m_strName, QStringLiteral("Ann"));
}

} // namespace
