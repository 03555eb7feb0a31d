#pragma once

#include "controls/event_loop_clock.h"
#include "controls/qt_ui_services.h"
#include "controls/startup_splash.h"
#include "controls/termination_watch.h"
#include "controls/window_titles.h"
#include "platform/folders.h"
#include "platform/single_instance.h"
#include "platform/string_table.h"
#include "platform/ui_services.h"

#include <QDir>
#include <QStringList>

#include <memory>

// What the applications of both programs share: one copy per data folder, the Qt services and the
// event-loop clock installed while the application lives, one document and one main window over
// it, and the watch that lets SIGINT, SIGTERM and SIGHUP end a running command as Abort does
// and close the window as Exit does. Doc and Frame are the program's document and main frame.
template <class Doc, class Frame>
class TDocumentApp {
public:
    TDocumentApp(const TDocumentApp&) = delete;
    TDocumentApp& operator=(const TDocumentApp&) = delete;

    Frame* GetMainFrame() const { return m_pFrame.get(); }
    Doc* GetDocument() const { return m_pDoc.get(); }

protected:
    // caption titles the message boxes, instanceName is the single-instance name, program names
    // the program for the desktop.
    TDocumentApp(const char* caption, const char* instanceName, const QString& program)
        : m_ui(QString::fromLatin1(caption)), m_strInstanceName(QString::fromLatin1(instanceName)), m_strProgram(program)
    {
        SetDesktopIdentity(program);
    }
    ~TDocumentApp()
    {
        m_pTermination.reset();
        m_pFrame.reset();
        m_pDoc.reset();
        if (&platform::UiServices::instance() == &m_ui)
            platform::UiServices::install(nullptr);
        if (&platform::Clock::instance() == &m_clock)
            platform::Clock::install(nullptr);
    }

    // The splash switch from the command line, the single-instance rule, then the services.
    // False ends the process: another copy runs and has been told.
    bool StartInstance(const QStringList& arguments, const char* findAppMessage)
    {
        CStartupSplash::EnableSplash(CStartupSplash::ShowSplashFor(arguments));
        // One copy per data folder, whatever the environment: the lock lives beside the data file.
        m_strDataDir = platform::DataDir(m_strProgram);
        m_pInstance = std::make_unique<platform::SingleInstance>(m_strInstanceName, m_strDataDir);
        // A second copy tells the first one and ends without a word; a lock this user cannot
        // open may be another copy's, and the start ends saying so.
        if (!m_pInstance->Acquire(findAppMessage)) {
            if (const QString why = m_pInstance->LockProblem(); !why.isEmpty()) {
                platform::UiServices::install(&m_ui);
                platform::AfxMessageBox(platform::LoadString(Doc::kLockUnavailableText)
                                            .arg(QDir::toNativeSeparators(m_pInstance->LockPath()), why),
                                        platform::MB_ICONWARNING);
            }
            return false;
        }
        platform::UiServices::install(&m_ui);
        // Waits for the phone keep the window alive.
        platform::Clock::install(&m_clock);
        return true;
    }

    // The termination watch, the document with its local data from the locked data folder, and
    // the main window shown over it. The watch stands before the data loads: a signal while a
    // start-up box is open closes the box, and once the start is done the window closes as Exit
    // closes it, saving what was loaded.
    void OpenWindow()
    {
        m_pDoc = std::make_unique<Doc>();
        if (!m_strDataDir.isEmpty())
            m_pDoc->SetDataDir(m_strDataDir);
        m_pFrame = std::make_unique<Frame>(*m_pDoc);
        m_ui.SetMainWindow(m_pFrame.get());
        m_bStarting = true;
        m_pTermination = std::make_unique<CTerminationWatch>([this] { return m_bStarting || m_pDoc->IsBusy(); }, *m_pFrame);
        m_pDoc->OnNewDocument();
        m_pFrame->InitialUpdateFrame();
        m_pFrame->show();
        m_bStarting = false;
    }

private:
    QtUiServices m_ui;
    EventLoopClock m_clock;
    QString m_strInstanceName;
    QString m_strProgram;
    QString m_strDataDir; // the locked data folder, once StartInstance ran
    std::unique_ptr<platform::SingleInstance> m_pInstance;
    bool m_bStarting = false; // the window closes only once the data has loaded
    std::unique_ptr<Doc> m_pDoc;
    std::unique_ptr<Frame> m_pFrame; // destroyed before the document it shows
    std::unique_ptr<CTerminationWatch> m_pTermination; // destroyed first
};
