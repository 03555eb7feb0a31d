// The main window: frame, menus, help, and pictures of the window and its dialogs.
#include "main_window_fixture.h"

#include "controls/caption_bar.h"
#include "controls/startup_splash.h"
#include "controls/wnd_tab.h"
#include "controls/work_progress_dlg.h"
#include "link/progress_view.h"
#include "support/help_check.h"
#include "ui/about_dlg.h"
#include "ui/contact_dlg.h"
#include "ui/debug_option_dlg.h"
#include "ui/ir_comm_option_dlg.h"
#include "ui/mvsync_app.h"
#include "ui/memo_dlg.h"
#include "ui/phonebook_list_dlg.h"
#include "ui/schedule_dlg.h"
#include "ui/sms_dlg.h"
#include "controls/window_titles.h"

#include <QAccessible>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QWindow>

#include <gmock/gmock.h>

#include <cerrno>

using namespace dh1;

namespace {

using namespace ids;
using ::testing::ElementsAre;
using uitest::MainWindowTest;

using MainFrame = MainWindowTest;

QStringList MenuTexts(const QMenu* menu)
{
    QStringList texts;
    for (const QAction* action : menu->actions())
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text() + u'=' + action->data().toString());
    return texts;
}

TEST_F(MainFrame, TitleCaptionTabsAndMenus)
{
    EXPECT_EQ(frame->windowTitle(), "Zentra Deskhand");
    EXPECT_EQ(frame->minimumSize(), QSize(800, 600));
    CCaptionBar* caption = frame->GetCaptionBar();
    EXPECT_EQ(caption->GetText(), "Phonebook");
    EXPECT_EQ(caption->GetBackColor(), 0xA05E60u);
    EXPECT_EQ(caption->GetBorderColor(), 0x80282Bu);
    EXPECT_EQ(caption->GetTextColor(), 0xE7D7D7u);
    EXPECT_EQ(frame->GetSplitter()->GetTitles(), (QStringList{"Phonebook", "Schedule", "Memo"}));
    EXPECT_EQ(frame->GetCurrentTab(), 0);
    // A tab index without a style changes nothing.
    frame->SelectTab(7);
    EXPECT_EQ(frame->GetCurrentTab(), 0);

    QList<QMenu*> menus;
    for (QAction* action : frame->menuBar()->actions())
        menus << action->menu();
    ASSERT_EQ(menus.size(), 3);
    EXPECT_EQ(menus[0]->title(), "&File");
    EXPECT_EQ(menus[1]->title(), "&Option");
    EXPECT_EQ(menus[2]->title(), "&Help");
    EXPECT_THAT(MenuTexts(menus[0]), ElementsAre("&Save\tCtrl+S=57603", "Save As CSV file=57604",
                                                 "Load From CSV file=32786", "&Print...\tCtrl+P=57607", "-",
                                                 "E&xit=57665"));
    EXPECT_THAT(MenuTexts(menus[1]).mid(1), ElementsAre("-", "IrComm option=32791"));
    EXPECT_THAT(MenuTexts(menus[1]->actions()[0]->menu()),
                ElementsAre("COM 1=32774", "COM 2=32775", "COM 3=32776", "COM 4=32777", "-", "COM 5=32778"));
    EXPECT_THAT(MenuTexts(menus[2]), ElementsAre("&About Deskhand...=57664", "Help=57670"));
    // The keys in the texts are only shown; F1 has a key of its own.
    EXPECT_TRUE(frame->FindAction(ID_FILE_SAVE)->shortcut().isEmpty());

    EXPECT_TRUE(frame->FindAction(ID_COM_PORT1)->isChecked());
    frame->FindAction(ID_COM_PORT1 + 2)->trigger();
    EXPECT_EQ(doc->m_nComPort, 3);
    EXPECT_EQ(doc->m_session.m_port.m_nPort, 3);
    EXPECT_TRUE(frame->FindAction(ID_COM_PORT1 + 2)->isChecked());
    EXPECT_FALSE(frame->FindAction(ID_COM_PORT1)->isChecked());

    frame->FindAction(ID_FILE_SAVE)->trigger();
    EXPECT_THAT(Boxes(), ElementsAre("Success to save"));
    EXPECT_TRUE(QFileInfo::exists(dataDir.filePath("mvsync.dat")));

    dialogs.push_back([](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "About Zentra Deskhand");
        return int(QDialog::Accepted);
    });
    frame->FindAction(ID_APP_ABOUT)->trigger();
}

