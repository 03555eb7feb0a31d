#include "ui2/sms_dlg.h"

#include "controls/phone_num_edit.h"
#include "ui2/dialog_parts.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>

namespace dh2 {

CSMSDlg::CSMSDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("CSMSDlg"));
    setWindowTitle(QStringLiteral("SMS"));
    setMinimumWidth(380);
    KeepFixedSize(*this);

    const QString numberLabel = QStringLiteral("Number :");
    m_pNumber = new CPhoneNumEdit;
    NameControl(m_pNumber, QStringLiteral("number"), numberLabel);
    m_pNumber->LimitText(kNumberLimit);
    auto* pick = new QPushButton(QStringLiteral("...."));
    NameControl(pick, QStringLiteral("pick"), pick->text());
    auto* number = new QHBoxLayout;
    number->addWidget(m_pNumber);
    number->addWidget(pick);

    // The text field is a number edit without its filter: one line, any character.
    const QString textLabel = QStringLiteral("Message : Max size is 160 byte");
    m_pText = new CPhoneNumEdit;
    NameControl(m_pText, QStringLiteral("text"), textLabel);
    m_pText->SetFilter(false);
    m_pText->LimitText(kTextLimit);

    m_pSave = new QPushButton(QStringLiteral("Save"));
    NameControl(m_pSave, QStringLiteral("save"), m_pSave->text());
    m_pSend = new QPushButton(QStringLiteral("Send"));
    NameControl(m_pSend, QStringLiteral("send"), m_pSend->text());
    // Save and Send take OK's place.
    QDialogButtonBox* buttons = CreateDialogButtons(this);
    buttons->button(QDialogButtonBox::Ok)->hide();
    buttons->addButton(m_pSave, QDialogButtonBox::ActionRole);
    buttons->addButton(m_pSend, QDialogButtonBox::ActionRole);
    m_pSave->setDefault(true);

    auto* form = new QFormLayout(this);
    form->addRow(numberLabel, number);
    form->addRow(textLabel, m_pText);
    form->addRow(buttons);

    connect(pick, &QPushButton::clicked, this, &CSMSDlg::OnPickNumber);
    connect(m_pSave, &QPushButton::clicked, this, &CSMSDlg::OnSave);
    connect(m_pSend, &QPushButton::clicked, this, &CSMSDlg::OnSend);
    connect(m_pNumber, &QLineEdit::textChanged, this, &CSMSDlg::OnChangeNumber);
    OnChangeNumber();
}

void CSMSDlg::SetFields(const QString& number, const QString& text)
{
    m_pNumber->setText(number);
    m_pText->setText(text);
    OnChangeNumber();
}

void CSMSDlg::OnChangeNumber()
{
    m_pSend->setEnabled(!m_pNumber->text().isEmpty());
}

void CSMSDlg::OnPickNumber()
{
    if (!m_pickNumber)
        return;
    if (const std::optional<QString> number = m_pickNumber(this))
        m_pNumber->setText(*number);
    OnChangeNumber();
}

void CSMSDlg::OnSend()
{
    if (m_pNumber->text().isEmpty())
        return;
    m_bSend = true;
    accept();
}

void CSMSDlg::accept()
{
    if (m_pText->text().isEmpty()) {
        m_bSend = false;
        return;
    }
    m_strNumber = m_pNumber->text();
    m_strText = m_pText->text();
    QDialog::accept();
}

} // namespace dh2
