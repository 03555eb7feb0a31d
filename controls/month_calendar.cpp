#include "controls/month_calendar.h"

#include "controls/control_names.h"
#include "controls/image_button.h"
#include "controls/ms_flex_grid.h"
#include "controls/resizable_form_view.h"
#include "platform/c_time.h"

#include <QLabel>

CMonthCalendar::CMonthCalendar(CResizableFormView& form, const Places& places, const QString& calendar,
                               const QString& pane)
    : m_pGrid(new CMSFlexGrid), m_pLabel(new QLabel(QStringLiteral("2002 / 03 / 23")))
{
    form.AddDlgItem(places.gridId, NameControl(m_pGrid, QStringLiteral("monthGrid"), calendar, pane), places.grid);
    NameControl(m_pLabel, QStringLiteral("monthLabel"), m_pLabel->text(), pane);
    m_pLabel->setAlignment(Qt::AlignCenter);
    form.AddDlgItem(places.labelId, m_pLabel, places.label);
    m_pPrev = NameControl(new CImageButton(QStringLiteral("<<")), QStringLiteral("prevMonth"), QStringLiteral("<<"), calendar);
    form.AddDlgItem(places.prevId, m_pPrev, places.prev);
    m_pNext = NameControl(new CImageButton(QStringLiteral(">>")), QStringLiteral("nextMonth"), QStringLiteral(">>"), calendar);
    form.AddDlgItem(places.nextId, m_pNext, places.next);
    Show(false);

    m_flexMan.SetGrid(m_pGrid);
    m_flexMan.InitGrid();
    const CTime today = CTime::GetCurrentTime();
    m_flexMan.SetMonth(today.GetYear(), today.GetMonth());
}

void CMonthCalendar::Show(bool show)
{
    for (QWidget* control : std::initializer_list<QWidget*>{m_pGrid, m_pLabel, m_pPrev, m_pNext})
        control->setVisible(show);
}

void CMonthCalendar::ShowToday()
{
    const CTime today = CTime::GetCurrentTime();
    m_flexMan.SetMonth(today.GetYear(), today.GetMonth());
    m_flexMan.SelectDate(today, true);
}

void CMonthCalendar::ShowLabel()
{
    const CTime selected = m_flexMan.GetSelectedDate();
    m_pLabel->setText(QString::asprintf("%04d / %02d", selected.GetYear(), selected.GetMonth()));
    m_pLabel->setAccessibleName(m_pLabel->text());
}

void CMonthCalendar::Draw(const std::vector<monthtexts::Entry>& entries, const monthtexts::RepeatRule& rule)
{
    m_flexMan.ShowEntries(entries, rule);
    ShowLabel();
}
