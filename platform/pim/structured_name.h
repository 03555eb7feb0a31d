#pragma once

#include <QString>

#include <array>

namespace pim {

// The five parts of a vCard N, each as the blank-separated text of its values.
enum NamePart { NameFamily, NameGiven, NameAdditional, NamePrefix, NameSuffix };
using NameParts = std::array<QString, 5>;

// The parts after the full name changed from was to now. The program has one name field, the
// full name; the parts it shows in are found in it, and only the parts whose text changed take
// the new text: "Prof. Dr. Max von Berg III" to "Prof. Dr. Max von Berg-Au III" changes the
// family name alone. Where the change spans several parts, its words fill them from the last
// (the last word the last part). A name whose parts are not in the full name at all (a
// nickname) keeps them; one without parts splits at the last blank into given and family name.
NameParts RenamedParts(const QString& was, const NameParts& parts, const QString& now);

// The full name of parts, for a card that has no FN: prefixes, given, additional and family
// names, suffixes.
QString ComposedName(const NameParts& parts);

} // namespace pim
