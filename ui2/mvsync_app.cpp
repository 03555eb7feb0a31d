#include "ui2/mvsync_app.h"

#include "controls/startup_splash.h"
#include "controls/termination_watch.h"
#include "controls/window_titles.h"
#include "document2/mvsync_doc.h"
#include "ui2/main_frame.h"

#include <QCoreApplication>

namespace dh2 {

CMVsyncApp::CMVsyncApp() : m_ui(QString::fromLatin1(kCaption)), m_instance(QString::fromLatin1(kInstanceName))
{
    SetDesktopIdentity(QStringLiteral("deskhand2"));
}

CMVsyncApp::~CMVsyncApp()
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
    m_pTermination.reset();
    m_pFrame.reset();
    m_pDoc.reset();
    if (&platform::UiServices::instance() == &m_ui)
        platform::UiServices::install(nullptr);
    if (&platform::Clock::instance() == &m_clock)
        platform::Clock::install(nullptr);
}

bool CMVsyncApp::eventFilter(QObject* watched, QEvent* event)
{
    if (CStartupSplash::FilterInput(event))
        return true;
    return QObject::eventFilter(watched, event);
}

bool CMVsyncApp::InitInstance(const QStringList& arguments)
{
    CStartupSplash::EnableSplash(CStartupSplash::ShowSplashFor(arguments));
    // A second copy tells the first one and ends without a word.
    if (!m_instance.Acquire(kFindAppMessage))
        return false;

    platform::UiServices::install(&m_ui);
    // Waits for the phone keep the window alive.
    platform::Clock::install(&m_clock);
    if (QCoreApplication::instance())
        QCoreApplication::instance()->installEventFilter(this);
    m_pDoc = std::make_unique<CMVsyncDoc>();
    m_pFrame = std::make_unique<CMainFrame>(*m_pDoc);
    m_ui.SetMainWindow(m_pFrame.get());
    // The document waits a second, the splash goes, then the data file loads.
    m_pDoc->OnNewDocument();
    m_pFrame->InitialUpdateFrame();
    m_pFrame->show();
    // SIGINT, SIGTERM and SIGHUP end a running command as Abort does and close the window as
    // Exit does.
    m_pTermination = std::make_unique<CTerminationWatch>([doc = m_pDoc.get()] { return doc->IsBusy(); }, *m_pFrame);
    return true;
}

} // namespace dh2
