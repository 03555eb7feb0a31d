#include "ui/main_frame.h"

#include "controls/startup_splash.h"
#include "controls/work_progress_dlg.h"
#include "document/mvsync_doc.h"
#include "platform/string_table.h"
#include "ui/about_dlg.h"
#include "ui/form_contact.h"
#include "ui/form_memo.h"
#include "ui/form_schedule.h"
#include "ui/option_dialogs.h"
#include "ui/resource.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

namespace dh1 {

using namespace ids;

namespace {

// Caption, bar background, tab shape fill and caption text colour of each page.
constexpr CTabbedFrame::TabColours kTabStyles[] = {
    {63036, 0xA05E60, 0x80282B, 0xE7D7D7},
    {63037, 0x66C59D, 0x4C9476, 0xD9F0E6},
    {63011, 0x96C2C2, 0x84ACAC, 0xFFFFFF},
    {0, 0x8A9DA7, 0x4A5D65, 0xD3E0E5}, // "Short Message Service": no such page is added
};

} // namespace

CMainFrame::CMainFrame(CMVsyncDoc& doc, QWidget* parent)
    : CTabbedFrame({[&doc] { return doc.IsBusy(); }, [&doc] { return doc.CanCloseFrame(); }},
                   CWorkProgressDlg::Factory(CWorkProgressDlg::kDeskhand), QStringLiteral("deskhand"), parent)
    , m_doc(doc)
    , m_optionDialogs([this] { return std::make_unique<COptionDialogs>(GetModalRunner()); })
{
    BuildMenus();
    // The message form is no page of the window.
    OnCreateClient({{platform::LoadString(63036), [&doc] { return std::make_unique<CForm_Contact>(doc); }},
                    {platform::LoadString(63037), [&doc] { return std::make_unique<CForm_Schedule>(doc); }},
                    {platform::LoadString(63011), [&doc] { return std::make_unique<CForm_Memo>(doc); }}});
    OnCreate(SplashStyle(), platform::LoadString(64100));
    m_doc.SetCurrentTabProvider([this] { return GetCurrentTab(); });
}

CMainFrame::~CMainFrame()
{
    m_doc.SetCurrentTabProvider({});
}

std::optional<CTabbedFrame::TabStyle> CMainFrame::TabStyleOf(int n) const
{
    if (n < 0 || n >= int(std::size(kTabStyles)))
        return std::nullopt;
    const TabColours& style = kTabStyles[n];
    return TabStyle{style.caption ? platform::LoadString(style.caption) : QStringLiteral("Short Message Service"),
                    style.background, style.shape, style.text};
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
    using platform::LoadString;
    QMenu* file = menuBar()->addMenu(LoadString(64120));
    file->setObjectName(QStringLiteral("fileMenu"));
    // The key names in the texts are shown only: these commands have no keys.
    connect(AddCommand(file, ID_FILE_SAVE, LoadString(64123)), &QAction::triggered, this, [this] { m_doc.OnFileSave(); });
    connect(AddCommand(file, ID_FILE_SAVE_AS, LoadString(64124)), &QAction::triggered, this,
            [this] { m_doc.OnSaveAsCsv(); });
    connect(AddCommand(file, ID_LOAD_CSV, LoadString(64125)), &QAction::triggered, this,
            [this] { m_doc.OnLoadFromCsv(); });
    connect(AddCommand(file, ID_FILE_PRINT, LoadString(64126)), &QAction::triggered, this, &CMainFrame::OnFilePrint);
    file->addSeparator();
    connect(AddCommand(file, ID_APP_EXIT, LoadString(64127)), &QAction::triggered, this, &QWidget::close);

    QMenu* option = menuBar()->addMenu(LoadString(64121));
    option->setObjectName(QStringLiteral("optionMenu"));
    QMenu* ports = option->addMenu(LoadString(64128));
    ports->setObjectName(QStringLiteral("comPortMenu"));
    auto* portGroup = new QActionGroup(this);
    for (int n = 1; n <= 5; ++n) {
        if (n == 5)
            ports->addSeparator();
        QAction* port = AddCommand(ports, ID_COM_PORT1 + n - 1, LoadString(64129).replace(QStringLiteral("%d"), QString::number(n)));
        port->setCheckable(true);
        portGroup->addAction(port);
        connect(port, &QAction::triggered, this, [this, n] {
            m_doc.OnComPort(n);
            UpdateComPortChecks();
        });
    }
    connect(option, &QMenu::aboutToShow, this, &CMainFrame::UpdateComPortChecks);
    connect(ports, &QMenu::aboutToShow, this, &CMainFrame::UpdateComPortChecks);
    option->addSeparator();
    connect(AddCommand(option, ID_IRCOMM_OPTION, LoadString(64130)), &QAction::triggered, this,
            [this] { m_doc.OnIrCommOption(); });

    QMenu* help = menuBar()->addMenu(LoadString(64122));
    help->setObjectName(QStringLiteral("helpMenu"));
    connect(AddCommand(help, ID_APP_ABOUT, LoadString(64131)), &QAction::triggered, this, &CMainFrame::OnAppAbout);
    connect(AddCommand(help, ID_HELP, LoadString(64132)), &QAction::triggered, this, &CMainFrame::OnHelp);

    // F1 asks for help; the debug options have a key of their own and no menu entry.
    QAction* helpKey = AddCommand(nullptr, ID_HELP, LoadString(64132));
    helpKey->setShortcut(QKeySequence(Qt::Key_F1));
    connect(helpKey, &QAction::triggered, this, &CMainFrame::OnHelp);
    addAction(helpKey);
    QAction* debug = AddCommand(nullptr, ID_DEBUG_OPTION, QStringLiteral("Option for Debug"));
    debug->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::ALT | Qt::Key_D));
    connect(debug, &QAction::triggered, this, [this] { m_doc.OnDebugOption(); });
    addAction(debug);
    UpdateComPortChecks();
}

void CMainFrame::UpdateComPortChecks()
{
    for (int n = 1; n <= 5; ++n) {
        if (QAction* port = FindAction(ID_COM_PORT1 + n - 1))
            port->setChecked(m_doc.IsComPortChecked(n));
    }
}

} // namespace dh1
