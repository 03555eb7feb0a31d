#include "ui2/contact_dlg.h"

#include "controls/limited_line_edit.h"
#include "controls/phone_num_edit.h"
#include "document2/mvsync_doc.h"
#include "platform/string_table.h"
#include "ui2/dialog_parts.h"
#include "ui2/resource.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QVBoxLayout>

namespace dh2 {

using namespace ids;

CContactDlg::CContactDlg(CPhoneEntry& entry, int mode, QWidget* parent) : QDialog(parent), m_entry(entry)
{
    setObjectName(QStringLiteral("CContactDlg"));
    setWindowTitle(EditDialogTitle(mode));
    KeepFixedSize(*this);
    auto* box = new QGroupBox(QStringLiteral("Phonebook"));
    auto* form = new QFormLayout(box);
    const auto line = [form](CLimitedLineEdit* edit, const QString& label, const QString& name, int limit,
                             const QString& text) {
        edit->LimitText(limit);
        edit->setText(text);
        NameControl(edit, name, label);
        form->addRow(label, edit);
        return edit;
    };
    m_pName = line(new CLimitedLineEdit, QStringLiteral("Name :"), QStringLiteral("name"), kNameLimit, entry.m_strName);
    m_pMobile = static_cast<CPhoneNumEdit*>(line(new CPhoneNumEdit(CPhoneNumEdit::kDeskhand2), QStringLiteral("Mobile phone num :"),
                                                 QStringLiteral("mobile"), kNumberLimit, entry.m_strMobile));
    m_pHome = static_cast<CPhoneNumEdit*>(line(new CPhoneNumEdit(CPhoneNumEdit::kDeskhand2), QStringLiteral("Home phone num :"),
                                               QStringLiteral("home"), kNumberLimit, entry.m_strHome));
    m_pOffice = static_cast<CPhoneNumEdit*>(line(new CPhoneNumEdit(CPhoneNumEdit::kDeskhand2), QStringLiteral("Office phone num :"),
                                                 QStringLiteral("office"), kNumberLimit, entry.m_strOffice));
    m_pEmail = line(new CLimitedLineEdit, QStringLiteral("E-mail :"), QStringLiteral("email"), kEmailLimit, entry.m_strEmail);
    m_pFax = static_cast<CPhoneNumEdit*>(line(new CPhoneNumEdit(CPhoneNumEdit::kDeskhand2), QStringLiteral("Fax num :"),
                                              QStringLiteral("fax"), kFaxLimit, entry.m_strFax));

    m_pGroup = new QComboBox;
    NameControl(m_pGroup, QStringLiteral("group"), QStringLiteral("Group :"));
    form->addRow(QStringLiteral("Group :"), m_pGroup);
    if (CMVsyncDoc::ModelHasGroups()) {
        m_pGroup->addItems(CMVsyncDoc::GroupNames());
        m_pGroup->setCurrentIndex(entry.m_nGroup < 0 ? CPhoneEntry::kNoGroup : entry.m_nGroup);
    } else {
        // The model has no caller groups: nothing to choose.
        m_pGroup->setEnabled(false);
    }

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(box);
    m_pButtons = CreateDialogButtons(this);
    layout->addWidget(m_pButtons);
}

QString CContactDlg::InternationalPrefix(const QString& number)
{
    return number.startsWith(QStringLiteral("00")) ? QStringLiteral("+") + number.mid(2) : number;
}

void CContactDlg::accept()
{
    const QString name = m_pName->text();
    QString mobile = m_pMobile->text();
    QString office = m_pOffice->text();
    QString home = m_pHome->text();
    if (name.isEmpty() || (mobile.isEmpty() && office.isEmpty() && home.isEmpty()))
        return;
    if (CMVsyncDoc::ModelWritesPlusForDoubleZero()) {
        mobile = InternationalPrefix(mobile);
        office = InternationalPrefix(office);
        home = InternationalPrefix(home);
    }
    m_entry.m_strName = name;
    m_entry.m_strMobile = mobile;
    m_entry.m_strOffice = office;
    m_entry.m_strHome = home;
    m_entry.m_strFax = m_pFax->text();
    m_entry.m_strEmail = m_pEmail->text();
    // Without groups on the model the entry keeps the group it has (a phone of another model
    // may have given it one).
    if (m_pGroup->isEnabled()) {
        const int group = m_pGroup->currentIndex();
        m_entry.m_bCountsInGroup = group != m_entry.m_nGroup;
        m_entry.m_nGroup = group;
    } else {
        m_entry.m_bCountsInGroup = false;
    }
    QDialog::accept();
}

} // namespace dh2
