// CSV export and import of the PC lists.
#include "document2/mvsync_doc.h"

#include "docshared/csv_file.h"
#include "link2/model_profile.h"
#include "platform/string_table.h"
#include "platform/ui_services.h"

#include <algorithm>

namespace dh2 {

namespace {

constexpr int kInvalidFileText = 62494;

const char* const kHeaders[] = {"Name,Mobile,Office,Home,Fax,Email,Group", "Subject,Date and Time,Repeat,Alarm", "Memo"};
// What a contacts header must hold (lower-cased); the cells are still taken from the first on.
const QString kContactColumns = QStringLiteral("name,mobile,office,home,fax,email");

// The code whose text (of the running language) the cell is, any case; 0 for no match.
int codeOf(const QString& cell, QString (*text)(int), int count)
{
    const QString lower = cell.toLower();
    for (int code = 0; code < count; ++code) {
        if (lower == text(code).toLower())
            return code;
    }
    return 0;
}

// The first group of the table with exactly that name; "No group" for none.
int groupOf(const QString& cell)
{
    const QString name = cell.trimmed();
    for (size_t g = 0; g < g_arrGroups.size(); ++g) {
        if (g_arrGroups[g].m_strName == name)
            return int(g);
    }
    return CPhoneEntry::kNoGroup;
}

// The first line is the header, tested lower-cased; a wrong one is refused with a box.
bool headerPasses(const QStringList& lines, int tab)
{
    if (lines.isEmpty())
        return false;
    const QString header = csv::HeaderKey(lines.front());
    const bool passes = tab == CMVsyncDoc::TabContacts ? header.contains(kContactColumns)
                                                       : header == QString::fromLatin1(kHeaders[tab]).toLower();
    if (!passes)
        platform::AfxMessageBox(platform::LoadString(kInvalidFileText));
    return passes;
}

} // namespace

bool CMVsyncDoc::IsCsvCommandEnabled() const
{
    const int tab = CurrentTab();
    return tab >= TabContacts && tab <= TabMemos;
}

// Names, groups and dates are quoted only where a cell needs it; every other text cell keeps the
// three quotes on each side that files of this program always had.
QString CMVsyncDoc::ExportCsv(int tab) const
{
    using csv::NumberCell;
    using csv::QuoteCell;
    QString rows;
    switch (tab) {
    case TabContacts:
        for (const auto& e : m_arPcContacts) {
            if (!e->IsDeleted())
                rows += QuoteCell(e->m_strName) + u',' + NumberCell(e->m_strMobile) + u',' + NumberCell(e->m_strOffice)
                        + u',' + NumberCell(e->m_strHome) + u',' + NumberCell(e->m_strFax) + u','
                        + NumberCell(e->m_strEmail) + u',' + QuoteCell(GetGroupName(e->m_nGroup)) + QStringLiteral("\r\n");
        }
        break;
    case TabSchedules:
        for (const auto& e : m_arPcSchedules) {
            if (!e->IsDeleted() && e->m_nKind != CScheduleEntry::KindMemo)
                rows += NumberCell(e->m_strSubject) + u',' + QuoteCell(e->m_dtStart.Format()) + u','
                        + RepeatText(e->m_nRepeat) + u',' + AlarmText(e->m_nAlarm) + QStringLiteral("\r\n");
        }
        break;
    case TabMemos:
        for (const auto& e : m_arPcMemos) {
            if (!e->IsDeleted() && e->m_nKind != CScheduleEntry::KindSchedule)
                rows += NumberCell(e->m_strSubject) + QStringLiteral("\r\n");
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
    switch (csv::ReadFile(path, bytes)) {
    case csv::FileRead::NotOpened: platform::AfxMessageBox(QStringLiteral("Failed open file")); return false;
    case csv::FileRead::ReadFailed: platform::AfxMessageBox(QStringLiteral("Failed to open csv file")); return false;
    case csv::FileRead::Read: break;
    }
    // The text ends at the first zero byte.
    bool rowsCut = false;
    if (const qsizetype zero = bytes.indexOf('\0'); zero >= 0) {
        const QByteArray rest = bytes.mid(zero);
        rowsCut = std::any_of(rest.begin(), rest.end(), [](char c) { return c != '\0' && c != '\r' && c != '\n'; });
        bytes.truncate(zero);
    }
    const QStringList lines = csv::SplitLines(csv::DecodeFile(bytes));
    // A file whose rows all lie after the zero byte must not empty the list.
    if (rowsCut && lines.size() < 2) {
        platform::AfxMessageBox(platform::LoadString(kInvalidFileText));
        return false;
    }
    if (lines.isEmpty())
        return false;
    bool ok = false;
    switch (tab) {
    case TabContacts: ok = ImportContactsCsv(lines); break;
    case TabSchedules: ok = ImportSchedulesCsv(lines); break;
    case TabMemos: ok = ImportMemosCsv(lines); break;
    default: return false;
    }
    NotifyChanged();
    return ok;
}

bool CMVsyncDoc::ImportContactsCsv(const QStringList& lines)
{
    if (!headerPasses(lines, TabContacts))
        return false;
    const bool hasGroup = csv::HeaderKey(lines.front()).contains(QLatin1String("group"));
    RecordList<CPhoneEntry> fresh;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QStringList cells = csv::SplitCells(lines[i]);
        auto e = std::make_unique<CPhoneEntry>();
        e->m_strName = csv::CellAt(cells, 0).isEmpty() ? QStringLiteral("Empty") : csv::CellAt(cells, 0);
        e->m_strMobile = csv::CellAt(cells, 1);
        e->m_strOffice = csv::CellAt(cells, 2);
        e->m_strHome = csv::CellAt(cells, 3);
        e->m_strFax = csv::CellAt(cells, 4);
        e->m_strEmail = csv::CellAt(cells, 5);
        e->m_nGroup = hasGroup ? groupOf(csv::CellAt(cells, 6)) : CPhoneEntry::kNoGroup;
        fresh.push_back(std::move(e));
    }
    m_arPcContacts = std::move(fresh);
    NotifyChanged();
    return true;
}

bool CMVsyncDoc::ImportSchedulesCsv(const QStringList& lines)
{
    if (!headerPasses(lines, TabSchedules))
        return false;
    RecordList<CScheduleEntry> fresh;
    csv::RowsLeftOut leftOut;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QStringList cells = csv::SplitCells(lines[i]);
        auto e = std::make_unique<CScheduleEntry>();
        // A row without a date that reads would reach the phone and the PIM store with none.
        if (!e->m_dtStart.ParseDateTime(csv::CellAt(cells, 1))) {
            leftOut.Add(i + 1, csv::CellAt(cells, 1));
            continue;
        }
        e->m_strSubject = csv::CellAt(cells, 0);
        e->m_nRepeat = codeOf(csv::CellAt(cells, 2), &RepeatText, 5);
        e->m_nAlarm = codeOf(csv::CellAt(cells, 3), &AlarmText, 6);
        e->m_nKind = CScheduleEntry::KindSchedule;
        fresh.push_back(std::move(e));
    }
    // Rows of which none reads are no reason to empty the list.
    if (leftOut.LeftOutEvery(lines.size() - 1)) {
        platform::AfxMessageBox(platform::LoadString(kInvalidFileText));
        return false;
    }
    m_arPcSchedules = std::move(fresh);
    NotifyChanged();
    leftOut.Warn();
    return true;
}

bool CMVsyncDoc::ImportMemosCsv(const QStringList& lines)
{
    if (!headerPasses(lines, TabMemos))
        return false;
    RecordList<CScheduleEntry> fresh;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        auto e = std::make_unique<CScheduleEntry>();
        e->m_strSubject = csv::CellAt(csv::SplitCells(lines[i]), 0);
        e->m_nKind = CScheduleEntry::KindMemo;
        fresh.push_back(std::move(e));
    }
    m_arPcMemos = std::move(fresh);
    NotifyChanged();
    return true;
}

} // namespace dh2
