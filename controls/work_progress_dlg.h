#pragma once

#include "common/progress_view.h"
#include "platform/colorref.h"

#include <QDialog>

#include <memory>

class QLabel;
class QProgressBar;
class QPushButton;

// The modeless window of a running phone or PIM operation: what the operation advances, one line
// of status and a stop button. It is a window of its own, never a child of the main window, so
// that it stays usable while the operation keeps the main window disabled. Enter does nothing.
// Both programs show it, each in a style of its own; the operation tells it which flag the stop
// button sets, where its steps end and which look it has.
class CWorkProgressDlg : public QDialog, public common::IProgressView {
    Q_OBJECT
public:
    enum class Indicator {
        // A bar one place further at every step, up to the request's range; each step shows the
        // window again and pauses 100 ms, and Finish runs the bar to its end.
        StepBar,
        // A bar that runs without end in the look's colour once PlayAnimation starts it.
        Animation,
    };

    struct Style {
        QString title;  // the program's name, as its boxes show it
        QString status; // the status line before the first step
        QString button; // the stop button's text
        Indicator indicator = Indicator::StepBar;
        // White inside two frames in the look's colours, the button in a light face.
        bool framed = false;
        // Abort: the button sets the stop flag and ends the window, Esc and the close button only
        // end it, and making the window disables the main window. Otherwise Cancel: the button,
        // Esc and the close button set the flag and the window stays until the operation closes
        // it; making the window clears the flag, so that a Cancel lasts from its press to the end
        // of the operation.
        bool buttonEndsWindow = true;
    };
    // Deskhand's: steps on a bar and Abort. Deskhand2's: the animation in its two looks and Cancel.
    static const Style kDeskhand;
    static const Style kDeskhand2;

    // Frame colours of the two looks.
    static constexpr COLORREF kPhoneOuter = 0xCF7C5F;
    static constexpr COLORREF kPhoneInner = 0xF3DDD5;
    static constexpr COLORREF kOtherOuter = 0x30BBFC;
    static constexpr COLORREF kOtherInner = 0x8BD9F8;
    static constexpr COLORREF kButtonFace = 0xF4F4F4;

    // pParent only places it.
    CWorkProgressDlg(const Style& style, const common::ProgressRequest& request, QWidget* pParent = nullptr);
    ~CWorkProgressDlg() override;

    // The window an operation gets: made, its animation playing, on screen.
    static std::unique_ptr<CWorkProgressDlg> Open(const Style& style, const common::ProgressRequest& request);
    // What a program installs so that every operation gets its window in the program's style.
    static common::ProgressViewFactory Factory(const Style& style);

    // The status line of a step, shown and repainted at once; on a bar of steps the bar's range
    // becomes 0..the request's range and its position the step count (clamped to the range).
    void Step(const QString& text) override;
    // A bar of steps runs up to 100 and the request's range goes back to its default.
    void Finish() override;

    // The phone's look (true) or the other operations' (false); set before PlayAnimation.
    void SetLook(bool bPhone);
    bool Look() const { return m_bLook; }
    // Starts the animation of the look, running until the window closes.
    void PlayAnimation();
    bool IsAnimating() const;

    QString StatusText() const;
    QProgressBar* ProgressBar() const { return m_pBar; }
    QPushButton* StopButton() const { return m_pStop; }
    int StepCount() const { return m_nStep; }
    // The outer and inner frame colours of the current look.
    COLORREF OuterColor() const { return m_bLook ? kPhoneOuter : kOtherOuter; }
    COLORREF InnerColor() const { return m_bLook ? kPhoneInner : kOtherInner; }

public slots:
    // The stop button.
    void OnAbort();
    void accept() override;
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void SetBarPosition(int position);
    int StepRange() const;

    Style m_style;
    bool* m_pStopFlag;
    int* m_pStepRange;
    QProgressBar* m_pBar = nullptr;
    QLabel* m_pStatus = nullptr;
    QPushButton* m_pStop = nullptr;
    int m_nStep = 0;
    bool m_bLook = true;
};
