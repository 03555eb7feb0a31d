#pragma once

#include "ui2/data_form.h"

namespace dh2 {

// The base of the schedule and memo pages. Both show one kind of record of the phone's combined
// list of schedule entries and memos: each page adds its own kind to that list and sends the
// list whole ("Memory is full" once it holds 20 live entries of both kinds), and a transfer the
// phone does not take leaves the list and the links as they were. While the list is not read
// (or its read failed) the phone pane has no rows; every page refills its rows whenever the
// document replaced or changed a list, so that no row outlives its record.
class COrganizerForm : public CDataForm {
    Q_OBJECT

public:
    // kind: 1 schedule entries, 2 memos.
    COrganizerForm(CMVsyncDoc& doc, const Layout& layout, int kind, QWidget* parent = nullptr);
    ~COrganizerForm() override;

    void OnUpdate() override;
    void RefreshList(int kind) override;
    CRecordListCtrl* ShownMobileList() const override;
    int RecordKind() const { return m_nKind; }

public Q_SLOTS:
    void OnPcNew() override;
    void OnPcEdit() override;
    void OnMobileRead() override;
    void OnMobileDelete() override;
    void OnCopyToMobile() override;
    void OnCopyToPc() override;

protected:
    void SetUpColumns() override;
    void ShowMobileSource() override {}
    CSyncRecord* FindRecord(int kind, quintptr id) const override;
    bool ImportPim() override;
    bool ExportPim() override;
    std::vector<CDetailListCtrl::Row> DetailRows(const CSyncRecord* record, bool pcPane) const override;

    // Per page: the detail rows of a record, the edit dialog in mode 1 New or 2 Edit (true on
    // OK), the list ">>" takes
    // its sources from and the list "<<" copies into (0: none, with what the PC pane shows).
    virtual std::vector<CDetailListCtrl::Row> RecordDetails(const CScheduleEntry* record) const = 0;
    virtual bool EditRecord(CScheduleEntry& record, int mode) = 0;
    virtual int CopySourceList() const = 0;
    virtual int CopyTargetList() const = 0;
    // After the phone list was read (or its read failed), after the phone rows were filled, after
    // the PC list was filled, and after "<<" stored its copies.
    virtual void AfterMobileRead(bool /*ok*/) {}
    virtual void AfterPhoneRowsFilled(int ownRows) = 0;
    virtual void AfterPcListFilled() {}
    virtual void AfterCopyToPc() {}

    // The document's records of the page's kind.
    CScheduleEntry* Find(int list, quintptr id) const;
    CScheduleEntry* Store(int list, const CScheduleEntry& record);
    // A fresh record of the page's kind as New offers it.
    static CScheduleEntry FreshRecord(const COleDateTime& start);
    // New in a list view: the record edited, stored into the list, its row selected and shown.
    void NewInList(int list, const COleDateTime& start);
    // Edit of a record by identity: on OK it takes the edit and counts as changed.
    bool EditStored(int list, quintptr id);
    // The rows of the phone list, and the fill of the combined list.
    void RefreshMobileList();
    // The rows of the live records of the page's kind (none without a list); their number.
    int FillRows(CRecordListCtrl& list, const dh2::RecordList<CScheduleEntry>* records) const;
    CRecordListCtrl* ListOfKind(int list) const;

private:
    const int m_nKind;
};

} // namespace dh2
