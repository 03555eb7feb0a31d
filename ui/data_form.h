#pragma once

#include "ui/dialog_parts.h"

#include "controls/detail_list_ctrl.h"
#include "controls/record_list_ctrl.h"
#include "controls/sync_pane_form.h"
#include "document/mvsync_doc.h"

#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <vector>

class QCheckBox;

namespace dh1 {

// The base of Deskhand's data forms (phonebook, schedule, memo): the PC pane on the left shows
// the local list or the PIM list, the Mobile pane on the right the phone's list, and ">>" and
// "<<" copy between them. This class holds what the three forms share: the controls and their
// places, anchors and colours, the PC source selectors, Select All, the detail lists, the
// totals, the divider, printing of the local list, rows that resolve their records through
// the document, PC New, Edit and Delete, the PIM read and write, "<<", Mobile New and Edit,
// and the conventions of the phone commands (progress ranges, error boxes, the deletion
// question). Edits always work on a copy: a record takes the edit only once it was confirmed
// (and, on the phone side, once the phone took it).
//
// Rows hold the identity of a document record and ask the document for it before every use;
// every form reloads its lists whenever the document says that its lists changed.
class CDataForm : public CRecordPaneForm<CSyncRecord> {
    Q_OBJECT

public:
    using enum EditDialogMode;

    static constexpr COLORREF kFormColor = 0x80282B;
    static constexpr COLORREF kButtonColor = 0xD9D9D9;
    static constexpr COLORREF kPcDetailColor = 0xE0FFFF;
    static constexpr COLORREF kMobileDetailColor = 0xF7EEE9;

    CDataForm(CMVsyncDoc& doc, const Layout& layout, QWidget* parent = nullptr);
    ~CDataForm() override;

    CMVsyncDoc& GetDocument() const { return m_doc; }

    // Anchors, colours, columns, sources and the first rows; the form is then ready.
    void OnInitialUpdate() override;
    // Reloads every list of the form.
    virtual void OnUpdate() = 0;

    // The phone list shown and its kind.
    virtual CRecordListCtrl* ShownMobileList() const = 0;
    virtual int MobileKind() const = 0;

public Q_SLOTS:
    void OnPcNew() override;
    void OnPcEdit() override;
    void OnPcDelete() override;
    virtual void OnMobileNew();
    void OnMobileEdit();
    void OnCopyToPc() override;
    void OnPcSelectAll() override;
    void OnMobileSelectAll() override;
    void ShowOutlookList() override;

protected:
    // Per form, during the initial update: the columns of its lists, and the Mobile source
    // shown first.
    virtual void SetUpColumns() = 0;
    virtual void ShowMobileSource() = 0;
    // Every source selector of the form, and those of the PC pane.
    virtual std::vector<int> SelectorIds() const;
    virtual std::vector<int> PcSelectorIds() const;
    // After a PC list source was shown (false: the local list).
    virtual void OnPcSourceShown(bool /*outlook*/) {}

    // The identities of the selected rows, in row order.
    std::vector<quintptr> SelectedIds(const CRecordListCtrl& list) const;

    // Fills a list with the live records of a document list: rowText(record, cells) gives the
    // texts, image(record) the row image.
    template <typename Record, typename RowText, typename Image>
    void FillList(CRecordListCtrl& list, const dh1::RecordList<Record>& records, RowText rowText, Image image);
    // What follows every reload: the pane's Select All unchecked, the detail list emptied,
    // the selection state refreshed.
    void AfterRefresh(bool pcPane);

    // Per form: the fields of a record for the detail lists (none: the labels alone).
    virtual std::vector<CDetailListCtrl::Row> DetailRows(const CSyncRecord* record) const = 0;
    virtual void ShowPcEntryInfo(const CSyncRecord* record);
    virtual void ShowMobileEntryInfo(const CSyncRecord* record);
    void UpdatePcTotal();
    virtual void UpdateMobileTotal() = 0;
    void ShowPimError() override;

    // The records of the form's kind: a fresh one; the edit dialog on one of a list of that
    // kind (true on OK); a copy stored into a PC list (the document's record); a row's texts.
    virtual std::unique_ptr<CSyncRecord> NewRecord() const = 0;
    virtual bool EditRecord(CSyncRecord& record, int mode, int kind) = 0;
    virtual CSyncRecord* StoreRecord(int kind, const CSyncRecord& record) = 0;
    virtual void RowTexts(int kind, const CSyncRecord& record, QStringList& cells) const = 0;
    // After PC New stored a record and added its row.
    virtual void AfterPcNew(int /*kind*/, quintptr /*id*/) {}
    // Edits a copy of the selected row's record of that list; the pane's Edit button is
    // disabled afterwards. True on OK, with the record's identity and the edited copy.
    bool EditSelectedCopy(int kind, int editButton, quintptr& id, std::unique_ptr<CSyncRecord>& edited);

    // The phone side: whether Mobile New may write now; the connect step for the list shown;
    // a new entry written (its storage key, or -1); a phone record rewritten with an edited
    // copy, which it takes only once the phone took it (the key or -1); whether the phone's
    // list is full.
    virtual bool CanWriteNew() const { return true; }
    virtual bool ConnectPhone() = 0;
    // The connect step of a command: when the phone cannot be reached the box says so, the
    // info text is cleared when asked, and false ends the command.
    bool ConnectOrSay(bool clearInfo = false);
    virtual int WriteToPhone(const CSyncRecord& record) = 0;
    virtual int UpdateOnPhone(CSyncRecord& record, const CSyncRecord& edited) = 0;
    virtual bool IsPhoneFull() const = 0;

    // Selection handling of the record lists.
    void OnClickList(CRecordListCtrl* list) override;
    void OnDblClkList(CRecordListCtrl* list) override;
    void OnItemChanged(CRecordListCtrl* list);
    virtual void RefreshSelectionState();
    void ShowPcSource(bool outlook) override;
    void ApplySelectAll(CRecordListCtrl* list, QCheckBox* box, bool checked);

    // Conventions of the phone commands.
    static void SetTransferProgressRange(int selectedRows); // rows + 10
    static void SetReadProgressRange();                     // 30
    // "Are you sure?" with Yes and No; true for Yes.
    static bool ConfirmDeletion();
    // A write the phone refused: "Memory is full" as the reason when the list is full.
    void ShowWriteError(bool listFull);
    // A write or delete that failed: the error box, with what the phone may have done when its
    // answer never came.
    void ShowPhoneError(int stringId) { m_doc.ShowPhoneError(stringId); }
    // The phone error box, which the document shows.
    static void ShowError(int stringId) { CMVsyncDoc::ShowError(stringId); }

    bool m_bOutlookRead = false;

private:
    std::vector<int> MobileButtons() const override;
    void BuildCommonControls();
    void OnRecordListAdded(CRecordListCtrl* list) override;

    CMVsyncDoc& m_doc;
};

template <typename Record, typename RowText, typename Image>
void CDataForm::FillList(CRecordListCtrl& list, const dh1::RecordList<Record>& records, RowText rowText, Image image)
{
    list.setUpdatesEnabled(false);
    list.DeleteAllItems();
    QStringList cells;
    for (const auto& record : records) {
        if (record->IsDeleted())
            continue;
        cells.clear();
        rowText(*record, cells);
        const int row = list.AddRow(cells, image(*record));
        list.SetItemData(row, CMVsyncDoc::RecordId(record.get()));
    }
    list.setUpdatesEnabled(true);
}

} // namespace dh1
