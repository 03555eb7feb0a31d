#include "platform/pim/content_line.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace {

using pim::CardVersion;
using pim::ContentLine;

// "GROUP.NAME;P1=a,b;P2=c" with the value left out: the parsed line in one comparable text.
QString describeHead(const ContentLine& line)
{
    QString text = line.group.isEmpty() ? line.name : line.group + u'.' + line.name;
    for (const pim::ContentParameter& p : line.params)
        text += u';' + p.name + u'=' + p.values.join(u',');
    return text;
}

// The lines of a text as the store's reader sees them.
std::vector<ContentLine> parse(const QByteArray& text)
{
    std::vector<ContentLine> lines;
    for (pim::SourceLine& source : pim::ReadContentLines(pim::TextWithoutByteOrderMark(text)))
        lines.push_back(std::move(source.line));
    return lines;
}

struct ParseCase {
    const char* what;
    QByteArray input;
    const char* head;  // of the last line parsed
    const char* value; // raw, escapes kept
};

TEST(ContentLine, ParsesTheSpellingsOtherProgramsWrite)
{
    const ParseCase cases[] = {
        {"plain", "FN:Jane Doe\r\n", "FN", "Jane Doe"},
        {"folded with a blank", "NOTE:abc\r\n def\r\n", "NOTE", "abcdef"},
        {"folded with a tab", "NOTE:abc\r\n\tdef\r\n", "NOTE", "abcdef"},
        {"folded inside a character", "NOTE:\xE4\xB8\r\n \xAD\r\n", "NOTE", "\xE4\xB8\xAD"},
        {"bare LF line ends", "BEGIN:VCARD\nFN:x\n y\nEND:VCARD\n", "END", "VCARD"},
        {"escapes stay in the raw value", "ORG:Example\\, Inc.\\;Sales\r\n", "ORG", "Example\\, Inc.\\;Sales"},
        {"name in lower case", "tel;type=work:1\r\n", "TEL;TYPE=work", "1"},
        {"TYPE list", "TEL;TYPE=WORK,VOICE:1\r\n", "TEL;TYPE=WORK,VOICE", "1"},
        {"TYPE repeated", "TEL;TYPE=HOME;TYPE=VOICE:1\r\n", "TEL;TYPE=HOME,VOICE", "1"},
        {"bare 2.1 parameters", "TEL;CELL;VOICE:1\r\n", "TEL;TYPE=CELL,VOICE", "1"},
        {"quoted 4.0 TYPE list", "TEL;VALUE=uri;TYPE=\"cell,voice\":tel:+1\r\n", "TEL;VALUE=uri;TYPE=cell,voice",
         "tel:+1"},
        {"group prefix", "item1.TEL;TYPE=cell:+49\r\n", "item1.TEL;TYPE=cell", "+49"},
        {"colon inside a quoted parameter", "X-A;LABEL=\"a:b;c\":v:w\r\n", "X-A;LABEL=a:b;c", "v:w"},
        {"blanks around the name", " NOTE ;TYPE=x :v\r\n", "NOTE;TYPE=x", "v"},
        {"UTF-8 byte order mark", "\xEF\xBB\xBF" "FN:x\r\n", "FN", "x"},
        {"a line without colon is skipped", "FN:a\r\ngarbage\r\n", "FN", "a"},
        {"empty value", "NOTE:\r\n", "NOTE", ""},
    };
    for (const ParseCase& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<ContentLine> lines = parse(c.input);
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(describeHead(lines.back()), QString::fromUtf8(c.head));
        EXPECT_EQ(lines.back().value, QString::fromUtf8(c.value));
    }
}

TEST(ContentLine, VersionTwoOneKeepsTheFoldingBlankAndJoinsSoftBreaks)
{
    const QByteArray card = "BEGIN:VCARD\r\nVERSION:2.1\r\n"
                            "NOTE:two\r\n words\r\n"
                            "ADR;HOME;ENCODING=QUOTED-PRINTABLE;CHARSET=UTF-8:;;Stra=C3=9Fe 1=0D=0A=\r\n"
                            "Hof;Berlin\r\n"
                            "LABEL;QUOTED-PRINTABLE:a=3Db=\r\n"
                            "=\r\n"
                            "c\r\n"
                            "END:VCARD\r\n";
    const std::vector<ContentLine> lines = parse(card);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[2].value, QStringLiteral("two words"));
    EXPECT_EQ(describeHead(lines[3]), QStringLiteral("ADR;TYPE=HOME"));
    EXPECT_EQ(lines[3].value, QStringLiteral(";;Straße 1\r\nHof;Berlin"));
    EXPECT_EQ(describeHead(lines[4]), QStringLiteral("LABEL"));
    EXPECT_EQ(lines[4].value, QStringLiteral("a=bc"));
    EXPECT_EQ(lines[5].name, QStringLiteral("END"));
}

