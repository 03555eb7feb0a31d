#pragma once

#include "document/option_editor.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace dh1 {

// "Option for Debug": the link's pauses, block size, baud rate and timeout, reached by a
// command that no menu offers. The infrared group is enabled while "Enable" is checked. Its
// members are the options.
class CDebugOptionDlg : public QDialog, public CDebugOptions {
    Q_OBJECT
public:
    explicit CDebugOptionDlg(QWidget* parent = nullptr);

    void UpdateData(bool saveAndValidate);
    void OnInitDialog();
    void OnEnable();

    QLineEdit* OpenPauseEdit() const { return m_pOpenPause; }
    QLineEdit* WritePauseEdit() const { return m_pWritePause; }
    QComboBox* BaudCombo() const { return m_pBaud; }
    QCheckBox* EnableCheck() const { return m_pEnable; }
    QLineEdit* CommandPauseEdit() const { return m_pCommandPause; }
    QCheckBox* TraceCheck() const { return m_pTrace; }
    QLineEdit* ReadBlockEdit() const { return m_pReadBlock; }
    QLineEdit* TimeoutEdit() const { return m_pTimeout; }

    void accept() override;

private:
    QLineEdit* m_pOpenPause;
    QLineEdit* m_pWritePause;
    QComboBox* m_pBaud;
    QCheckBox* m_pEnable;
    QLineEdit* m_pCommandPause;
    QCheckBox* m_pTrace;
    QLineEdit* m_pReadBlock;
    QLineEdit* m_pTimeout;
};

} // namespace dh1
