#pragma once

#include <QEvent>
#include <QObject>
#include <QPointer>

#include <functional>

class QWidget;

// While a command runs, its main window takes no user input. The command's pauses and its
// message pump turn the event loop, so that the window repaints and the progress window's
// Abort or Cancel is heard; a click, key or shortcut meant for the main window would start a
// second command inside the first, and is dropped as on a disabled window. Other windows (the
// progress window, boxes and dialogs) keep their input.
class CBusyInputGate final : public QObject {
    Q_OBJECT

public:
    // isBusy tells whether a command runs; the gate watches the application's events.
    CBusyInputGate(std::function<bool()> isBusy, QWidget& mainWindow);
    ~CBusyInputGate() override;

    // The events that carry what a user does with mouse, keys, touch or pen.
    static bool IsUserInput(QEvent::Type type);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<bool()> m_isBusy;
    QPointer<QWidget> m_pMainWindow;
};
