#pragma once

#include "document/option_editor.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;

namespace dh1 {

// "IrComm Option": switches the infrared mode and sets the infrared virtual port and timeout.
// The edits are enabled exactly while "Enable IrComm" is checked. Its members are the options.
class CIrCommOptionDlg : public QDialog, public CIrCommOptions {
    Q_OBJECT
public:
    explicit CIrCommOptionDlg(QWidget* parent = nullptr);

    // Puts the members into the controls (call before showing) or reads them back.
    void UpdateData(bool saveAndValidate);
    void OnInitDialog();
    void OnEnableIrComm();

    QLineEdit* PortEdit() const { return m_pPort; }
    QLineEdit* TimeoutEdit() const { return m_pTimeout; }
    QCheckBox* EnableCheck() const { return m_pEnable; }

    void accept() override;

private:
    QLineEdit* m_pPort;
    QLineEdit* m_pTimeout;
    QCheckBox* m_pEnable;
};

} // namespace dh1
