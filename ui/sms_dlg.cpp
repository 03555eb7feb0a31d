#include "ui/sms_dlg.h"

#include "controls/limited_text_edit.h"
#include "controls/phone_num_edit.h"
#include "platform/string_table.h"
#include "platform/ui_services.h"
#include "ui/dialog_parts.h"
#include "ui/entry_rules.h"
#include "ui/phonebook_list_dlg.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace dh1 {

CSMSDlg::CSMSDlg(const CMVsyncDoc& doc, const QString& text, QWidget* parent)
    : QDialog(parent), m_strText(text), m_doc(doc)
{
    using platform::LoadString;
    setObjectName(QStringLiteral("CSMSDlg"));
    setWindowTitle(LoadString(64183));
    setMinimumWidth(380);
    KeepFixedSize(*this);

    m_pNumber = NameControl(new CPhoneNumEdit, QStringLiteral("number"), LoadString(64157));
    m_pNumber->LimitText(kNumberLimit);
    auto* pick = NameControl(new QPushButton(QStringLiteral("....")), QStringLiteral("pick"), LoadString(64160));
    auto* number = new QHBoxLayout;
    number->addWidget(m_pNumber);
    number->addWidget(pick);

    m_pText = NameControl(new CLimitedTextEdit, QStringLiteral("text"), LoadString(64194));
    m_pText->setTabChangesFocus(true);
    m_pText->setFixedHeight(m_pText->fontMetrics().lineSpacing() * 6 + 10);
    m_pText->LimitText(entryrules::kSmsTextLimit);
    m_pLength = NameControl(new QLabel, QStringLiteral("length"), QString());
    m_pReference = NameControl(new QLineEdit(m_strReference), QStringLiteral("reference"), LoadString(64193));

    m_pSave = NameControl(new QPushButton(LoadString(64184)), QStringLiteral("save"), LoadString(64184));
    m_pSend = NameControl(new QPushButton(LoadString(64185)), QStringLiteral("send"), LoadString(64185));
    QDialogButtonBox* buttons = CreateDialogButtons(this, QDialogButtonBox::Cancel);
    buttons->addButton(m_pSave, QDialogButtonBox::ActionRole);
    buttons->addButton(m_pSend, QDialogButtonBox::ActionRole);
    m_pSave->setDefault(true);

    auto* form = new QFormLayout(this);
    form->addRow(LoadString(64157), number);
    form->addRow(LoadString(64194), m_pText);
    form->addRow(QString(), m_pLength);
    form->addRow(LoadString(64193), m_pReference);
    form->addRow(buttons);

    m_pSend->setEnabled(false);
    if (!m_strText.isEmpty()) {
        // A text given before opening is sent as it stands.
        m_pText->setPlainText(m_strText);
        m_pSave->setEnabled(false);
        m_pText->setEnabled(false);
        setWindowTitle(LoadString(64182));
    }

    connect(pick, &QPushButton::clicked, this, &CSMSDlg::OnPickNumber);
    connect(m_pSave, &QPushButton::clicked, this, &CSMSDlg::OnSave);
    connect(m_pSend, &QPushButton::clicked, this, &CSMSDlg::OnSend);
    connect(m_pText, &QPlainTextEdit::textChanged, this, &CSMSDlg::OnChangeText);
    connect(m_pNumber, &QLineEdit::textChanged, this, &CSMSDlg::OnChangeNumber);
}

void CSMSDlg::OnChangeText()
{
    const QString text = m_pText->toPlainText();
    m_pText->LimitText(entryrules::SmsTextLimit(text));
    m_pLength->setText(entryrules::SmsLengthLabel(text));
    m_pLength->setAccessibleName(m_pLength->text());
    m_pSave->setEnabled(true);
}

void CSMSDlg::OnChangeNumber()
{
    const QString number = m_pNumber->text();
    if (number.isEmpty()) {
        m_pSend->setEnabled(false);
        return;
    }
    m_pNumber->LimitText(entryrules::SmsNumberLimit(number));
    m_pSend->setEnabled(true);
}

void CSMSDlg::OnPickNumber()
{
    CPhonebookListDlg pick(m_doc, this);
    const int result = m_runModal ? m_runModal(pick) : pick.exec();
    if (result == QDialog::Accepted)
        m_pNumber->setText(pick.m_strNumber);
}

void CSMSDlg::OnSend()
{
    if (m_pNumber->text().isEmpty())
        return;
    m_nSend = 1;
    accept();
    // A refused confirmation does not leave the flag for a later "Save".
    if (result() != QDialog::Accepted)
        m_nSend = 0;
}

void CSMSDlg::accept()
{
    const QString text = m_pText->toPlainText();
    if (text.isEmpty())
        return;
    if (!entryrules::IsValidMessageReference(m_pReference->text())) {
        platform::AfxMessageBox(platform::LoadString(64180));
        return;
    }
    m_strNumber = m_pNumber->text();
    // The message keeps its lines in CR LF.
    m_strText = QString(text).replace(u'\n', QStringLiteral("\r\n"));
    m_strReference = m_pReference->text();
    QDialog::accept();
}

} // namespace dh1
