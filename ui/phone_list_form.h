#pragma once

#include "ui/data_form.h"

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

    // Per tab: the read of the phone's list, a deletion on the phone, the stale links dropped,
    // the phone's capacity, the rows of a list filled from the document.
    virtual bool ReadPhone() = 0;
    virtual bool DeleteOnPhone(CSyncRecord& record) = 0;
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