TEST(ContentLine, CharsetsAndCodePages)
{
    const std::vector<ContentLine> lines = parse(
        "N;CHARSET=ISO-8859-1:M\xFCller\r\n"
        "FN;CHARSET=GBK;ENCODING=QUOTED-PRINTABLE:=D6=D0=CE=C4\r\n"
        "NOTE:\xE2\x82\xAC\r\n");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].value, QStringLiteral("Müller"));
    EXPECT_TRUE(lines[0].params.empty());
    EXPECT_EQ(lines[1].value, QStringLiteral("中文"));
    EXPECT_TRUE(lines[1].params.empty());
    EXPECT_EQ(lines[2].value, QStringLiteral("€"));
}

TEST(ContentLine, VersionFourCaretsAndUtf16Files)
{
    const std::vector<ContentLine> four = parse(
        "BEGIN:VCARD\r\nVERSION:4.0\r\nADR;LABEL=\"Main St.^nBerlin ^'HQ^' ^^1\":;;Main St.;Berlin;;;\r\nEND:VCARD\r\n");
    ASSERT_EQ(four.size(), 4u);
    // Decoded whole: 4.0 can write the line break and the quotes again.
    EXPECT_EQ(four[2].Param(u"label")->values, QStringList{QStringLiteral("Main St.\nBerlin \"HQ\" ^1")});

    QByteArray utf16("\xFF\xFE");
    const QString text = QStringLiteral("FN:Jos\u00e9\r\n");
    utf16.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    const std::vector<ContentLine> lines = parse(utf16);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].value, QStringLiteral("José"));
}

TEST(ContentLine, FormatFoldsAtSeventyFiveOctetsWithoutSplittingCharacters)
{
    ContentLine line;
    line.name = QStringLiteral("NOTE");
    line.value = QString(60, u'中') + QStringLiteral("tail");
    const QByteArray out = pim::FormatContentLine(line);
    ASSERT_TRUE(out.endsWith("\r\n"));
    const QList<QByteArray> physical = out.left(out.size() - 2).split('\n');
    ASSERT_GT(physical.size(), 2);
    for (qsizetype i = 0; i < physical.size(); ++i) {
        QByteArray part = physical[i];
        if (part.endsWith('\r'))
            part.chop(1);
        EXPECT_LE(part.size(), 75) << i;
        if (i > 0) {
            EXPECT_TRUE(part.startsWith(' '));
            EXPECT_NE(static_cast<unsigned char>(part[1]) & 0xC0, 0x80) << "continuation starts inside a character";
        }
    }
    const std::vector<ContentLine> back = parse(out);
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].value, line.value);
}

TEST(ContentLine, FormatQuotesParameterValuesThatNeedIt)
{
    ContentLine line;
    line.group = QStringLiteral("item2");
    line.name = QStringLiteral("X-LABEL");
    line.params.push_back({QStringLiteral("TYPE"), {QStringLiteral("WORK"), QStringLiteral("VOICE")}});
    line.params.push_back({QStringLiteral("X-A"), {QStringLiteral("a:b"), QStringLiteral("say \"hi\"")}});
    line.value = QStringLiteral("one\r\ntwo\nthree");
    EXPECT_EQ(pim::FormatContentLine(line),
              QByteArray("item2.X-LABEL;TYPE=WORK,VOICE;X-A=\"a:b\",say 'hi':one\\ntwo\\nthree\r\n"));
}

