#include "controls/busy_input_gate.h"

#include <QCoreApplication>
#include <QWidget>

CBusyInputGate::CBusyInputGate(std::function<bool()> isBusy, QWidget& mainWindow)
    : m_isBusy(std::move(isBusy)), m_pMainWindow(&mainWindow)
{
    if (QCoreApplication* app = QCoreApplication::instance())
        app->installEventFilter(this);
}

CBusyInputGate::~CBusyInputGate() = default;

bool CBusyInputGate::IsUserInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonRelease:
    case QEvent::NonClientAreaMouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::ContextMenu:
    case QEvent::InputMethod:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
        return true;
    default:
        return false;
    }
}

bool CBusyInputGate::eventFilter(QObject* watched, QEvent* event)
{
    if (!IsUserInput(event->type()) || !watched->isWidgetType() || !m_pMainWindow)
        return false;
    if (static_cast<QWidget*>(watched)->window() != m_pMainWindow || !m_isBusy || !m_isBusy())
        return false;
    // A focus widget that takes the key itself keeps the window's shortcuts from running.
    if (event->type() == QEvent::ShortcutOverride)
        event->accept();
    return true;
}
