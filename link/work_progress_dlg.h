#pragma once

#include "common/progress_view.h"

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

// The modeless progress window of a phone or Outlook operation: status text, progress bar and
// Abort. It is a window of its own, never a child of the main window, so that it stays usable
// while the operation keeps the main window disabled.
class CWorkProgressDlg : public QDialog, public common::IProgressView {
    Q_OBJECT
public:
    // Disables the main window; the caller shows the dialog. pParent only places it.
    explicit CWorkProgressDlg(QWidget* pParent = nullptr);
    ~CWorkProgressDlg() override;

    // One step: the bar's range becomes 0..g_nProgressRange, its position the step count
    // (clamped to the range), the text is shown, the dialog is shown and repainted at once;
    // then 100 ms pass.
    void Step(const QString& text) override;
    // The closing run of the bar up to 100; resets g_nProgressRange to 10.
    void Finish() override;

    QString StatusText() const;
    QProgressBar* ProgressBar() const { return m_pProgress; }
    QPushButton* AbortButton() const { return m_pAbort; }
    int StepCount() const { return m_nStep; }

public slots:
    void OnAbort();
    // Enter does nothing; Esc and the close button hide the dialog without aborting.
    void accept() override;
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void SetBarPosition(int position);
    void RepaintNow();

    QProgressBar* m_pProgress = nullptr;
    QLabel* m_pAnimation = nullptr;
    QLabel* m_pStatus = nullptr;
    QPushButton* m_pAbort = nullptr;
    int m_nStep = 0;
};
