#pragma once

#include <QDialog>

#include <vector>

class CRecordListCtrl;

namespace dh2 {

class CScheduleEntry;

// Offers records by their subject in a numbered list; OK returns the selected one (none when
// no row is selected). The caller keeps the records alive while the dialog runs.
class CSelectScheduleDlg final : public QDialog {
    Q_OBJECT

public:
    explicit CSelectScheduleDlg(const std::vector<CScheduleEntry*>& records, QWidget* parent = nullptr);

    CScheduleEntry* GetChosen() const { return m_pChosen; }
    CRecordListCtrl* List() const { return m_pList; }

public Q_SLOTS:
    void accept() override;

private:
    std::vector<CScheduleEntry*> m_records;
    CRecordListCtrl* m_pList;
    CScheduleEntry* m_pChosen = nullptr;
};

} // namespace dh2
