#pragma once

#include "ui/data_form.h"

namespace dh1 {

// The base of the schedule and memo tabs, whose Mobile pane shows one phone list: read whole
// by Mobile Read, written and deleted entry by entry between one connect and Disconnect.
// PC and PIM entries keep their links to phone entries unless a read showed that the phone no
// longer holds them.
class CPhoneListForm : public CDataForm {
    Q_OBJECT

public:
    // Where the two tabs differ in their phone commands.
    struct PhoneCommands {
        bool readSetsProgressRange = false; // Mobile Read sets the progress range for a read
        bool copyWithoutSelection = false;  // ">>" connects and disconnects also with nothing selected
        bool clearInfoWhenIdle = false;     // a failed connect of ">>" and a Mobile Delete
                                            // without selection clear the info text
    };

    CPhoneListForm(CMVsyncDoc& doc, const Layout& layout, const PhoneCommands& commands, QWidget* parent = nullptr);
    ~CPhoneListForm() override;

    // Lists 1, 2 and 3.
    void OnUpdate() override;
    void RefreshList(int kind) override;
    CRecordListCtrl* ShownMobileList() const override;
    int MobileKind() const override { return CMVsyncDoc::ListPhone; }
    // Whether the phone's list was read successfully by this tab.
    bool IsPhoneRead() const { return m_bPhoneRead; }

public Q_SLOTS:
    void OnMobileRead() override;
    void OnMobileDelete() override;
    void OnCopyToMobile() override;

protected:
    void ShowMobileSource() override;
    void UpdateMobileTotal() override;

    // The list that ">>" writes from (none: the button does nothing) and whether ">>" may be
    // used at all while the PC pane shows what it shows.
    virtual CRecordListCtrl* CopySource() const { return ShownPcList(); }
    virtual bool CanCopyToMobile() const { return true; }

    // Per tab: the read of the phone's list, the document's runs of ">>" and Mobile Delete, the
    // stale links dropped, the phone's capacity, the rows of a list filled from the document.
    virtual bool ReadPhone() = 0;
    virtual CMVsyncDoc::PhoneTransfer CopyToPhone(int sourceList, const std::vector<quintptr>& ids) = 0;
    virtual CMVsyncDoc::PhoneTransfer DeleteFromPhone(const std::vector<quintptr>& ids) = 0;
    virtual void DropStaleLinks() = 0;
    virtual int PhoneCapacity() const = 0;
    virtual void FillRows(int kind) = 0;
    // Before a list is filled, and after it was.
    virtual void BeforeRefresh(int /*kind*/) {}
    virtual void AfterListRefreshed(int /*kind*/) {}

    // Row images: a PC or PIM entry linked to the phone shows the phone, phone entries all do.
    template <typename Record>
    static int PcImage(const Record& record)
    {
        return record.m_nIndex != -1 ? 1 : -1;
    }
    template <typename Record>
    static int PhoneImage(const Record&)
    {
        return 1;
    }
    // The list of a kind: 1009, 1011 or 1022.
    CRecordListCtrl* ListOf(int kind) const;
    // After a phone command: the phone list, then the PC lists with their link images.
    void RefreshAfterPhone();

private:
    void EnableAfterRead(bool ok);

