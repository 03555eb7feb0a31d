#include "ui2/main_frame.h"

#include "common/help_file.h"
#include "controls/caption_bar.h"
#include "controls/command_actions.h"
#include "controls/help_page.h"
#include "controls/startup_splash.h"
#include "controls/wnd_tab.h"
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
#include <QCloseEvent>
#include <QMenu>
#include <QMenuBar>
#include <QVBoxLayout>

namespace dh2 {

using namespace ids;

namespace {

struct TabStyle {
    int caption; // string id
    COLORREF background;
    COLORREF shape;
    COLORREF text;
};

// Caption, bar background, tab shape fill and caption text colour of each tab.
constexpr TabStyle kTabStyles[] = {
    {IDS_PHONEBOOK, 0xA05E60, 0x80282B, 0xE7D7D7},
    {IDS_SCHEDULE, 0x66C59D, 0x4C9476, 0xD9F0E6},
    {IDS_MEMO, 0x96C2C2, 0x84ACAC, 0xFFFFFF},
    {IDS_SMS, 0x8A9DA7, 0x4A5D65, 0xD3E0E5},
    {IDS_TUTORIAL, 0x828378, 0, 0xFFFFFF},
};

} // namespace

std::vector<CMainFrame::Page> CMainFrame::Pages()
{
    return {
        {0, IDS_PHONEBOOK, [](CMVsyncDoc& doc) -> std::unique_ptr<CDataForm> { return std::make_unique<CForm_Contact>(doc); }},
        {1, IDS_SCHEDULE, [](CMVsyncDoc& doc) -> std::unique_ptr<CDataForm> { return std::make_unique<CForm_Schedule>(doc); }},
        {2, IDS_MEMO, [](CMVsyncDoc& doc) -> std::unique_ptr<CDataForm> { return std::make_unique<CForm_Memo>(doc); }},
    };
}

CMainFrame::CMainFrame(CMVsyncDoc& doc, QWidget* parent)
    : QMainWindow(parent)
    , m_doc(doc)
    , m_progressWindows(CWorkProgressDlg::Factory(CWorkProgressDlg::kDeskhand2))
    , m_inputGate([&doc] { return doc.IsBusy(); }, *this)
{
    setObjectName(QStringLiteral("CMainFrame"));
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

void CMainFrame::OnCreateClient()
{
    m_pSplitter = new CSplitterTabWnd;
    m_pSplitter->setObjectName(QStringLiteral("splitter"));
    centralWidget()->layout()->addWidget(m_pSplitter);
    for (const Page& page : Pages())
        m_pSplitter->AddView([this, create = page.create] { return create(m_doc); }, platform::LoadString(page.titleId));
    m_pSplitter->CreateTabWindow(this);
    m_pSplitter->GetTabWnd()->setObjectName(QStringLiteral("tabs"));
    // The strip paints its tabs itself: its titles are its text.
    m_pSplitter->GetTabWnd()->setAccessibleName(m_pSplitter->GetTitles().join(QStringLiteral(", ")));
}

void CMainFrame::OnCreate()
{
    // The splash stands over the frame while it is built and the data file loads.
    SplashStyle splash;
    splash.program = QStringLiteral("deskhand2");
    splash.timerPeriodMs = 750;
    splash.hideOnTimer = false;
    CStartupSplash::ShowSplash(this, splash);
    m_pCaptionBar = new CCaptionBar;
    m_pCaptionBar->setObjectName(QStringLiteral("captionBar"));
    static_cast<QVBoxLayout*>(centralWidget()->layout())->insertWidget(0, m_pCaptionBar);
    SelectTab(0);
    setWindowTitle(CMVsyncDoc::ModelTitle(-1));
}

void CMainFrame::InitialUpdateFrame()
{
    for (int n = 0; n < m_pSplitter->GetViewCount(); ++n) {
        if (CDataForm* form = GetForm(n))
            form->OnInitialUpdate();
    }
}

void CMainFrame::UpdateTitle(const QString& title)
{
    setWindowTitle(title);
}

void CMainFrame::SelectTab(int n)
{
    if (!m_pCaptionBar)
        return;
    m_pCaptionBar->SetTitleFont(QStringLiteral("Tahoma"));
    if (n >= 0 && n < int(std::size(kTabStyles))) {
        const TabStyle& style = kTabStyles[n];
        m_pCaptionBar->SetText(platform::LoadString(style.caption));
        m_pCaptionBar->SetBackColor(style.background);
        m_pCaptionBar->SetBorderColor(style.shape);
        m_pCaptionBar->SetTextColor(style.text);
    } else {
        m_pCaptionBar->SetText(QString());
        m_pCaptionBar->SetBackColor(COLORREF(n));
        m_pCaptionBar->SetBorderColor(COLORREF(n));
        m_pCaptionBar->SetTextColor(COLORREF(n));
    }
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
    for (const auto& [id, rate, text] : {std::tuple{int(ID_BAUD_19200), 19200, QStringLiteral("19200 - WAP ver")},
                                         std::tuple{int(ID_BAUD_115200), 115200, QStringLiteral("115200 - GPRS ver")}}) {
        QAction* action = AddCommand(baud, id, text);
        action->setCheckable(true);
        bauds->addAction(action);
        // An init-capture: clang before 16 cannot capture a structured binding by name.
        connect(action, &QAction::triggered, this, [this, rate = rate] {
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

QAction* CMainFrame::FindAction(int id) const
{
    return commands::FindCommand(*this, id);
}

void CMainFrame::UpdateChecks()
{
    for (int n = 1; n <= 4; ++n)
        FindAction(ID_COM_PORT1 + n - 1)->setChecked(m_doc.IsComPortChecked(n));
    FindAction(ID_BAUD_19200)->setChecked(m_doc.IsBaudChecked(19200));
    FindAction(ID_BAUD_115200)->setChecked(m_doc.IsBaudChecked(115200));
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
    helppage::OpenHelpPage(common::HelpFileName(), QStringLiteral("deskhand2"));
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

} // namespace dh2
