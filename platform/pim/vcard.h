#pragma once

#include "platform/pim/content_line.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <optional>
#include <vector>

namespace pim {

// The content lines of a .vcf file. The first card is the contact; every other line (further
// cards, lines a reader does not know) is kept as it was, so that rewriting loses nothing.
class VCard {
public:
    static VCard Parse(const QByteArray& bytes);
    // An empty card: BEGIN, VERSION:3.0, PRODID, END.
    static VCard NewCard();

    // Every line in vCard 3.0 form (VERSION lines say 3.0), folded, CR LF.
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
    std::optional<Range> cardRange() const;

    std::vector<ContentLine> m_lines;
};

} // namespace pim
