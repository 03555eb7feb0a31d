#pragma once

#include "controls/event_loop_clock.h"
#include "controls/qt_ui_services.h"
#include "controls/startup_splash.h"
#include "platform/single_instance.h"

#include <QStringList>

#include <memory>

class CMainFrame;
class CMVsyncDoc;
class CTerminationWatch;

// The application of Deskhand: one copy per user, one document, one main window.
class CMVsyncApp {
public:
    static constexpr const char* kInstanceName = "ARBOR_MUTEX";
    static constexpr const char* kFindAppMessage = "ARBOR_FIND_APP";
    // The application's name, the title of its message boxes.
    static constexpr const char* kCaption = "Deskhand";

    // Names the program for the desktop.
    CMVsyncApp();
    ~CMVsyncApp();
    CMVsyncApp(const CMVsyncApp&) = delete;
    CMVsyncApp& operator=(const CMVsyncApp&) = delete;

    // Start-up: the splash switch from the command line, the single-instance rule, the
    // document with its local data, the main window. False ends the process: another copy
    // runs and has been told.
    bool InitInstance(const QStringList& arguments);

    // Whether a command line leaves the splash on: the framework's embedding, automation and
    // DDE starts ("-Embedding", "/Automation", "-dde", ...) and "--no-splash" turn it off.
    static bool ShowSplashFor(const QStringList& arguments) { return CStartupSplash::ShowSplashFor(arguments); }

    CMainFrame* GetMainFrame() const { return m_pFrame.get(); }
    CMVsyncDoc* GetDocument() const { return m_pDoc.get(); }

private:
    QtUiServices m_ui;
    EventLoopClock m_clock;
    platform::SingleInstance m_instance;
    std::unique_ptr<CMVsyncDoc> m_pDoc;
    std::unique_ptr<CMainFrame> m_pFrame; // destroyed before the document it shows
    std::unique_ptr<CTerminationWatch> m_pTermination; // destroyed first
};
