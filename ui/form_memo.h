#pragma once

#include "ui/phone_list_form.h"

// The memo tab: the PC pane shows the local memos or the PIM notes, the Mobile pane the
// phone's memos.
class CForm_Memo : public CPhoneListForm {
    Q_OBJECT

public:
    explicit CForm_Memo(CMVsyncDoc& doc, QWidget* parent = nullptr);
    ~CForm_Memo() override;

protected:
    void SetUpColumns() override;
    CSyncRecord* FindRecord(int kind, quintptr id) const override;
    std::vector<CDetailListCtrl::Row> DetailRows(const CSyncRecord* record) const override;
    bool ImportPim() override;
    bool ExportPim() override;
    std::unique_ptr<CSyncRecord> NewRecord() const override;
    bool EditRecord(CSyncRecord& record, int mode, int kind) override;
    CSyncRecord* StoreRecord(int kind, const CSyncRecord& record) override;
    void RowTexts(int kind, const CSyncRecord& record, QStringList& cells) const override;
    bool ConnectPhone() override;
    int WriteToPhone(const CSyncRecord& record) override;
    int UpdateOnPhone(CSyncRecord& record, const CSyncRecord& edited) override;
    bool IsPhoneFull() const override;
    bool ReadPhone() override;
    bool DeleteOnPhone(CSyncRecord& record) override;
    void DropStaleLinks() override;
    int PhoneCapacity() const override;
    void FillRows(int kind) override;
};
