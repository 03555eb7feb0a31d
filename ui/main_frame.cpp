#include "ui/main_frame.h"

#include "common/help_file.h"
#include "controls/caption_bar.h"
#include "controls/command_actions.h"
#include "controls/help_page.h"
#include "controls/startup_splash.h"
#include "controls/wnd_tab.h"
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
#include <QCloseEvent>
#include <QIcon>
#include <QMenu>
#include <QMenuBar>
#include <QVBoxLayout>

using namespace ids;

namespace {

struct TabStyle {
    int caption; // string id
    COLORREF background;
    COLORREF shape;
    COLORREF text;
};

// Caption, bar background, tab shape fill and caption text colour of each page.
constexpr TabStyle kTabStyles[] = {
    {63036, 0xA05E60, 0x80282B, 0xE7D7D7},
    {63037, 0x66C59D, 0x4C9476, 0xD9F0E6},
    {63011, 0x96C2C2, 0x84ACAC, 0xFFFFFF},
    {0, 0x8A9DA7, 0x4A5D65, 0xD3E0E5}, // "Short Message Service": no such page is added
};

} // namespace

CMainFrame::CMainFrame(CMVsyncDoc& doc, QWidget* parent)
    : QMainWindow(parent)
    , m_doc(doc)
    , m_progressWindows(CWorkProgressDlg::Factory(CWorkProgressDlg::kDeskhand))
    , m_optionDialogs([this] { return std::make_unique<COptionDialogs>(m_runModal); })
    , m_inputGate([&doc] { return doc.IsBusy(); }, *this)
{
    setObjectName(QStringLiteral("CMainFrame"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/deskhand.png")));
    setMinimumSize(kMinWidth, kMinHeight);
    auto* client = new QWidget;
    auto* layout = new QVBoxLayout(client);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    setCentralWidget(client);
    BuildMenus();
    OnCreateClient();
    OnCreate();
    m_doc.SetCurrentTabProvider([this] { return GetCurrentTab(); });
}

CMainFrame::~CMainFrame()
{
    m_doc.SetCurrentTabProvider({});
}

void CMainFrame::OnCreateClient()
{
    m_pSplitter = new CSplitterTabWnd;
    m_pSplitter->setObjectName(QStringLiteral("splitter"));
    centralWidget()->layout()->addWidget(m_pSplitter);
    m_pSplitter->AddView([this] { return std::make_unique<CForm_Contact>(m_doc); }, platform::LoadString(63036));
    m_pSplitter->AddView([this] { return std::make_unique<CForm_Schedule>(m_doc); }, platform::LoadString(63037));
    m_pSplitter->AddView([this] { return std::make_unique<CForm_Memo>(m_doc); }, platform::LoadString(63011));
    // The message form is no page of the window.
    m_pSplitter->CreateTabWindow(this);
    m_pSplitter->GetTabWnd()->setObjectName(QStringLiteral("tabs"));
    // The strip paints its tabs itself: its titles are its text.
    m_pSplitter->GetTabWnd()->setAccessibleName(m_pSplitter->GetTitles().join(QStringLiteral(", ")));
}

void CMainFrame::OnCreate()
{
    // The splash stands over the frame while it is being built.
    CStartupSplash::ShowSplash(this);
    m_pCaptionBar = new CCaptionBar;
    m_pCaptionBar->setObjectName(QStringLiteral("captionBar"));
    static_cast<QVBoxLayout*>(centralWidget()->layout())->insertWidget(0, m_pCaptionBar);
    SelectTab(0);
    setWindowTitle(platform::LoadString(64100));
}

void CMainFrame::InitialUpdateFrame()
{
    for (int n = 0; n < m_pSplitter->GetViewCount(); ++n) {
        if (CDataForm* form = GetForm(n))
            form->OnInitialUpdate();
    }
}

void CMainFrame::SelectTab(int n)
{
    if (!m_pCaptionBar || n < 0 || n >= int(std::size(kTabStyles)))
        return;
    const TabStyle& style = kTabStyles[n];
    m_pCaptionBar->SetTitleFont(QStringLiteral("Tahoma"));
    m_pCaptionBar->SetText(style.caption ? platform::LoadString(style.caption) : QStringLiteral("Short Message Service"));
    m_pCaptionBar->SetBackColor(style.background);
    m_pCaptionBar->SetBorderColor(style.shape);
    m_pCaptionBar->SetTextColor(style.text);
    m_pCaptionBar->setAccessibleName(m_pCaptionBar->GetText());
    m_nCurrentTab = n;
}

CDataForm* CMainFrame::GetForm(int n) const
{
    return qobject_cast<CDataForm*>(m_pSplitter->GetView(n));
}

QAction* CMainFrame::AddCommand(QMenu* menu, int id, const QString& text)
{
    return commands::AddCommand(this, menu, id, text);
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

QAction* CMainFrame::FindAction(int id) const
{
    return commands::FindCommand(*this, id);
}

void CMainFrame::UpdateComPortChecks()
{
    for (int n = 1; n <= 5; ++n) {
        if (QAction* port = FindAction(ID_COM_PORT1 + n - 1))
            port->setChecked(m_doc.IsComPortChecked(n));
    }
}

void CMainFrame::SetModalRunner(std::function<int(QDialog&)> runner)
{
    m_runModal = runner;
    for (int n = 0; n < m_pSplitter->GetViewCount(); ++n) {
        if (CDataForm* form = GetForm(n))
            form->SetModalRunner(runner);
    }
}

void CMainFrame::OnHelp()
{
    helppage::OpenHelpPage(common::HelpFileName(), QStringLiteral("deskhand"));
}

void CMainFrame::OnAppAbout()
{
    CAboutDlg dialog(this);
    if (m_runModal)
        m_runModal(dialog);
    else
        dialog.exec();
}

void CMainFrame::OnFilePrint()
{
    if (CDataForm* form = GetForm(m_nCurrentTab))
        form->OnFilePrint();
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    // A running loop would go on over records that closing frees.
    if (m_doc.IsBusy()) {
        event->ignore();
        return;
    }
    // The save failed and the user keeps the window, and with it the session's work.
    if (!m_doc.CanCloseFrame()) {
        event->ignore();
        return;
    }
    event->accept();
}
