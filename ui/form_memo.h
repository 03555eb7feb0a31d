#pragma once

#include "ui/phone_list_form.h"

namespace dh1 {

// The memo tab: the PC pane shows the local memos or the PIM notes, the Mobile pane the
// phone's memos.
class CForm_Memo : public TPhoneListForm<CMemoEntry> {
    Q_OBJECT

public:
    explicit CForm_Memo(CMVsyncDoc& doc, QWidget* parent = nullptr);
    ~CForm_Memo() override;

protected:
    std::vector<CDetailListCtrl::Row> DetailRows(const CSyncRecord* record) const override;
    bool EditRecord(CSyncRecord& record, int mode, int kind) override;
};

} // namespace dh1
