#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;

// "Option for Debug": the link's pauses, block size, baud rate and timeout, reached by a
// command that no menu offers. The infrared group is enabled while "Enable" is checked.
class CDebugOptionDlg : public QDialog {
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

    QString m_strOpenPause;
    QString m_strWritePause = QStringLiteral("100");
    QString m_strBaud;
    bool m_bEnable = false;
    QString m_strCommandPause = QStringLiteral("100");
    bool m_bTrace = false;
    QString m_strReadBlock = QStringLiteral("20");
    QString m_strTimeout;

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
