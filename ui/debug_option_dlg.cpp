#include "ui/debug_option_dlg.h"

#include "controls/dialog_parts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QVBoxLayout>

namespace dh1 {

CDebugOptionDlg::CDebugOptionDlg(QWidget* parent)
    : QDialog(parent), m_pOpenPause(new QLineEdit(this)), m_pWritePause(new QLineEdit(this)),
      m_pBaud(new QComboBox(this)), m_pEnable(new QCheckBox(QStringLiteral("Enable"), this)),
      m_pCommandPause(new QLineEdit(this)), m_pTrace(new QCheckBox(QStringLiteral("Trace"), this)),
      m_pReadBlock(new QLineEdit(this)), m_pTimeout(new QLineEdit(this))
{
    setWindowTitle(QStringLiteral("Option for Debug"));
    m_pBaud->addItems({QStringLiteral("57600"), QStringLiteral("115200")});

    auto* irda = new QGroupBox(QStringLiteral("IrDA"), this);
    auto* irdaForm = new QFormLayout(irda);
    irdaForm->addRow(m_pEnable);
    irdaForm->addRow(QStringLiteral("Sleep Time after openning port (millisecond)"), m_pOpenPause);
    irdaForm->addRow(QStringLiteral("Sleep Time between writing (millisecond)"), m_pWritePause);
    irdaForm->addRow(QStringLiteral("BaudRate"), m_pBaud);

    auto* normal = new QGroupBox(QStringLiteral("Normal"), this);
    auto* normalForm = new QFormLayout(normal);
    normalForm->addRow(QStringLiteral("Sleep Time between Phonebook cmd (millisecond)"), m_pCommandPause);
    normalForm->addRow(QStringLiteral("Interval in reading (count)"), m_pReadBlock);
    // The reply timeout had no control of its own; it is shown here beside the other values.
    normalForm->addRow(QStringLiteral("Timeout (second)"), m_pTimeout);
    normalForm->addRow(m_pTrace);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(irda);
    layout->addWidget(normal);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &CDebugOptionDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CDebugOptionDlg::reject);
    connect(m_pEnable, &QCheckBox::clicked, this, &CDebugOptionDlg::OnEnable);
    KeepFixedSize(*this);
}

void CDebugOptionDlg::UpdateData(bool saveAndValidate)
{
    if (saveAndValidate) {
        m_strOpenPause = m_pOpenPause->text();
        m_strWritePause = m_pWritePause->text();
        m_strBaud = m_pBaud->currentText();
        m_bEnable = m_pEnable->isChecked();
        m_strCommandPause = m_pCommandPause->text();
        m_bTrace = m_pTrace->isChecked();
        m_strReadBlock = m_pReadBlock->text();
        m_strTimeout = m_pTimeout->text();
    } else {
        m_pOpenPause->setText(m_strOpenPause);
        m_pWritePause->setText(m_strWritePause);
        m_pEnable->setChecked(m_bEnable);
        m_pCommandPause->setText(m_strCommandPause);
        m_pTrace->setChecked(m_bTrace);
        m_pReadBlock->setText(m_strReadBlock);
        m_pTimeout->setText(m_strTimeout);
    }
}

void CDebugOptionDlg::OnInitDialog()
{
    UpdateData(false);
    m_pBaud->setCurrentIndex(m_strBaud == QLatin1String("57600") ? 0 : 1);
    OnEnable();
}

void CDebugOptionDlg::OnEnable()
{
    UpdateData(true);
    m_pOpenPause->setEnabled(m_bEnable);
    m_pWritePause->setEnabled(m_bEnable);
    m_pBaud->setEnabled(m_bEnable);
}

void CDebugOptionDlg::accept()
{
    UpdateData(true);
    QDialog::accept();
}

} // namespace dh1
