#pragma once

#include "controls/event_loop_clock.h"
#include "controls/qt_ui_services.h"
#include "platform/single_instance.h"

#include <QObject>
#include <QStringList>

#include <memory>

class CTerminationWatch;

namespace dh2 {

class CMainFrame;
class CMVsyncDoc;

// The application of Deskhand2: one copy per user, one document, one main window. While the
// splash shows, every key and mouse press goes to it first and ends it.
class CMVsyncApp final : public QObject {
    Q_OBJECT

public:
    static constexpr const char* kInstanceName = "ZentraDeskhand2Corvov1";
    static constexpr const char* kFindAppMessage = "ARBOR_FIND_APP";
    // The application's name, the title of its message boxes.
    static constexpr const char* kCaption = "Deskhand2";

    // Names the program for the desktop.
    CMVsyncApp();
    ~CMVsyncApp() override;

    // Start-up: the splash switch from the command line, the single-instance rule, the
    // document with its local data, the main window. False ends the process: another copy
    // runs and has been told.
    bool InitInstance(const QStringList& arguments);

    CMainFrame* GetMainFrame() const { return m_pFrame.get(); }
    CMVsyncDoc* GetDocument() const { return m_pDoc.get(); }

protected:
    // The splash sees input before any window does.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QtUiServices m_ui;
    EventLoopClock m_clock;
    platform::SingleInstance m_instance;
    std::unique_ptr<CMVsyncDoc> m_pDoc;
    std::unique_ptr<CMainFrame> m_pFrame; // destroyed before the document it shows
    std::unique_ptr<CTerminationWatch> m_pTermination; // destroyed first
};

} // namespace dh2