TEST_F(MainFrame, ControlsCarryTheirTextsAsAccessibleNames)
{
    QStringList names;
    for (QWidget* widget : form->GetFormSurface()->findChildren<QWidget*>()) {
        if (widget->isVisibleTo(form) && !qobject_cast<CDetailListCtrl*>(widget) && widget->parent() == form->GetFormSurface()
            && !widget->accessibleName().isEmpty())
            names << widget->accessibleName();
    }
    for (const char* text : {"Read", "New", "Edit", "Delete", ">>", "<<", "Select All", "Phonebook", "Outlook",
                             "Mobile", "SIM", "Zentra Deskhand"})
        EXPECT_TRUE(names.contains(QLatin1String(text))) << text;
    // Through the accessibility interface too, for buttons the form paints itself.
    QAccessibleInterface* read = QAccessible::queryAccessibleInterface(form->GetDlgItem(IDC_MOBILE_READ));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->text(QAccessible::Name), "Read");
    EXPECT_EQ(List(IDC_HANDSET_LIST)->accessibleName(), "Mobile");
}

TEST_F(MainFrame, HelpOpensThePageOfTheLanguageOrTheEnglishOne)
{
    QStringList pages;
    for (const QString& page : windowtest::HelpPagesOpened(*frame->FindAction(ID_HELP)))
        pages << QFileInfo(page).fileName();
    EXPECT_THAT(pages, ElementsAre("help_en.html", "help_cn.html", "help_en.html"));
}

// Without a browser to take the page, a box says so and names the page's file.
TEST_F(MainFrame, HelpWithoutABrowserSaysWhereThePageIs)
{
    windowtest::ExpectHelpWithoutABrowserSaysWhereThePageIs(*frame->FindAction(ID_HELP), ui.rec, QStringLiteral("/help/"));
}

// Every window carries exactly its own title: the program names itself for the desktop without
// a display name that Qt would add to each title.
TEST_F(MainFrame, WindowsCarryExactlyTheirOwnTitles)
{
    CMVsyncApp app;
    EXPECT_EQ(QGuiApplication::desktopFileName(), "deskhand");
    EXPECT_EQ(QCoreApplication::applicationName(), "deskhand");
    CPhoneEntry entry;
    CMemoEntry memo;
    CScheduleEntry schedule;
    const std::vector<const CScheduleEntry*> candidates{&schedule};
    const struct {
        std::function<std::unique_ptr<QWidget>()> make;
        const char* title;
    } rows[] = {
        {[&] { return std::make_unique<CContactDlg>(entry, CContactDlg::ModeNew, doc->m_groupNames); }, "New"},
        {[&] { return std::make_unique<CContactDlg>(entry, CContactDlg::ModeEdit, doc->m_groupNames); }, "Edit"},
        {[&] { return std::make_unique<CSimContactDlg>(entry, CSimContactDlg::ModeNew, doc->m_groupNames); }, "New"},
        {[&] { return std::make_unique<CSimContactDlg>(entry, CSimContactDlg::ModeEdit, doc->m_groupNames); }, "Edit"},
        {[&] { return std::make_unique<CMemoDlg>(memo, CMemoDlg::ModeNew); }, "New"},
        {[&] { return std::make_unique<CMemoDlg>(memo, CMemoDlg::ModeEdit); }, "Edit"},
        {[&] { return std::make_unique<CScheduleDlg>(schedule, CScheduleDlg::ModeNew); }, "New"},
        {[&] { return std::make_unique<CScheduleDlg>(schedule, CScheduleDlg::ModeEdit); }, "Edit"},
        {[&] { return std::make_unique<CSelectScheduleDlg>(candidates); }, "Select Schedule"},
        {[&] { return std::make_unique<CPhonebookListDlg>(*doc); }, "Phonebook List"},
        {[&] { return std::make_unique<CSMSDlg>(*doc); }, "SMS"},
        {[&] { return std::make_unique<CIrCommOptionDlg>(); }, "IrComm Option"},
        {[&] { return std::make_unique<CDebugOptionDlg>(); }, "Option for Debug"},
        {[&] { return std::make_unique<CAboutDlg>(); }, "About Zentra Deskhand"},
        {[&] { return std::make_unique<CWorkProgressDlg>(CWorkProgressDlg::kDeskhand, MakeProgressRequest()); }, "Deskhand"},
    };
    EXPECT_EQ(windowtest::ShownTitle(*frame).toStdString(), "Zentra Deskhand");
    for (const auto& row : rows) {
        const std::unique_ptr<QWidget> window = row.make();
        EXPECT_EQ(windowtest::ShownTitle(*window).toStdString(), row.title) << window->objectName().toStdString();
    }
    // The About box is wide enough for its title bar to show the whole caption.
    CAboutDlg about;
    EXPECT_GE(about.width(), TitleBarWidth(about.windowTitle()));
}

