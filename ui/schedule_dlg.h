#pragma once

#include "ui/dialog_parts.h"

#include "controls/schedule_edit_dlg.h"
#include "link/records.h"

#include <QDialog>

#include <vector>

class CRecordListCtrl;

namespace dh1 {

// Edits one schedule entry: subject, date, time, repeat and alarm. Built with the entry and a
// mode (1 New, 2 Edit; the title says which); the entry changes only on OK.
class CScheduleDlg : public CScheduleEditDlg {
    Q_OBJECT

public:
    using enum EditDialogMode;

    CScheduleDlg(CScheduleEntry& entry, int mode, QWidget* parent = nullptr);

public Q_SLOTS:
    // Subject, repeat, the date with the hour and minute (second 0) and the alarm go to the
    // entry. An empty subject is accepted.
    void accept() override;
    void OnChangeSubject();

private:
    CScheduleEntry& m_entry;
};

// Picks one of several schedule entries (those of one calendar day) by its subject. OK needs a
// chosen row; the result is the position of the chosen entry among the candidates.
class CSelectScheduleDlg : public QDialog {
    Q_OBJECT

public:
    explicit CSelectScheduleDlg(const std::vector<const CScheduleEntry*>& candidates, QWidget* parent = nullptr);

    CRecordListCtrl* List() const { return m_pList; }
    // The chosen candidate's position, or -1.
    int GetChosen() const { return m_nChosen; }

public Q_SLOTS:
    void accept() override;

private:
    CRecordListCtrl* m_pList;
    int m_nChosen = -1;
};

} // namespace dh1
