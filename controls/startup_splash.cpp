#include "controls/startup_splash.h"

#include "controls/bitmap_file.h"
#include "platform/folders.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include <memory>

bool CStartupSplash::s_bEnabled = false; // the application sets it from its command line
CStartupSplash* CStartupSplash::s_pSplash = nullptr;

CStartupSplash::CStartupSplash(const SplashStyle& style) : m_style(style)
{
    // A top-level popup owned by the main window; the picture covers it completely.
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_timer.setInterval(m_style.timerPeriodMs);
    connect(&m_timer, &QTimer::timeout, this, &CStartupSplash::OnTimer);
}

CStartupSplash::~CStartupSplash()
{
    if (s_pSplash == this)
        s_pSplash = nullptr;
}

bool CStartupSplash::ShowSplashFor(const QStringList& arguments)
{
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QStringLiteral("--no-splash"))
            return false;
        if (!argument.startsWith(u'-') && !argument.startsWith(u'/'))
            continue;
        const QString flag = argument.mid(1);
        for (const char* off : {"Embedding", "Automation", "dde"}) {
            if (flag.compare(QLatin1String(off), Qt::CaseInsensitive) == 0)
                return false;
        }
    }
    return true;
}

void CStartupSplash::EnableSplash(bool enable)
{
    s_bEnabled = enable;
}

CStartupSplash* CStartupSplash::Instance()
{
    return s_pSplash;
}

void CStartupSplash::ShowSplash(QWidget* parent, const SplashStyle& style)
{
    if (!s_bEnabled || s_pSplash)
        return;
    std::unique_ptr<CStartupSplash> splash(new CStartupSplash(style));
    s_pSplash = splash.get();
    if (!splash->Create(parent))
        return; // the destructor clears the pointer: no picture, no splash
    // From here the window owns itself (and the owner window's tree holds it).
    splash.release()->repaint();
}

QString CStartupSplash::PicturePath() const
{
    if (!m_style.picturePath.isEmpty())
        return m_style.picturePath;
    return platform::FindResource(QStringLiteral("splash.bmp"), m_style.program);
}

bool CStartupSplash::Create(QWidget* parent)
{
    const QString path = PicturePath();
    if (path.isEmpty() || !LoadBitmapFile(path, m_picture))
        return false;

    // A window manager stacks the owner, mapped after the splash, over it: the splash asks to
    // stay on top for the second it shows.
    setParent(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    resize(m_picture.size());
    QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    if (screen)
        move(screen->availableGeometry().center() - rect().center());
    m_timer.start();
    show();
    return true;
}

void CStartupSplash::HideSplash()
{
    if (s_pSplash == this)
        s_pSplash = nullptr;
    m_timer.stop();
    QWidget* owner = parentWidget();
    hide();
    deleteLater();
    if (owner)
        owner->update();
}

void CStartupSplash::OnTimer()
{
    if (m_style.hideOnTimer)
        HideSplash();
}

bool CStartupSplash::FilterInput(const QEvent* event)
{
    if (!s_pSplash || !event)
        return false;
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::NonClientAreaMouseButtonPress:
        s_pSplash->HideSplash();
        return true;
    default:
        return false;
    }
}

void CStartupSplash::paintEvent(QPaintEvent*)
{
    QPainter dc(this);
    dc.drawImage(0, 0, m_picture);
}