// The option commands open their dialogs through the frame's runner and store what OK takes.
TEST_F(MainFrame, OptionCommandsOpenTheirDialogs)
{
    dialogs.push_back(Fill<CIrCommOptionDlg>([](CIrCommOptionDlg& dialog) { dialog.PortEdit()->setText(QStringLiteral("6")); }));
    dialogs.push_back(Fill<CDebugOptionDlg>([](CDebugOptionDlg& dialog) { dialog.TimeoutEdit()->setText(QStringLiteral("25")); }));
    frame->FindAction(ID_IRCOMM_OPTION)->trigger();
    frame->FindAction(ID_DEBUG_OPTION)->trigger();
    EXPECT_EQ(doc->m_nIrCommPort, 6);
    EXPECT_EQ(doc->m_session.m_port.m_nTimeoutSec, 25);
}

// While the main window lives, an operation's view is the progress dialog.
TEST_F(MainFrame, TheDefaultViewIsTheProgressDialog)
{
    std::unique_ptr<common::IProgressView> view = CreateProgressView();
    ASSERT_NE(dynamic_cast<CWorkProgressDlg*>(view.get()), nullptr);
    EXPECT_TRUE(dynamic_cast<CWorkProgressDlg*>(view.get())->isVisible());
}

// Boxes carry the program's name as their title, in a box wide enough for the title bar to show
// it whole; the picture shows the box Help gives without a browser.
TEST_F(MainFrame, BoxesCarryTheProgramsNameWhole)
{
    const QString title = windowtest::HelpBoxTitle(*frame->FindAction(ID_HELP), QString::fromLatin1(CMVsyncApp::kCaption),
                                                   QStringLiteral("box_help_not_shown"));
    EXPECT_EQ(title.toStdString(), "Deskhand");
}

