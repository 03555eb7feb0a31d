#pragma once

#include "ui/data_form.h"

namespace dh1 {

// The phonebook tab: the PC pane shows the local phonebook or the PIM contacts, the Mobile
// pane the phone's handset book or its SIM book. Reading the phone's books, copying entries
// both ways, editing and deleting on either side.
class CForm_Contact : public CDataForm {
    Q_OBJECT

public:
    explicit CForm_Contact(CMVsyncDoc& doc, QWidget* parent = nullptr);
    ~CForm_Contact() override;

    void OnUpdate() override;
    void RefreshList(int kind) override;
    CRecordListCtrl* ShownMobileList() const override;
    // The Mobile list shown: 3 handset, 4 SIM.
    int MobileKind() const override;

    bool IsHandsetRead() const { return m_bHandsetRead; }
    bool IsSimRead() const { return m_bSimRead; }

public Q_SLOTS:
    void OnMobileRead() override;
    void OnMobileDelete() override;
    void OnCopyToMobile() override;
    void ShowMobileList();
    void ShowSimList();

protected:
    void AnchorFormControls() override;
    void SetUpColumns() override;
    void ShowMobileSource() override;
    std::vector<int> SelectorIds() const override;
    CSyncRecord* FindRecord(int kind, quintptr id) const override;
    std::vector<CDetailListCtrl::Row> DetailRows(const CSyncRecord* record) const override;
    void UpdateMobileTotal() override;
    bool ImportPim() override;
    bool ExportPim() override;
    std::unique_ptr<CSyncRecord> NewRecord() const override;
    // The SIM dialog for the SIM book and for PC entries linked to the SIM, else the full one.
    bool EditRecord(CSyncRecord& record, int mode, int kind) override;
    CSyncRecord* StoreRecord(int kind, const CSyncRecord& record) override;
    void RowTexts(int kind, const CSyncRecord& record, QStringList& cells) const override;
    // Mobile New only once the shown book was read.
    bool CanWriteNew() const override;
    bool ConnectPhone() override;
    int WriteToPhone(const CSyncRecord& record) override;
    int UpdateOnPhone(CSyncRecord& record, const CSyncRecord& edited) override;
    bool IsPhoneFull() const override;

private:
    void ShowBook(bool sim);
    // After a phone command: the shown phone list, then the PC lists and their link images.
    void RefreshAfterPhone();
    // PC and PIM entries linked to an index (handset or SIM) that no live entry of the phone
    // list has lose the link.
    void ResetHandsetLinks();
    void ResetSimLinks();

    bool m_bHandsetRead = false;
    bool m_bSimRead = false;
};

} // namespace dh1
