#pragma once

#include <QDialog>
#include <QString>

class CPhoneNumEdit;
class CRecordListCtrl;

namespace dh1 {

class CMVsyncDoc;

// Picks a mobile number from the PC phonebook and the PIM contacts: a click on a row takes its
// number, which may then be edited. After OK the number is the dialog's result.
class CPhonebookListDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int kNumberLimit = 20;

    explicit CPhonebookListDlg(const CMVsyncDoc& doc, QWidget* parent = nullptr);

    QString m_strNumber;

    CRecordListCtrl* List() const { return m_pList; }
    CPhoneNumEdit* NumberEdit() const { return m_pNumber; }

public Q_SLOTS:
    void OnClickList();
    // Only with a number.
    void accept() override;

private:
    CRecordListCtrl* m_pList;
    CPhoneNumEdit* m_pNumber;
};

} // namespace dh1
