#include "ui2/main_frame.h"

#include "controls/startup_splash.h"
#include "controls/work_progress_dlg.h"
#include "document2/mvsync_doc.h"
#include "platform/string_table.h"
#include "ui2/about_dlg.h"
#include "ui2/data_form.h"
#include "ui2/form_contact.h"
#include "ui2/form_memo.h"
#include "ui2/form_schedule.h"
#include "ui2/resource.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

namespace dh2 {

using namespace ids;

namespace {

// Caption, bar background, tab shape fill and caption text colour of each tab.
constexpr CTabbedFrame::TabColours kTabStyles[] = {
    {IDS_PHONEBOOK, 0xA05E60, 0x80282B, 0xE7D7D7},
    {IDS_SCHEDULE, 0x66C59D, 0x4C9476, 0xD9F0E6},
    {IDS_MEMO, 0x96C2C2, 0x84ACAC, 0xFFFFFF},
    {IDS_SMS, 0x8A9DA7, 0x4A5D65, 0xD3E0E5},
    {IDS_TUTORIAL, 0x828378, 0, 0xFFFFFF},
};

// A baud rate of the Baudrate menu.
struct BaudCommand {
    int id;
    int rate;
    const char* text;
};
constexpr BaudCommand kBaudCommands[] = {
    {ID_BAUD_19200, 19200, "19200 - WAP ver"},
    {ID_BAUD_115200, 115200, "115200 - GPRS ver"},
};

} // namespace

CMainFrame::CMainFrame(CMVsyncDoc& doc, QWidget* parent)
    : CTabbedFrame({[&doc] { return doc.IsBusy(); }, [&doc] { return doc.CanCloseFrame(); }},
                   CWorkProgressDlg::Factory(CWorkProgressDlg::kDeskhand2), QStringLiteral("deskhand2"), parent)
    , m_doc(doc)
{
    BuildMenus();
    OnCreateClient({{platform::LoadString(IDS_PHONEBOOK), [&doc] { return std::make_unique<CForm_Contact>(doc); }},
                    {platform::LoadString(IDS_SCHEDULE), [&doc] { return std::make_unique<CForm_Schedule>(doc); }},
                    {platform::LoadString(IDS_MEMO), [&doc] { return std::make_unique<CForm_Memo>(doc); }}});
    // The splash stands over the frame while it is built and the data file loads.
    SplashStyle splash;
    splash.program = QStringLiteral("deskhand2");
    splash.timerPeriodMs = 750;
    splash.hideOnTimer = false;
    OnCreate(splash, CMVsyncDoc::ModelTitle(-1));
    m_doc.SetCurrentTabProvider([this] { return GetCurrentTab(); });
    // The model profile tells the document, which tells the frame.
    connect(&m_doc, &CMVsyncDoc::titleChanged, this, &CMainFrame::UpdateTitle);
    connect(&m_doc, &CMVsyncDoc::closeSplash, this, [] {
        if (CStartupSplash* splash = CStartupSplash::Instance())
            splash->HideSplash();
    });
}

CMainFrame::~CMainFrame()
{
    m_doc.SetCurrentTabProvider({});
}

void CMainFrame::UpdateTitle(const QString& title)
{
    setWindowTitle(title);
}

std::optional<CTabbedFrame::TabStyle> CMainFrame::TabStyleOf(int n) const
{
    if (n >= 0 && n < int(std::size(kTabStyles))) {
        const TabColours& style = kTabStyles[n];
        return TabStyle{platform::LoadString(style.caption), style.background, style.shape, style.text};
    }
    return TabStyle{QString(), COLORREF(n), COLORREF(n), COLORREF(n)};
}

CDataForm* CMainFrame::GetForm(int n) const
{
    return qobject_cast<CDataForm*>(GetPage(n));
}

std::unique_ptr<QDialog> CMainFrame::CreateAboutDialog()
{
    return std::make_unique<CAboutDlg>(this);
}

void CMainFrame::BuildMenus()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("fileMenu"));
    QAction* save = AddCommand(file, ID_FILE_SAVE, QStringLiteral("&Save\tCtrl+S"));
    save->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    connect(save, &QAction::triggered, this, [this] { m_doc.OnFileSave(); });
    connect(AddCommand(file, ID_FILE_SAVE_AS, QStringLiteral("Save As CSV file")), &QAction::triggered, this,
            [this] { m_doc.OnSaveAsCsv(); });
    connect(AddCommand(file, ID_LOAD_CSV, QStringLiteral("Load From CSV file")), &QAction::triggered, this,
            [this] { m_doc.OnLoadFromCsv(); });
    QAction* print = AddCommand(file, ID_FILE_PRINT, QStringLiteral("&Print...\tCtrl+P"));
    print->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    connect(print, &QAction::triggered, this, &CMainFrame::OnFilePrint);
    file->addSeparator();
    connect(AddCommand(file, ID_APP_EXIT, QStringLiteral("E&xit")), &QAction::triggered, this, &QWidget::close);
    connect(file, &QMenu::aboutToShow, this, [this] {
        const bool csv = m_doc.IsCsvCommandEnabled();
        FindAction(ID_FILE_SAVE_AS)->setEnabled(csv);
        FindAction(ID_LOAD_CSV)->setEnabled(csv);
    });

    QMenu* option = menuBar()->addMenu(QStringLiteral("&Option"));
    option->setObjectName(QStringLiteral("optionMenu"));
    auto* ports = new QActionGroup(this);
    for (int n = 1; n <= 4; ++n) {
        QAction* port = AddCommand(option, ID_COM_PORT1 + n - 1, QStringLiteral("COM %1").arg(n));
        port->setCheckable(true);
        ports->addAction(port);
        connect(port, &QAction::triggered, this, [this, n] {
            m_doc.OnComPort(n);
            UpdateChecks();
        });
    }
    QMenu* baud = option->addMenu(QStringLiteral("Baudrate"));
    baud->setObjectName(QStringLiteral("baudMenu"));
    auto* bauds = new QActionGroup(this);
    for (const BaudCommand& command : kBaudCommands) {
        QAction* action = AddCommand(baud, command.id, QString::fromLatin1(command.text));
        action->setCheckable(true);
        bauds->addAction(action);
        connect(action, &QAction::triggered, this, [this, rate = command.rate] {
            m_doc.OnBaudRate(rate);
            UpdateChecks();
        });
    }
    connect(option, &QMenu::aboutToShow, this, &CMainFrame::UpdateChecks);
    connect(baud, &QMenu::aboutToShow, this, &CMainFrame::UpdateChecks);

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("helpMenu"));
    connect(AddCommand(help, ID_HELP, QStringLiteral("Help")), &QAction::triggered, this, &CMainFrame::OnHelp);
    QMenu* about = menuBar()->addMenu(QStringLiteral("&About"));
    about->setObjectName(QStringLiteral("aboutMenu"));
    connect(AddCommand(about, ID_APP_ABOUT, QStringLiteral("Deskhand")), &QAction::triggered, this, &CMainFrame::OnAppAbout);
    UpdateChecks();
}

void CMainFrame::UpdateChecks()
{
    for (int n = 1; n <= 4; ++n)
        FindAction(ID_COM_PORT1 + n - 1)->setChecked(m_doc.IsComPortChecked(n));
    for (const BaudCommand& command : kBaudCommands)
        FindAction(command.id)->setChecked(m_doc.IsBaudChecked(command.rate));
}

} // namespace dh2
