#include "controls/termination_watch.h"

#include <QApplication>
#include <QDialog>
#include <QSocketNotifier>
#include <QWidget>

#include <unistd.h>

CTerminationWatch::CTerminationWatch(std::function<bool()> isBusy, QWidget& mainWindow)
    : m_isBusy(std::move(isBusy)), m_pMainWindow(&mainWindow)
{
    m_retry.setInterval(kRetryMs);
    connect(&m_retry, &QTimer::timeout, this, &CTerminationWatch::TryClose);
    const int fd = m_signals.NotifierFd();
    if (fd >= 0) {
        m_pNotifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
        connect(m_pNotifier, &QSocketNotifier::activated, this, &CTerminationWatch::OnSignal);
    }
}

CTerminationWatch::~CTerminationWatch() = default;

void CTerminationWatch::OnSignal()
{
    char bytes[16];
    while (::read(int(m_pNotifier->socket()), bytes, sizeof bytes) > 0) {
    }
    if (!platform::TerminationRequested())
        return;
    m_pNotifier->setEnabled(false);
    TryClose();
}

void CTerminationWatch::TryClose()
{
    if (!m_pMainWindow) {
        m_retry.stop();
        return;
    }
    // A dialog or box waits in a loop of its own, also one that a command opened; it goes
    // first, and the window closes once that loop has returned.
    if (QWidget* modal = QApplication::activeModalWidget()) {
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
        m_retry.start();
        return;
    }
    // A running command ends by itself: its next look at the line sees the request.
    if (m_isBusy && m_isBusy()) {
        m_retry.start();
        return;
    }
    m_retry.stop();
    if (!m_pMainWindow->close())
        m_retry.start();
}
