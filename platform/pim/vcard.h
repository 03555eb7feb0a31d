#pragma once

#include "platform/pim/content_line.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <optional>
#include <vector>

namespace pim {

// The content lines of a card's text. The first card is the contact; every other line (nested
// cards, lines a reader does not know) is kept as it was, so that rewriting loses nothing.
class VCard {
public:
    static VCard Parse(const QByteArray& bytes);
    // An empty card: BEGIN, VERSION:3.0, PRODID, END.
    static VCard NewCard();

    // The card's version, by its VERSION line (3.0 without one).
    CardVersion Version() const;
    // Every line in the card's version: a line as it was read, byte for byte; a line that changed
    // with its name and parameters as written where they did not change; a new line formatted.
    // Line breaks are those of the text read (CR LF for a new card).
    QByteArray Serialize() const;

    bool HasCard() const { return cardRange().has_value(); }
    // Indices of the first card's own properties, in file order; nested cards are left out.
    std::vector<size_t> Properties() const;
    // The first of the first card's own properties with that name, or null.
    const ContentLine* Find(QStringView name) const;
    ContentLine* Find(QStringView name);

    const std::vector<ContentLine>& Lines() const { return m_lines; }
    ContentLine& LineAt(size_t index) { return m_lines[index]; }
    // Adds a property at the end of the first card (right after BEGIN when first is set); a
    // card without END gets one.
    void Append(ContentLine line, bool first = false);
    void RemoveAt(size_t index);

private:
    struct Range {
        size_t begin; // the BEGIN line
        size_t end;   // the matching END line, or the number of lines when there is none
    };
    // Where a line that was read came from.
    struct Origin {
        ContentLine asRead;
        QByteArray raw; // its bytes, line break included
        QByteArray head;
        bool headDescribesValue = true;
    };
    std::optional<Range> cardRange() const;
    void insert(size_t at, ContentLine line);
    QByteArray format(size_t index, CardVersion version) const;

    std::vector<ContentLine> m_lines;
    std::vector<std::optional<Origin>> m_origins; // one per line; none for a line added here
    QByteArray m_lineBreak = "\r\n";
};

} // namespace pim
