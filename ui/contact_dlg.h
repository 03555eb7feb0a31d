#pragma once

#include "ui/dialog_parts.h"

#include "link/records.h"

#include <QDialog>
#include <QStringList>

class CLimitedLineEdit;
class CLimitedTextEdit;
class CPhoneNumEdit;
class QComboBox;
class QDialogButtonBox;
class QFormLayout;

namespace dh1 {

// What the two phonebook edit dialogs share: they are built with an entry and a mode, show
// "New" or "Edit" as their title, and change the entry only on OK.
class CPhonebookEditDlg : public QDialog {
    Q_OBJECT

public:
    using enum EditDialogMode;

    // The limit of a text field while it holds text: the full length when the text fits the
    // GSM alphabet, two less otherwise.
    static int LimitFor(const QString& text, int length);
    // Each '+' is dropped but one in front when the number began with one: +49+12 is +4912.
    static QString CleanPlus(const QString& number);

    QComboBox* GroupList() const { return m_pGroup; }
    QDialogButtonBox* Buttons() const { return m_pButtons; }

protected:
    CPhonebookEditDlg(CPhoneEntry& entry, int mode, QWidget* parent);
    // The group list filled with the names, the entry's group selected; the buttons.
    void AddGroupList(QFormLayout* form, const QStringList& groupNames);
    void AddButtons(QFormLayout* form);

    CPhoneEntry& m_entry;
    QComboBox* m_pGroup = nullptr;
    QDialogButtonBox* m_pButtons = nullptr;
};

// Edits a full phonebook entry of the PC lists or of the handset book.
class CContactDlg : public CPhonebookEditDlg {
    Q_OBJECT

public:
    CContactDlg(CPhoneEntry& entry, int mode, const QStringList& groupNames, QWidget* parent = nullptr);

    CLimitedLineEdit* NameEdit() const { return m_pName; }
    CPhoneNumEdit* MobileEdit() const { return m_pMobile; }
    CPhoneNumEdit* OfficeEdit() const { return m_pOffice; }
    CPhoneNumEdit* HomeEdit() const { return m_pHome; }
    CLimitedLineEdit* EmailEdit() const { return m_pEmail; }
    CLimitedTextEdit* MemoEdit() const { return m_pMemo; }

public Q_SLOTS:
    // Without any number the dialog stays open.
    void accept() override;
    void OnChangeName();
    void OnChangeEmail();
    void OnChangeMemo();

private:
    CLimitedLineEdit* m_pName;
    CPhoneNumEdit* m_pMobile;
    CPhoneNumEdit* m_pOffice;
    CPhoneNumEdit* m_pHome;
    CLimitedLineEdit* m_pEmail;
    CLimitedTextEdit* m_pMemo;
};

// Edits an entry of the SIM book, or a PC entry linked to the SIM: a name, one number, a group.
class CSimContactDlg : public CPhonebookEditDlg {
    Q_OBJECT

public:
    static constexpr int kInitialNameLimit = 12;
    static constexpr int kNumberLimit = 40;

    CSimContactDlg(CPhoneEntry& entry, int mode, const QStringList& groupNames, QWidget* parent = nullptr);

    CLimitedLineEdit* NameEdit() const { return m_pName; }
    CPhoneNumEdit* NumberEdit() const { return m_pNumber; }

public Q_SLOTS:
    // Without a number the dialog stays open.
    void accept() override;
    void OnChangeName();

private:
    CLimitedLineEdit* m_pName;
    CPhoneNumEdit* m_pNumber;
};

} // namespace dh1
