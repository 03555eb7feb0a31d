#pragma once

#include <QDialog>

class CPhoneNumEdit;
class CRecordListCtrl;
class QDialogButtonBox;

namespace dh2 {

class CMVsyncDoc;

// Picks a telephone number: every distinct mobile number of the document's contacts (PC, PIM
// side, SIM, handset, in that order) with its name, and an edit for the number, which is the
// result. OK closes only with a number.
class CPhonebookListDlg final : public QDialog {
    Q_OBJECT

public:
    explicit CPhonebookListDlg(const CMVsyncDoc& doc, QWidget* parent = nullptr);

    QString GetNumber() const;
    CRecordListCtrl* List() const { return m_pList; }
    CPhoneNumEdit* NumberEdit() const { return m_pNumber; }

public Q_SLOTS:
    void accept() override;
    // A click on a row takes its number.
    void OnClickList();

private:
    CRecordListCtrl* m_pList;
    CPhoneNumEdit* m_pNumber;
};

} // namespace dh2
