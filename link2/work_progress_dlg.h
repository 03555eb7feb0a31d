#pragma once

#include "common/progress_view.h"
#include "platform/colorref.h"

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace dh2 {

// The modeless window of a running phone or PIM operation: a running animation, one line of
// status and Cancel. Cancel (and Esc) only sets the cancel flag; the window stays until the
// operation closes it. Two looks: the phone's (blue frame) and the other operations' (amber).
// It is a window of its own, never a child of the main window, so that it stays usable while
// the operation keeps the main window disabled.
class CWorkProgressDlg : public QDialog, public common::IProgressView {
    Q_OBJECT
public:
    static constexpr COLORREF kPhoneOuter = 0xCF7C5F;
    static constexpr COLORREF kPhoneInner = 0xF3DDD5;
    static constexpr COLORREF kOtherOuter = 0x30BBFC;
    static constexpr COLORREF kOtherInner = 0x8BD9F8;
    static constexpr COLORREF kButtonFace = 0xF4F4F4;

    // Clears the cancel flag; the phone's look. pParent only places it.
    explicit CWorkProgressDlg(QWidget* pParent = nullptr);
    ~CWorkProgressDlg() override;

    // The phone's look (true) or the other operations' (false); set before PlayAnimation.
    void SetLook(bool bPhone) { m_bLook = bPhone; update(); }
    bool Look() const { return m_bLook; }
    // Starts the animation of the look, running until the window closes.
    void PlayAnimation();
    bool IsAnimating() const;

    // The status line, shown and repainted at once.
    void Step(const QString& text) override;
    QString StatusText() const;
    QPushButton* CancelButton() const { return m_pCancel; }
    // The outer and inner frame colours of the current look.
    COLORREF OuterColor() const { return m_bLook ? kPhoneOuter : kOtherOuter; }
    COLORREF InnerColor() const { return m_bLook ? kPhoneInner : kOtherInner; }

public slots:
    void OnCancel();
    // Enter does nothing; Esc and the window's close button cancel like the button.
    void accept() override;
    void reject() override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QProgressBar* m_pAnimation = nullptr;
    QLabel* m_pStatus = nullptr;
    QPushButton* m_pCancel = nullptr;
    bool m_bLook = true;
};

} // namespace dh2
