#include "ui/contact_dlg.h"

#include "common/text_codec.h"
#include "controls/limited_line_edit.h"
#include "controls/limited_text_edit.h"
#include "controls/phone_num_edit.h"
#include "document/mvsync_doc.h"
#include "platform/string_table.h"
#include "ui/dialog_parts.h"
#include "ui/resource.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>

namespace dh1 {

using namespace ids;

namespace {

template <typename Edit>
Edit* addField(QFormLayout* form, int labelId, const QString& name, int limit)
{
    auto* edit = new Edit;
    edit->setObjectName(name);
    const QString label = platform::LoadString(labelId);
    edit->setAccessibleName(label);
    edit->LimitText(limit);
    form->addRow(label, edit);
    return edit;
}

} // namespace

CPhonebookEditDlg::CPhonebookEditDlg(CPhoneEntry& entry, int mode, QWidget* parent) : QDialog(parent), m_entry(entry)
{
    setWindowTitle(EditDialogTitle(mode));
    KeepFixedSize(*this);
}

int CPhonebookEditDlg::LimitFor(const QString& text, int length)
{
    return common::IsGsmEncodable(text) ? length : length - 2;
}

QString CPhonebookEditDlg::CleanPlus(const QString& number)
{
    if (number.isEmpty())
        return number;
    QString cleaned = number;
    cleaned.remove(u'+');
    return number.front() == u'+' ? u'+' + cleaned : cleaned;
}

void CPhonebookEditDlg::AddGroupList(QFormLayout* form, const QStringList& groupNames)
{
    m_pGroup = new QComboBox;
    m_pGroup->setObjectName(QStringLiteral("group"));
    const QString label = platform::LoadString(64154);
    m_pGroup->setAccessibleName(label);
    for (int i = 0; i < groupNames.size(); ++i)
        m_pGroup->insertItem(i, groupNames[i]);
    // A group outside the list selects nothing.
    m_pGroup->setCurrentIndex(m_entry.m_nGroup >= 0 && m_entry.m_nGroup < groupNames.size() ? m_entry.m_nGroup : -1);
    form->addRow(label, m_pGroup);
}

void CPhonebookEditDlg::AddButtons(QFormLayout* form)
{
    m_pButtons = CreateDialogButtons(this, QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    form->addRow(m_pButtons);
}

CContactDlg::CContactDlg(CPhoneEntry& entry, int mode, const QStringList& groupNames, QWidget* parent)
    : CPhonebookEditDlg(entry, mode, parent)
{
    setObjectName(QStringLiteral("CContactDlg"));
    auto* form = new QFormLayout(this);
    const CMVsyncDoc::PhoneCapacities limits = CMVsyncDoc::Capacities();
    m_pName = addField<CLimitedLineEdit>(form, 64150, QStringLiteral("name"), limits.m_nHandsetNameLen);
    m_pMobile = addField<CPhoneNumEdit>(form, 64151, QStringLiteral("mobile"), limits.m_nHandsetNumberLen);
    m_pOffice = addField<CPhoneNumEdit>(form, 64152, QStringLiteral("office"), limits.m_nHandsetNumberLen);
    m_pHome = addField<CPhoneNumEdit>(form, 64153, QStringLiteral("home"), limits.m_nHandsetNumberLen);
    AddGroupList(form, groupNames);
    m_pEmail = addField<CLimitedLineEdit>(form, 64155, QStringLiteral("email"), limits.m_nHandsetEmailLen);
    m_pMemo = addField<CLimitedTextEdit>(form, 64156, QStringLiteral("memo"), limits.m_nHandsetMemoLen);
    m_pMemo->setTabChangesFocus(true);
    m_pMemo->setFixedHeight(m_pMemo->fontMetrics().lineSpacing() * 4 + 10);
    AddButtons(form);

    m_pName->setText(entry.m_strName);
    m_pMobile->setText(entry.m_strMobile);
    m_pOffice->setText(entry.m_strOffice);
    m_pHome->setText(entry.m_strHome);
    m_pEmail->setText(entry.m_strEmail);
    // The entry keeps its lines in CR LF; the field in plain line feeds.
    m_pMemo->setPlainText(QString(entry.m_strMemo).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));

    connect(m_pName, &QLineEdit::textChanged, this, &CContactDlg::OnChangeName);
    connect(m_pEmail, &QLineEdit::textChanged, this, &CContactDlg::OnChangeEmail);
    connect(m_pMemo, &QPlainTextEdit::textChanged, this, &CContactDlg::OnChangeMemo);
}

void CContactDlg::OnChangeName()
{
    m_pName->LimitText(LimitFor(m_pName->text(), CMVsyncDoc::Capacities().m_nHandsetNameLen));
}

void CContactDlg::OnChangeEmail()
{
    m_pEmail->LimitText(LimitFor(m_pEmail->text(), CMVsyncDoc::Capacities().m_nHandsetEmailLen));
}

void CContactDlg::OnChangeMemo()
{
    m_pMemo->LimitText(LimitFor(m_pMemo->toPlainText(), CMVsyncDoc::Capacities().m_nHandsetMemoLen));
}

void CContactDlg::accept()
{
    const QString mobile = m_pMobile->text();
    const QString office = m_pOffice->text();
    const QString home = m_pHome->text();
    if (mobile.isEmpty() && office.isEmpty() && home.isEmpty())
        return;
    m_entry.m_strName = m_pName->text();
    m_entry.m_strMobile = CleanPlus(mobile);
    m_entry.m_strHome = CleanPlus(home);
    m_entry.m_strOffice = CleanPlus(office);
    m_entry.m_strMemo = m_pMemo->toPlainText().replace(u'\n', QStringLiteral("\r\n"));
    m_entry.m_strEmail = m_pEmail->text();
    m_entry.m_nGroup = m_pGroup->currentIndex();
    QDialog::accept();
}

CSimContactDlg::CSimContactDlg(CPhoneEntry& entry, int mode, const QStringList& groupNames, QWidget* parent)
    : CPhonebookEditDlg(entry, mode, parent)
{
    setObjectName(QStringLiteral("CSimContactDlg"));
    setMinimumWidth(320);
    auto* form = new QFormLayout(this);
    m_pName = addField<CLimitedLineEdit>(form, 64150, QStringLiteral("name"), kInitialNameLimit);
    m_pNumber = addField<CPhoneNumEdit>(form, 64157, QStringLiteral("number"), kNumberLimit);
    AddGroupList(form, groupNames);
    AddButtons(form);

    m_pName->setText(entry.m_strName);
    m_pNumber->setText(entry.m_strMobile);
    connect(m_pName, &QLineEdit::textChanged, this, &CSimContactDlg::OnChangeName);
}

void CSimContactDlg::OnChangeName()
{
    m_pName->LimitText(LimitFor(m_pName->text(), CMVsyncDoc::Capacities().m_nSimNameLen));
}

void CSimContactDlg::accept()
{
    const QString number = m_pNumber->text();
    if (number.isEmpty())
        return;
    m_entry.m_strName = m_pName->text();
    m_entry.m_strMobile = CleanPlus(number);
    m_entry.m_nGroup = m_pGroup->currentIndex();
    QDialog::accept();
}

} // namespace dh1
