#pragma once

#include <QImage>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>

class QEvent;

// How a program's splash lives. Deskhand's defaults: the timer ends it after a second.
struct SplashStyle {
    QString program = QStringLiteral("deskhand"); // whose resources hold splash.bmp
    int timerPeriodMs = 1000;
    bool hideOnTimer = true;
    QString picturePath; // empty: "splash.bmp" found with platform::FindResource
};

// The start-up picture "splash.bmp", shown centred on the screen while the main window is
// being built. At most one exists; it deletes itself when it is hidden. Input does not end it
// unless the application routes its events through FilterInput.
class CStartupSplash : public QWidget {
    Q_OBJECT

public:
    // Whether a command line leaves the splash on: the framework's embedding, automation and
    // DDE starts ("-Embedding", "/Automation", "-dde", ...) and "--no-splash" turn it off.
    static bool ShowSplashFor(const QStringList& arguments);
    static void EnableSplash(bool enable);
    // Shows the splash over parent unless splashes are disabled or one is already shown.
    static void ShowSplash(QWidget* parent, const SplashStyle& style = SplashStyle());
    // The splash on screen, or nullptr.
    static CStartupSplash* Instance();
    // For an application-wide event filter: a key or mouse-button press while a splash exists
    // hides it and is eaten (true); everything else passes (false).
    static bool FilterInput(const QEvent* event);

    // Takes the splash away: the window goes at once, the object at the next event-loop turn,
    // then the owner window is brought up to date.
    void HideSplash();

    const QImage& Picture() const { return m_picture; }
    int TimerPeriod() const { return m_timer.interval(); }

public slots:
    void OnTimer();

protected:
    void paintEvent(QPaintEvent* event) override;

public:
    ~CStartupSplash() override;

private:
    explicit CStartupSplash(const SplashStyle& style);

    bool Create(QWidget* parent);
    QString PicturePath() const;

    SplashStyle m_style;
    QImage m_picture;
    QTimer m_timer;

    static bool s_bEnabled;
    static CStartupSplash* s_pSplash;
};
