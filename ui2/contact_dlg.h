#pragma once

#include "controls/dialog_parts.h"
#include "link2/records.h"

#include <QDialog>

class CLimitedLineEdit;
class CPhoneNumEdit;
class QComboBox;
class QDialogButtonBox;

namespace dh2 {

// Edits a phonebook entry of Deskhand2: name, mobile, home, office, e-mail and fax, and the
// caller group when the model has groups. The entry changes only on OK.
class CContactDlg final : public QDialog {
    Q_OBJECT

public:
    using enum EditDialogMode;

    // Fixed length limits.
    static constexpr int kNameLimit = 20;
    static constexpr int kNumberLimit = 20;
    static constexpr int kEmailLimit = 24;
    static constexpr int kFaxLimit = 24;

    CContactDlg(CPhoneEntry& entry, int mode, QWidget* parent = nullptr);

    // "00" in front of a number is the international prefix, written "+".
    static QString InternationalPrefix(const QString& number);

    CLimitedLineEdit* NameEdit() const { return m_pName; }
    CPhoneNumEdit* MobileEdit() const { return m_pMobile; }
    CPhoneNumEdit* HomeEdit() const { return m_pHome; }
    CPhoneNumEdit* OfficeEdit() const { return m_pOffice; }
    CLimitedLineEdit* EmailEdit() const { return m_pEmail; }
    CPhoneNumEdit* FaxEdit() const { return m_pFax; }
    QComboBox* GroupList() const { return m_pGroup; }
    QDialogButtonBox* Buttons() const { return m_pButtons; }

public Q_SLOTS:
    // Without a name, or without any of the mobile, office and home numbers, the dialog stays
    // open and says nothing.
    void accept() override;

private:
    CPhoneEntry& m_entry;
    CLimitedLineEdit* m_pName;
    CPhoneNumEdit* m_pMobile;
    CPhoneNumEdit* m_pHome;
    CPhoneNumEdit* m_pOffice;
    CLimitedLineEdit* m_pEmail;
    CPhoneNumEdit* m_pFax;
    QComboBox* m_pGroup;
    QDialogButtonBox* m_pButtons;
};

} // namespace dh2