// What a version's writer writes reads back as the same line, groups and parameters included;
// each version in its own spelling.
TEST(ContentLine, EachVersionWritesWhatItReadsBack)
{
    ContentLine label;
    label.group = QStringLiteral("item1");
    label.name = QStringLiteral("ADR");
    label.params.push_back({QStringLiteral("TYPE"), {QStringLiteral("WORK"), QStringLiteral("PREF")}});
    label.params.push_back({QStringLiteral("LABEL"), {QStringLiteral("Hof 1\nBerlin \"HQ\" ^2")}});
    label.value = QStringLiteral(";;Hof 1;Berlin;;;");
    ContentLine note;
    note.name = QStringLiteral("NOTE");
    note.value = QStringLiteral("Stra\u00dfe\\, Hof\\nzwei");
    const struct {
        const char* what;
        CardVersion version;
        const ContentLine& line;
        QByteArray written;
        QString label; // read back; empty: the value is compared
    } cases[] = {
        {"4.0 carets", CardVersion::V40, label,
         "item1.ADR;TYPE=WORK,PREF;LABEL=Hof 1^nBerlin ^'HQ^' ^^2:;;Hof 1;Berlin;;;\r\n",
         QStringLiteral("Hof 1\nBerlin \"HQ\" ^2")},
        {"3.0 blanks", CardVersion::V30, label,
         "item1.ADR;TYPE=WORK,PREF;LABEL=Hof 1 Berlin 'HQ' ^2:;;Hof 1;Berlin;;;\r\n",
         QStringLiteral("Hof 1 Berlin 'HQ' ^2")},
        {"2.1 bare types", CardVersion::V21, label,
         "item1.ADR;WORK;PREF;LABEL=Hof 1 Berlin 'HQ' ^2:;;Hof 1;Berlin;;;\r\n",
         QStringLiteral("Hof 1 Berlin 'HQ' ^2")},
        {"2.1 quoted-printable", CardVersion::V21, note,
         "NOTE;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:Stra=C3=9Fe, Hof=0D=0Azwei\r\n", {}},
        {"3.0 escapes", CardVersion::V30, note, "NOTE:Stra\xC3\x9F" "e\\, Hof\\nzwei\r\n", {}},
    };
    const QByteArray versions[] = {"2.1", "3.0", "4.0"};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const QByteArray written = pim::FormatContentLine(c.line, c.version);
        EXPECT_EQ(written.toStdString(), c.written.toStdString());
        const std::vector<ContentLine> back = parse(
            "BEGIN:VCARD\r\nVERSION:" + versions[int(c.version)] + "\r\n" + written + "END:VCARD\r\n");
        ASSERT_EQ(back.size(), 4u);
        EXPECT_EQ(back[2].group, c.line.group);
        if (c.label.isEmpty()) {
            // 2.1 writes a real line break (CR LF), the others "\n".
            EXPECT_EQ(pim::UnescapeText(back[2].value).replace(QStringLiteral("\r\n"), QStringLiteral("\n")),
                      pim::UnescapeText(c.line.value))
                << back[2].value.toStdString();
        } else {
            EXPECT_EQ(back[2].value, c.line.value);
            EXPECT_EQ(back[2].Param(u"LABEL")->values, QStringList{c.label});
            EXPECT_EQ(back[2].Param(u"TYPE")->values, (QStringList{QStringLiteral("WORK"), QStringLiteral("PREF")}));
        }
    }
}

TEST(ContentLine, TextEscaping)
{
    const struct {
        const char* text;
        const char* escaped;
    } cases[] = {
        {"plain", "plain"},
        {"a,b;c\\d", "a\\,b\\;c\\\\d"},
        {"one\ntwo", "one\\ntwo"},
        {"one\r\ntwo\rthree", "one\\ntwo\\nthree"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(pim::EscapeText(QString::fromUtf8(c.text)), QString::fromUtf8(c.escaped));
    }
    EXPECT_EQ(pim::UnescapeText(u"a\\,b\\;c\\\\d\\nX\\NY"), QStringLiteral("a,b;c\\d\nX\nY"));
    // Unknown escapes and a trailing backslash are kept as written.
    EXPECT_EQ(pim::UnescapeText(u"C:\\temp\\"), QStringLiteral("C:\\temp\\"));
    EXPECT_EQ(pim::SplitEscaped(u"Doe\\;Smith;Jane;;Dr.\\\\;", u';'),
              (QStringList{QStringLiteral("Doe\\;Smith"), QStringLiteral("Jane"), QString(),
                           QStringLiteral("Dr.\\\\"), QString()}));
}

} // namespace
