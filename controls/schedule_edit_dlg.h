#pragma once

#include <QDialog>
#include <QStringList>

class CLimitedLineEdit;
class QButtonGroup;
class QComboBox;
class QDate;
class QDateEdit;
class QFormLayout;
class QRadioButton;
class QTime;
class QTimeEdit;

// The form of both programs' schedule entry dialogs: subject, date, time, the five repeat
// buttons (0 none to 4 yearly) and the alarm list. Each program's dialog shows its entry,
// limits the subject, adds its buttons and writes the entry back on OK.
class CScheduleEditDlg : public QDialog {
    Q_OBJECT

public:
    // The program's texts and date format.
    struct Texts {
        QString subject; // the row labels
        QString date;
        QString time;
        QString repeat;
        QString alarm;
        QStringList repeats; // the repeat buttons, 0 to 4
        QStringList alarms;  // the alarm values from 0
        QString dateFormat;
        QString dateHint; // shown beside the date; none when empty
    };

    ~CScheduleEditDlg() override;

    CLimitedLineEdit* SubjectEdit() const { return m_pSubject; }
    QDateEdit* DateEdit() const { return m_pDate; }
    QTimeEdit* TimeEdit() const { return m_pTime; }
    // The radio button of a repeat value, or nullptr.
    QRadioButton* RepeatButton(int repeat) const;
    QComboBox* AlarmList() const { return m_pAlarm; }
    // The checked repeat button's value, or the entry's when none is checked.
    int GetRepeat() const { return m_nRepeat; }

protected:
    CScheduleEditDlg(const Texts& texts, QWidget* parent);

    // The rows; the program adds its buttons as the last.
    QFormLayout* Form() const { return m_pForm; }
    // An entry's fields; an alarm outside the list selects none.
    void ShowFields(const QString& subject, const QDate& date, const QTime& time, int repeat, int alarm);

private:
    QFormLayout* m_pForm;
    int m_nRepeat = 0;
    CLimitedLineEdit* m_pSubject;
    QDateEdit* m_pDate;
    QTimeEdit* m_pTime;
    QButtonGroup* m_pRepeat;
    QComboBox* m_pAlarm;
};
