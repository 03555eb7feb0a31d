#pragma once

#include "controls/detail_list_ctrl.h"
#include "controls/pane_form_view.h"

#include <functional>

class CFormButton;
class CRecordListCtrl;
class QCheckBox;
class QDialog;
class QLabel;

namespace dh1 {

class CMVsyncDoc;
class CSmsEntry;

// The short messages stored on the phone: read them, show one in the detail pane, compose and
// store a new one, delete the checked ones. The main window has no page for it.
class CForm_SMS : public CPaneFormView {
    Q_OBJECT

public:
    static constexpr COLORREF kPaneColor = 0x4A5D65;
    static constexpr COLORREF kDetailColor = 0xE0FFFF;
    static constexpr int kDetailRows = 14;

    using ModalRunner = std::function<int(QDialog&)>;

    explicit CForm_SMS(CMVsyncDoc& doc, QWidget* parent = nullptr);
    ~CForm_SMS() override;

    void OnInitialUpdate() override;
    // Dialogs of the form run through this; the default runs them modally.
    void SetModalRunner(ModalRunner runner) { m_runModal = std::move(runner); }

    CFormButton* Button(int id) const;
    CRecordListCtrl* List() const;
    CDetailListCtrl* Detail() const;
    QCheckBox* SelectAll() const;
    QLabel* Status() const;
    bool IsReadDone() const { return m_bReadDone; }

public Q_SLOTS:
    // Only after a successful read: composes a message, which the phone is asked to store.
    void OnNew();
    void OnRead();
    void OnDelete();
    void OnSend();
    void OnSelectAll();
    void OnClickList();
    void OnDblClkList();

private:
    // The rows of the document's live messages.
    void Refill();
    void ShowMessageInfo(const CSmsEntry* message);
    int RunModal(QDialog& dialog) const;
    void AddMessageRow(const CSmsEntry& message);

    CMVsyncDoc& m_doc;
    ModalRunner m_runModal;
    bool m_bReadDone = false;
};

} // namespace dh1
