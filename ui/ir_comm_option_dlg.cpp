#include "ui/ir_comm_option_dlg.h"

#include "controls/dialog_parts.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace dh1 {

CIrCommOptionDlg::CIrCommOptionDlg(QWidget* parent)
    : QDialog(parent), m_pPort(new QLineEdit(this)), m_pTimeout(new QLineEdit(this)),
      m_pEnable(new QCheckBox(QStringLiteral("Enable IrComm"), this))
{
    setWindowTitle(QStringLiteral("IrComm Option"));
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("IrComm virtual port :"), this), 0, 0);
    grid->addWidget(m_pPort, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("port"), this), 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("Timeout : "), this), 1, 0);
    grid->addWidget(m_pTimeout, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("seconds"), this), 1, 2);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(m_pEnable);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &CIrCommOptionDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CIrCommOptionDlg::reject);
    connect(m_pEnable, &QCheckBox::clicked, this, &CIrCommOptionDlg::OnEnableIrComm);
    KeepFixedSize(*this);
}

void CIrCommOptionDlg::UpdateData(bool saveAndValidate)
{
    if (saveAndValidate) {
        m_strPort = m_pPort->text();
        m_strTimeout = m_pTimeout->text();
        m_bEnable = m_pEnable->isChecked();
    } else {
        m_pPort->setText(m_strPort);
        m_pTimeout->setText(m_strTimeout);
        m_pEnable->setChecked(m_bEnable);
    }
}

void CIrCommOptionDlg::OnInitDialog()
{
    UpdateData(false);
    OnEnableIrComm();
}

void CIrCommOptionDlg::OnEnableIrComm()
{
    UpdateData(true);
    m_pPort->setEnabled(m_bEnable);
    m_pTimeout->setEnabled(m_bEnable);
}

void CIrCommOptionDlg::accept()
{
    UpdateData(true);
    QDialog::accept();
}

} // namespace dh1
