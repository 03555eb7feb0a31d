// The one name field of the programs against the parts of a card's N: a rename changes the parts
// whose text changed and keeps the others.
#include "platform/pim/structured_name.h"

#include <gtest/gtest.h>

namespace {

using pim::NameParts;

TEST(StructuredName, ARenameChangesOnlyThePartsThatChanged)
{
    // Parts: family, given, additional, prefixes, suffixes.
    const struct {
        const char* what;
        const char* was;
        NameParts parts;
        const char* now;
        NameParts expected;
    } cases[] = {
        {"family name with a particle", "Prof. Dr. Maximilian Karl Friedrich von Sachsen-Coburg III",
         {"von Sachsen-Coburg", "Maximilian", "Karl Friedrich", "Prof. Dr.", "III"},
         "Prof. Dr. Maximilian Karl Friedrich von Sachsen-Coburg-Gotha III",
         {"von Sachsen-Coburg-Gotha", "Maximilian", "Karl Friedrich", "Prof. Dr.", "III"}},
        {"suffix", "John Smith Jr.", {"Smith", "John", "", "", "Jr."}, "John Smith Sr.", {"Smith", "John", "", "", "Sr."}},
        {"given name", "Dr. Ann Q. Lee", {"Lee", "Ann", "Q.", "Dr.", ""}, "Dr. Anna Q. Lee", {"Lee", "Anna", "Q.", "Dr.", ""}},
        {"a middle name goes", "Ann Q. Lee", {"Lee", "Ann", "Q.", "", ""}, "Ann Lee", {"Lee", "Ann", "", "", ""}},
        {"family name first", "Doe, Jane", {"Doe", "Jane", "", "", ""}, "Doe-Smith, Jane", {"Doe-Smith", "Jane", "", "", ""}},
        {"written without blanks", "王小明", {"王", "小明", "", "", ""}, "王大明", {"王", "大明", "", "", ""}},
        {"only the punctuation", "Doe, Jane", {"Doe", "Jane", "", "", ""}, "Doe,Jane", {"Doe", "Jane", "", "", ""}},
        {"a new name over two parts", "Ann Lee", {"Lee", "Ann", "", "", ""}, "Anna Maria Berg",
         {"Berg", "Anna Maria", "", "", ""}},
        {"one word for two parts", "Ann Lee", {"Lee", "Ann", "", "", ""}, "Madonna", {"", "Madonna", "", "", ""}},
        {"a nickname keeps the parts", "Boss", {"Doe", "John", "", "", ""}, "Big Boss", {"Doe", "John", "", "", ""}},
        {"no parts yet", "", {}, "  Anna Maria Berg ", {"Berg", "Anna Maria", "", "", ""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const NameParts renamed = pim::RenamedParts(QString::fromUtf8(c.was), c.parts, QString::fromUtf8(c.now));
        for (size_t i = 0; i < renamed.size(); ++i)
            EXPECT_EQ(renamed[i].toStdString(), c.expected[i].toStdString()) << "part " << i;
    }
    EXPECT_EQ(pim::ComposedName({"Lee", "Ann", "Q.", "Dr.", "PhD"}), QStringLiteral("Dr. Ann Q. Lee PhD"));
}

} // namespace
