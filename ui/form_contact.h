#pragma once

#include "ui/data_form.h"

// The phonebook tab: the PC pane shows the local phonebook or the PIM contacts, the Mobile
// pane the phone's handset book or its SIM book. Reading the phone's books, copying entries
// both ways, editing and deleting on either side.
class CForm_Contact : public CDataForm {
    Q_OBJECT

public:
    // Handset deletions pause this long after every run of this many.
    static constexpr int kDeletePauseEvery = 50;
    static constexpr int kDeletePauseMs = 200;

    explicit CForm_Contact(CMVsyncDoc& doc, QWidget* parent = nullptr);
    ~CForm_Contact() override;

    void OnUpdate() override;
    void RefreshList(int kind) override;
    CRecordListCtrl* ShownMobileList() const override;
    // The Mobile list shown: 3 handset, 4 SIM.
    int MobileKind() const;

    bool IsHandsetRead() const { return m_bHandsetRead; }
    bool IsSimRead() const { return m_bSimRead; }

public Q_SLOTS:
    void OnPcNew() override;
    void OnPcEdit() override;
    void OnMobileRead() override;
    void OnMobileNew() override;
    void OnMobileEdit() override;
    void OnMobileDelete() override;
    void OnCopyToMobile() override;
    void ShowPhonebookList() { ShowLocalList(); }
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
    void StoreFromPhone(int kind, const CSyncRecord& record) override;

private:
    void ShowBook(bool sim);
    void CopyToHandset(const std::vector<quintptr>& selected);
    void CopyToSim(const std::vector<quintptr>& selected);
    // The connect step for the book shown.
    bool SelectShownBook();
    // After a phone command: the shown phone list, then the PC lists and their link images.
    void RefreshAfterPhone();
    // PC and PIM entries linked to an index (handset or SIM) that no live entry of the phone
    // list has lose the link.
    void ResetLinks(int phoneKind, int CPhoneEntry::*index);
    void ResetHandsetLinks();
    void ResetSimLinks();
    // Runs the edit dialog that fits the entry (SIM-linked or not); true on OK.
    bool EditEntry(CPhoneEntry& entry, int mode, bool sim);
    // Edits a copy of the selected row's record of that list; the pane's Edit button is
    // disabled afterwards. True on OK, with the record's identity.
    bool EditSelectedCopy(int kind, int editButton, quintptr& id, CPhoneEntry& edited);

    bool m_bHandsetRead = false;
    bool m_bSimRead = false;
};
