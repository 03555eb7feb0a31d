#include "controls/tabbed_frame.h"

#include "common/help_file.h"
#include "controls/caption_bar.h"
#include "controls/command_actions.h"
#include "controls/data_pane_form.h"
#include "controls/help_page.h"
#include "controls/startup_splash.h"
#include "controls/wnd_tab.h"

#include <QCloseEvent>
#include <QDialog>
#include <QIcon>
#include <QVBoxLayout>

CTabbedFrame::CTabbedFrame(DocumentHooks document, common::ProgressViewFactory progressWindows, const QString& program,
                           QWidget* parent)
    : QMainWindow(parent)
    , m_document(std::move(document))
    , m_strProgram(program)
    , m_progressWindows(std::move(progressWindows))
    , m_inputGate(m_document.isBusy, *this)
{
    setObjectName(QStringLiteral("CMainFrame"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/%1.png").arg(program)));
    setMinimumSize(kMinWidth, kMinHeight);
    auto* client = new QWidget;
    auto* layout = new QVBoxLayout(client);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    setCentralWidget(client);
}

CTabbedFrame::~CTabbedFrame() = default;

void CTabbedFrame::OnCreateClient(const std::vector<Page>& pages)
{
    m_pSplitter = new CSplitterTabWnd;
    m_pSplitter->setObjectName(QStringLiteral("splitter"));
    centralWidget()->layout()->addWidget(m_pSplitter);
    for (const Page& page : pages)
        m_pSplitter->AddView(page.create, page.title);
    m_pSplitter->CreateTabWindow(this);
    m_pSplitter->GetTabWnd()->setObjectName(QStringLiteral("tabs"));
    // The strip paints its tabs itself: its titles are its text.
    m_pSplitter->GetTabWnd()->setAccessibleName(m_pSplitter->GetTitles().join(QStringLiteral(", ")));
}

void CTabbedFrame::OnCreate(const SplashStyle& splash, const QString& title)
{
    CStartupSplash::ShowSplash(this, splash);
    m_pCaptionBar = new CCaptionBar;
    m_pCaptionBar->setObjectName(QStringLiteral("captionBar"));
    static_cast<QVBoxLayout*>(centralWidget()->layout())->insertWidget(0, m_pCaptionBar);
    SelectTab(0);
    setWindowTitle(title);
}

void CTabbedFrame::InitialUpdateFrame()
{
    for (int n = 0; n < m_pSplitter->GetViewCount(); ++n) {
        if (CDataPaneForm* page = GetPage(n))
            page->OnInitialUpdate();
    }
}

void CTabbedFrame::SelectTab(int n)
{
    if (!m_pCaptionBar)
        return;
    const std::optional<TabStyle> style = TabStyleOf(n);
    if (!style)
        return;
    m_pCaptionBar->SetTitleFont(QStringLiteral("Tahoma"));
    m_pCaptionBar->SetText(style->caption);
    m_pCaptionBar->SetBackColor(style->background);
    m_pCaptionBar->SetBorderColor(style->shape);
    m_pCaptionBar->SetTextColor(style->text);
    m_pCaptionBar->setAccessibleName(m_pCaptionBar->GetText());
    m_nCurrentTab = n;
}

CDataPaneForm* CTabbedFrame::GetPage(int n) const
{
    return qobject_cast<CDataPaneForm*>(m_pSplitter->GetView(n));
}

QAction* CTabbedFrame::AddCommand(QMenu* menu, int id, const QString& text)
{
    return commands::AddCommand(this, menu, id, text);
}

QAction* CTabbedFrame::FindAction(int id) const
{
    return commands::FindCommand(*this, id);
}

void CTabbedFrame::SetModalRunner(ModalRunner runner)
{
    m_runModal = runner;
    for (int n = 0; n < m_pSplitter->GetViewCount(); ++n) {
        if (CDataPaneForm* page = GetPage(n))
            page->SetModalRunner(runner);
    }
}

void CTabbedFrame::OnHelp()
{
    helppage::OpenHelpPage(common::GetHelpFileName(), m_strProgram);
}

void CTabbedFrame::OnAppAbout()
{
    const std::unique_ptr<QDialog> dialog = CreateAboutDialog();
    if (m_runModal)
        m_runModal(*dialog);
    else
        dialog->exec();
}

void CTabbedFrame::OnFilePrint()
{
    if (CDataPaneForm* page = GetPage(m_nCurrentTab))
        page->OnFilePrint();
}

void CTabbedFrame::closeEvent(QCloseEvent* event)
{
    // A running loop would go on over records that closing frees.
    if (m_document.isBusy()) {
        event->ignore();
        return;
    }
    // The save failed and the user keeps the window, and with it the session's work.
    if (!m_document.canClose()) {
        event->ignore();
        return;
    }
    event->accept();
}