TEST(CommandLine, FrameworkStartsWithoutUiSuppressTheSplash)
{
    const struct {
        QStringList arguments;
        bool splash;
    } rows[] = {
        {{"deskhand"}, true},
        {{"deskhand", "file.xsd"}, true},
        {{"deskhand", "-Embedding"}, false},
        {{"deskhand", "/automation"}, false},
        {{"deskhand", "/dde"}, false},
        {{"deskhand", "--no-splash"}, false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(CStartupSplash::ShowSplashFor(row.arguments), row.splash) << row.arguments.join(' ').toStdString();
}

// Pictures for reviewers in build/screenshots/: the window and every dialog.
TEST_F(MainFrame, Screenshots)
{
    const auto save = &MainWindowTest::SavePicture;
    save(*frame, QStringLiteral("main_phonebook_empty"));
    // The Option menu, its separator before "IrComm option" drawn.
    auto* option = frame->findChild<QMenu*>(QStringLiteral("optionMenu"));
    option->popup(frame->mapToGlobal(QPoint(0, 0)));
    QAction* separator = option->actions().value(1);
    ASSERT_TRUE(separator && separator->isSeparator());
    EXPECT_GT(option->actionGeometry(separator).height(), 0);
    save(*option, QStringLiteral("menu_option"));
    option->hide();

    Click(IDC_MOBILE_READ);
    Select(List(IDC_HANDSET_LIST), {0, 1});
    Click(IDC_COPY_TO_PC);
    AddPcContact("Dora Mustermann", "0172 555", "030 1234", "", CMVsyncDoc::ListPc);
    ClickRow(List(IDC_PC_LIST), 1);
    ClickRow(List(IDC_HANDSET_LIST), 0);
    save(*frame, QStringLiteral("main_phonebook_handset"));
    form->ImageButton(IDC_SIM)->click();
    Click(IDC_MOBILE_READ);
    ClickRow(List(IDC_SIM_LIST), 0);
    save(*frame, QStringLiteral("main_phonebook_sim"));

    CPhoneEntry entry = *doc->m_pcContacts[0];
    CContactDlg contact(entry, CContactDlg::ModeEdit, doc->m_groupNames);
    save(contact, QStringLiteral("dialog_contact"));
    CPhoneEntry simEntry = *doc->m_simContacts[0];
    CSimContactDlg sim(simEntry, CSimContactDlg::ModeNew, doc->m_groupNames);
    save(sim, QStringLiteral("dialog_sim_contact"));
    CPhonebookListDlg pick(*doc);
    save(pick, QStringLiteral("dialog_phonebook_list"));
    CAboutDlg about;
    save(about, QStringLiteral("dialog_about"));
    CIrCommOptionDlg ircomm;
    ircomm.OnInitDialog();
    save(ircomm, QStringLiteral("dialog_ircomm_option"));
    CDebugOptionDlg debug;
    debug.OnInitDialog();
    save(debug, QStringLiteral("dialog_debug_option"));
    CWorkProgressDlg progress(CWorkProgressDlg::kDeskhand, MakeProgressRequest());
    g_nProgressRange = 30;
    progress.Step(QStringLiteral("Reading phonebook 1~10"));
    save(progress, QStringLiteral("dialog_progress"));
    g_nProgressRange = 10;
    frame->setEnabled(true);

    // Printing the local list, to a file instead of a printer.
    PrintToPdf(*form, QStringLiteral("print_phonebook"));
}

// Row numbers of one, two and three digits in the phonebook's lists, and every detail label
// whole beside them.
TEST_F(MainFrame, LongListPicture)
{
    for (int i = 1; i <= 12; ++i)
        phone.state().handset.entries[i] = phonesim::BookEntry{i % 7, QStringLiteral("Handset %1").arg(i), QStringLiteral("0170%1").arg(i), {}, {}, {}, {}};
    windowtest::AddNumberedContacts<CPhoneEntry>(*doc, CMVsyncDoc::ListPc, 120);
    form->RefreshList(CMVsyncDoc::ListPc);
    Click(IDC_MOBILE_READ);
    ClickRow(List(IDC_PC_LIST), 99);
    ClickRow(List(IDC_HANDSET_LIST), 11);
    List(IDC_PC_LIST)->scrollToItem(List(IDC_PC_LIST)->topLevelItem(119));
    SavePicture(*frame, QStringLiteral("main_phonebook_long_list"));
}

// When the save at exit fails, the window says so and stays, and with it the session's work. The
// box names the file that was not saved and why, and no other: the data file, the number
// directory or the values as read from the PIM store.
TEST_F(MainFrame, AFailedSaveAtExitNamesTheFileAndKeepsTheWindowUnlessTheUserQuitsAnyway)
{
    AddPcContact(QStringLiteral("Ann"), QStringLiteral("0123"));
    for (const char* blocked : {"mvsync.dat", "mnum.dat", "pimbase.dat"}) {
        SCOPED_TRACE(blocked);
        const QString name = QString::fromLatin1(blocked);
        QFile::remove(dataDir.filePath(name));
        // A folder where the file belongs: its save fails, also for root.
        ASSERT_TRUE(QDir(dataDir.path()).mkdir(name));
        const QString named = QStringLiteral("\"%1\" (%2)").arg(dataDir.filePath(name), qt_error_string(EISDIR));
        ASSERT_NO_FATAL_FAILURE(windowtest::ExpectAFailedSaveAtExitKeepsTheWindow(
            *frame, *frame->FindAction(ID_APP_EXIT), ui.rec, platform::LoadString(64010).arg(named),
            [&] { ASSERT_TRUE(QDir(dataDir.path()).rmdir(name)); }));
        // Kept open, the work reached the disk once the folder took it again.
        CMVsyncDoc saved;
        saved.SetDataDir(dataDir.path());
        saved.LoadLocalData();
        ASSERT_EQ(saved.m_pcContacts.size(), 1u);
        EXPECT_EQ(saved.m_pcContacts[0]->m_strName, QStringLiteral("Ann"));
        EXPECT_TRUE(QFileInfo(dataDir.filePath(name)).isFile());
    }
}

} // namespace