    const PhoneCommands m_commands;
    bool m_bPhoneRead = false;
};

// What the document offers for the records of one such tab.
template <typename Record>
struct PhoneListOps {
    int columns; // the column descriptor kind
    RecordList<Record>* (CMVsyncDoc::*list)(int);
    Record* (CMVsyncDoc::*find)(int, quintptr) const;
    Record* (CMVsyncDoc::*store)(int, const Record&);
    void (CMVsyncDoc::*toRow)(const Record&, QStringList&) const;
    bool (CMVsyncDoc::*importPim)();
    bool (CMVsyncDoc::*exportPim)();
    bool (CMVsyncDoc::*read)();
    bool (CMVsyncDoc::*connect)();
    int (CMVsyncDoc::*write)(const Record&);
    CMVsyncDoc::PhoneTransfer (CMVsyncDoc::*copy)(int, const std::vector<quintptr>&);
    int (CMVsyncDoc::*update)(Record&, const Record&);
    CMVsyncDoc::PhoneTransfer (CMVsyncDoc::*remove)(const std::vector<quintptr>&);
    bool (CMVsyncDoc::*full)() const;
    void (CMVsyncDoc::*dropLinks)();
    int CMVsyncDoc::PhoneCapacities::*capacity; // the phone's capacity as last reported
};

// A tab of one record kind: its records reach the document through the operations given.
template <typename Record>
class TPhoneListForm : public CPhoneListForm {
public:
    TPhoneListForm(CMVsyncDoc& doc, const Layout& layout, const PhoneCommands& commands, const PhoneListOps<Record>& ops,
                   QWidget* parent = nullptr)
        : CPhoneListForm(doc, layout, commands, parent), m_ops(ops)
    {
    }

protected:
    static const Record& Of(const CSyncRecord& record) { return static_cast<const Record&>(record); }
    static Record& Of(CSyncRecord& record) { return static_cast<Record&>(record); }
    CMVsyncDoc& Doc() const { return GetDocument(); }

    void SetUpColumns() override
    {
        QString columns;
        Doc().GetColumnFormat(columns, m_ops.columns);
        for (const int kind : {CMVsyncDoc::ListPc, CMVsyncDoc::ListOutlook, CMVsyncDoc::ListPhone})
            ListOf(kind)->SetColumns(columns, false);
    }
    void FillRows(int kind) override
    {
        CMVsyncDoc& doc = Doc();
        const auto toRow = m_ops.toRow;
        const auto rowText = [&doc, toRow](const Record& record, QStringList& cells) { (doc.*toRow)(record, cells); };
        if (kind == CMVsyncDoc::ListPhone)
            FillList(*ListOf(kind), *(doc.*m_ops.list)(kind), rowText, PhoneImage<Record>);
        else
            FillList(*ListOf(kind), *(doc.*m_ops.list)(kind), rowText, PcImage<Record>);
    }
    CSyncRecord* FindRecord(int kind, quintptr id) const override { return (Doc().*m_ops.find)(kind, id); }
    std::unique_ptr<CSyncRecord> NewRecord() const override { return std::make_unique<Record>(); }
    CSyncRecord* StoreRecord(int kind, const CSyncRecord& record) override { return (Doc().*m_ops.store)(kind, Of(record)); }
    void RowTexts(int, const CSyncRecord& record, QStringList& cells) const override { (Doc().*m_ops.toRow)(Of(record), cells); }
    bool ImportPim() override { return (Doc().*m_ops.importPim)(); }
    bool ExportPim() override { return (Doc().*m_ops.exportPim)(); }
    bool ReadPhone() override { return (Doc().*m_ops.read)(); }
    bool ConnectPhone() override { return (Doc().*m_ops.connect)(); }
    int WriteToPhone(const CSyncRecord& record) override { return (Doc().*m_ops.write)(Of(record)); }
    int UpdateOnPhone(CSyncRecord& record, const CSyncRecord& edited) override
    {
        return (Doc().*m_ops.update)(Of(record), Of(edited));
    }
    CMVsyncDoc::PhoneTransfer CopyToPhone(int sourceList, const std::vector<quintptr>& ids) override
    {
        return (Doc().*m_ops.copy)(sourceList, ids);
    }
    CMVsyncDoc::PhoneTransfer DeleteFromPhone(const std::vector<quintptr>& ids) override
    {
        return (Doc().*m_ops.remove)(ids);
    }
    bool IsPhoneFull() const override { return (Doc().*m_ops.full)(); }
    void DropStaleLinks() override { (Doc().*m_ops.dropLinks)(); }
    int PhoneCapacity() const override { return CMVsyncDoc::Capacities().*m_ops.capacity; }

private:
    const PhoneListOps<Record> m_ops;
};

} // namespace dh1
