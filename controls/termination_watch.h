#pragma once

#include "platform/termination_signals.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <functional>

class QSocketNotifier;
class QWidget;

// Ends the program the normal way when the system asks it to (SIGINT, SIGTERM, SIGHUP): a
// phone command that runs ends as Abort ends it (the transport hears the request), open
// dialogs and boxes are closed, and then the main window closes as Exit closes it, saving the
// data. A second signal of the same kind ends the process at once.
class CTerminationWatch final : public QObject {
    Q_OBJECT

public:
    // How often closing is tried again while a command runs or a dialog is open.
    static constexpr int kRetryMs = 50;

    // isBusy tells whether a phone command or an exchange runs.
    CTerminationWatch(std::function<bool()> isBusy, QWidget& mainWindow);
    ~CTerminationWatch() override;

private:
    void OnSignal();
    void TryClose();

    platform::ScopedTerminationSignals m_signals;
    std::function<bool()> m_isBusy;
    QPointer<QWidget> m_pMainWindow;
    QSocketNotifier* m_pNotifier = nullptr; // a child
    QTimer m_retry;
};
