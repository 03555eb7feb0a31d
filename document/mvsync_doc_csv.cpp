// CSV export and import of the PC lists.
#include "document/mvsync_doc.h"

#include "docshared/csv_file.h"
#include "platform/string_table.h"
#include "platform/ui_services.h"


namespace dh1 {

namespace {

constexpr int kInvalidFileText = 61450;

const char* const kHeaders[] = {"Name,Mobile,Home,Office,Email,Memo,Group", "Subject,Date and Time,Repeat,Alarm", "Memo"};

// Words written for each value, and the words files of older versions used; both read back.
const char* const kRepeatWritten[] = {"No Repeat", "Daily", "Weekly", "Monthly", "Yearly"};
const char* const kAlarmWritten[] = {"No alarm", "OnTime", "Before 15 min", "Before 30 min", "Before 1 hour", "Before 1 day"};
const char* const kAlarmRead[] = {"no alarm", "on time", "15 min.before", "30 min.before", "1 hour before", "1 day before"};

template <size_t N>
QString wordFor(int value, const char* const (&words)[N])
{
    return value >= 0 && value < int(N) ? QString::fromLatin1(words[value]) : QString();
}

int valueOf(const QString& cell, std::initializer_list<const char* const*> tables, int size)
{
    for (const char* const* table : tables) {
        for (int value = 0; value < size; ++value) {
            if (cell.compare(QLatin1String(table[value]), Qt::CaseInsensitive) == 0)
                return value;
        }
    }
    return 0;
}

bool headerMatches(const QStringList& lines, int tab)
{
    return csv::HeaderKey(lines.front()) == QString::fromLatin1(kHeaders[tab]).toLower();
}

} // namespace

QString CMVsyncDoc::ExportCsv(int tab) const
{
    using csv::QuoteCell;
    QString rows;
    switch (tab) {
    case TabContacts:
        for (const auto& e : m_pcContacts) {
            if (e->IsDeleted())
                continue;
            rows += QuoteCell(e->m_strName) + u',' + csv::NumberCell(e->m_strMobile) + u','
                    + csv::NumberCell(e->m_strHome) + u',' + csv::NumberCell(e->m_strOffice) + u','
                    + QuoteCell(e->m_strEmail) + u',' + QuoteCell(e->m_strMemo) + u','
                    + QuoteCell(GroupName(e->m_nGroup)) + QStringLiteral("\r\n");
        }
        break;
    case TabSchedules:
        for (const auto& e : m_pcSchedules) {
            if (e->IsDeleted())
                continue;
            rows += QuoteCell(e->m_strSubject) + u',' + QuoteCell(e->m_dtStart.Format()) + u','
                    + wordFor(e->m_nRepeat, kRepeatWritten) + u',' + wordFor(e->m_nAlarm, kAlarmWritten)
                    + QStringLiteral("\r\n");
        }
        break;
    case TabMemos:
        for (const auto& e : m_pcMemos) {
            if (!e->IsDeleted())
                rows += QuoteCell(e->m_strText) + QStringLiteral("\r\n");
        }
        break;
    default:
        return {};
    }
    return csv::WithHeader(kHeaders[tab], rows);
}

bool CMVsyncDoc::LoadCsvFile(int tab, const QString& path)
{
    QByteArray bytes;
    if (csv::ReadFile(path, bytes) != csv::FileRead::Read) {
        platform::AfxMessageBox(platform::LoadString(61449));
        return false;
    }
    const QStringList lines = csv::SplitLines(csv::DecodeFile(bytes));
    switch (tab) {
    case TabContacts: return ImportContactsCsv(lines);
    case TabSchedules: return ImportSchedulesCsv(lines);
    case TabMemos: return ImportMemosCsv(lines);
    default: return false;
    }
}

bool CMVsyncDoc::ImportContactsCsv(const QStringList& lines)
{
    if (lines.isEmpty())
        return false;
    if (!headerMatches(lines, TabContacts)) {
        platform::AfxMessageBox(platform::LoadString(kInvalidFileText));
        return false;
    }
    platform::UiServices& ui = platform::UiServices::instance();
    ui.beginWaitCursor();
    RecordList<CPhoneEntry> fresh;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QStringList cells = csv::SplitCells(lines[i]);
        auto e = std::make_unique<CPhoneEntry>();
        e->m_strName = csv::CellAt(cells, 0).isEmpty() ? QStringLiteral("Empty") : csv::CellAt(cells, 0);
        e->m_strMobile = csv::CellAt(cells, 1);
        e->m_strHome = csv::CellAt(cells, 2);
        e->m_strOffice = csv::CellAt(cells, 3);
        e->m_strEmail = csv::CellAt(cells, 4);
        e->m_strMemo = csv::CellAt(cells, 5);
        const QString group = csv::CellAt(cells, 6);
        for (int g = 0; g < m_groupNames.size(); ++g) {
            if (group.compare(m_groupNames[g], Qt::CaseInsensitive) == 0)
                e->m_nGroup = g;
        }
        fresh.push_back(std::move(e));
    }
    ReplaceList(m_pcContacts, std::move(fresh));
    ui.endWaitCursor();
    return true;
}

bool CMVsyncDoc::ImportSchedulesCsv(const QStringList& lines)
{
    if (lines.isEmpty())
        return false;
    if (!headerMatches(lines, TabSchedules)) {
        platform::AfxMessageBox(platform::LoadString(kInvalidFileText));
        return false;
    }
    RecordList<CScheduleEntry> fresh;
    csv::RowsLeftOut leftOut;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QStringList cells = csv::SplitCells(lines[i]);
        auto e = std::make_unique<CScheduleEntry>();
        // A row whose date does not read is left out: any date given in its place is a wrong one.
        if (!e->m_dtStart.ParseDateTime(csv::CellAt(cells, 1))) {
            leftOut.Add(i + 1, csv::CellAt(cells, 1));
            continue;
        }
        e->m_strSubject = csv::CellAt(cells, 0);
        e->m_nRepeat = valueOf(csv::CellAt(cells, 2), {kRepeatWritten}, 5);
        e->m_nAlarm = valueOf(csv::CellAt(cells, 3), {kAlarmWritten, kAlarmRead}, 6);
        fresh.push_back(std::move(e));
    }
    // Rows of which none reads are no reason to empty the list.
    if (leftOut.LeftOutEvery(lines.size() - 1)) {
        platform::AfxMessageBox(platform::LoadString(kInvalidFileText));
        return false;
    }
    ReplaceList(m_pcSchedules, std::move(fresh));
    leftOut.Warn();
    return true;
}

bool CMVsyncDoc::ImportMemosCsv(const QStringList& lines)
{
    if (lines.isEmpty())
        return false;
    if (!headerMatches(lines, TabMemos)) {
        platform::AfxMessageBox(platform::LoadString(kInvalidFileText));
        return false;
    }
    RecordList<CMemoEntry> fresh;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        auto e = std::make_unique<CMemoEntry>();
        e->m_strText = csv::CellAt(csv::SplitCells(lines[i]), 0);
        fresh.push_back(std::move(e));
    }
    ReplaceList(m_pcMemos, std::move(fresh));
    return true;
}

} // namespace dh1
