#pragma once

#include "ui2/data_form.h"

namespace dh2 {

class CPhoneEntry;

// The phonebook page: the local phonebook or the PIM-side contacts on the left, the handset
// or the SIM book on the right. It reads the phone's books, copies checked entries between
// the PC and the phone both ways, edits and deletes on the PC side and deletes on the phone.
class CForm_Contact final : public CDataForm {
    Q_OBJECT

public:
    explicit CForm_Contact(CMVsyncDoc& doc, QWidget* parent = nullptr);
    ~CForm_Contact() override;

    void OnUpdate() override;
    void RefreshList(int kind) override;
    CRecordListCtrl* ShownMobileList() const override;
    // The book shown on the right: 3 handset, 4 SIM.
    int MobileKind() const;

public Q_SLOTS:
    void OnPcNew() override;
    void OnPcEdit() override;
    void OnMobileRead() override;
    void OnMobileDelete() override;
    void OnCopyToMobile() override;
    void OnCopyToPc() override;
    void ShowMobileList();
    void ShowSimList();

protected:
    void SetUpColumns() override;
    void ShowMobileSource() override { ShowMobileList(); }
    std::vector<int> SelectorIds() const override;
    CSyncRecord* FindRecord(int kind, quintptr id) const override;
    std::vector<CDetailListCtrl::Row> DetailRows(const CSyncRecord* record, bool pcPane) const override;
    bool ImportPim() override;
    bool ExportPim() override;

private:
    // The contact edit dialog on a copy; true on OK.
    bool EditContact(CPhoneEntry& entry, int mode);
    void ShowBook(bool sim);
    void UpdateMobileInfo();
    // Selects the row of a record, wherever a sort put it, and scrolls it into view.
    int SelectRecordRow(CRecordListCtrl& list, quintptr id);
    // The phone cannot be reached: the box, then the session is closed and the lists refilled.
    void AfterTransfer(int book);
};

} // namespace dh2
