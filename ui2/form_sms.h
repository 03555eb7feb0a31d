#pragma once

#include "controls/data_pane_form.h"
#include "controls/detail_list_ctrl.h"
#include "document2/mvsync_doc.h"

namespace dh2 {

class CSMSDlg;

// The message page of Deskhand2: one pane over the document's message list. Read lists the
// phone's messages; New and Edit compose in the message dialog, store the message on the phone
// when the user agrees and send it when asked; Delete removes messages from the list and, when
// the user agrees, from the phone. Only a message the phone stored is ever sent. No window of
// the program opens this page.
class CForm_SMS : public CDataPaneForm {
    Q_OBJECT

public:
    static constexpr COLORREF kFormColor = 0x4A5D65;
    explicit CForm_SMS(CMVsyncDoc& doc, QWidget* parent = nullptr);
    ~CForm_SMS() override;

    CMVsyncDoc& GetDocument() const { return m_doc; }
    void OnInitialUpdate() override;

public Q_SLOTS:
    void OnRead();
    void OnNew();
    void OnEditMessage();
    void OnDelete();
    void OnSelectAll();
    void OnFilePrint() override;
    void RefreshList();

private:
    void OnClickList();
    void OnDblClkList();
    void OnCheckChanged();
    void ShowEntryInfo(const CSmsEntry* record);
    void SetStatusText(const QString& text);
    // The message dialog with those fields; true on OK.
    bool RunMessageDialog(CSMSDlg& dialog, const QString& number, const QString& text);
    // Sends a message the phone stored; one it did not store is never sent. True when sent.
    bool SendIfStored(CSmsEntry& message);
    // A copy of the record joins the list, its row selected; returns the copy's identity.
    quintptr AddMessageRow(const CSmsEntry& record);
    void SelectRecord(quintptr id);
    CSmsEntry* FocusedMessage() const;

    CMVsyncDoc& m_doc;
};

} // namespace dh2
