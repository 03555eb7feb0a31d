#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <utility>
#include <vector>

namespace pim {

// What tells a component of a file from the others: its kind, UID and RECURRENCE-ID (as
// written), and which of the components alike in these three it is, from 1.
struct ComponentKey {
    QString kind; // upper case: VCARD, VEVENT, VJOURNAL, VTODO, VTIMEZONE, ...
    QString uid;  // unescaped and trimmed; empty when the component has none
    QString recurrenceId;
    int ordinal = 1;

    bool operator==(const ComponentKey&) const = default;
};

// A component at the top of a file: a card of a .vcf, or a component of a VCALENDAR of an .ics
// (a file may hold several VCALENDARs, or bare components), as the bytes that hold it.
struct ComponentSpan {
    qsizetype begin = 0; // the first byte of its BEGIN line
    qsizetype end = 0;   // past the line break of its END line
    ComponentKey key;
    int calendar = -1; // the VCALENDAR that holds it, counted from 0; -1 for none
};

// The items a file holds of one kind: each component of the kind that is no moved occurrence,
// with the moved occurrences of its UID that follow it in the file, and each moved occurrence
// whose series the file does not hold, alone.
struct ItemSpans {
    std::vector<size_t> spans; // the item's own component first
    bool occurrence = false;
};

// The text of a store file cut into its components, so that one of them can be replaced or
// removed while every other byte of the file stays as it was. A component without its END is no
// component (it stays in the text untouched), but for a card at the end of the file.
class ComponentFile {
public:
    explicit ComponentFile(const QByteArray& bytes = {});

    // The file as read (a UTF-16 file as UTF-8).
    QByteArray Bytes() const { return m_mark + m_text; }
    const std::vector<ComponentSpan>& Spans() const { return m_spans; }
    QByteArray SpanText(size_t index) const;

    std::optional<size_t> Find(const ComponentKey& key) const;
    // The VTIMEZONEs of the calendar that holds a span (bare ones for a bare span).
    std::vector<size_t> TimeZonesBeside(size_t index) const;
    std::vector<ItemSpans> Items(const QString& kind) const;
    // Whether the file holds a component other than a VTIMEZONE.
    bool HoldsContent() const;

    // The file with each given span replaced by its text, or removed for an empty text; line
    // breaks become the file's own. Everything else stays byte for byte.
    QByteArray Replaced(const std::vector<std::pair<size_t, QByteArray>>& texts) const;

private:
    QByteArray m_mark; // a UTF-8 byte order mark, kept
    QByteArray m_text;
    std::vector<ComponentSpan> m_spans;
};

} // namespace pim
