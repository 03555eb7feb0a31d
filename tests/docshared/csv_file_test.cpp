// The CSV form both documents read and write: cells and rows of original and quoted files.
#include "docshared/csv_file.h"

#include <gtest/gtest.h>

namespace {

TEST(CsvCells, SplittingRules)
{
    const struct {
        const char* line;
        QStringList cells;
    } cells[] = {
        {"  a,\"b,c\",\"\"\"d\"\"\",e\"f  \r\n", {"a", "b,c", "d", "ef"}},
        {"\"open,never closed", {"open", "never closed"}},
        {"\"a\"b,c", {"ab", "c"}}, // a quote inside a value ends no cell
        {"x,\"a,b\" ", {"x", "a,b"}},
        {"\"\",\"\"", {"", ""}},
        {"a,", {"a", ""}},
    };
    for (const auto& c : cells)
        EXPECT_EQ(csv::SplitCells(QString::fromUtf8(c.line)), c.cells) << c.line;

    const struct {
        const char* text;
        QStringList lines;
    } lines[] = {
        {"h,c\r\n\r\n\"x\r\ny\",z\r\nlast", {"h,c", "\"x\r\ny\",z", "last"}},
        // LF and CR end rows as CR LF does.
        {"h,c\n\n\"x\ny\",z\rlast\n", {"h,c", "\"x\ny\",z", "last"}},
        // A quoted cell keeps its line breaks whatever the number of cells in its row.
        {"h\n\"x\ny\",z\n", {"h", "\"x\ny\",z"}},
        {"h\r\n\"x\r\ny\",z", {"h", "\"x\r\ny\",z"}},
        {"Name,Mobile,Home,Office,Email,Memo,Group\n\"Two\nLines\",0170 7\nNext,1\n",
         {"Name,Mobile,Home,Office,Email,Memo,Group", "\"Two\nLines\",0170 7", "Next,1"}},
        {"a,b,c\r\nx,\"1\r\n2\"\r\n", {"a,b,c", "x,\"1\r\n2\""}},
        // A quote that no lone quote before a comma or a row end closes opens no cell.
        {"h\r\n\"unbalanced\r\nrow", {"h", "\"unbalanced", "row"}},
        {"h\r\n\"a\r\nb\"c\r\n", {"h", "\"a", "b\"c"}},
        {"h,m\r\n\"call back,x\r\nBob,\"\"\"0456\"\"\"\r\n", {"h,m", "\"call back,x", "Bob,\"\"\"0456\"\"\""}},
    };
    for (const auto& l : lines)
        EXPECT_EQ(csv::SplitLines(QString::fromUtf8(l.text)), l.lines) << l.text;
}

// Each row is decoded on its own: UTF-8 where it is valid UTF-8, else the legacy code page.
TEST(CsvDecoding, EachRowInItsOwnEncoding)
{
    const struct {
        const char* codepage;
        QByteArray bytes;
        const char* text; // UTF-8
    } files[] = {
        // One Latin-1 byte in the last row leaves the UTF-8 rows alone.
        {"CP1252", "Name\nJ\xc3\xbcrgen M\xc3\xbcller\n\xe7\x8e\x8b\xe5\xb0\x8f\xe6\x98\x8e\nHans M\xfcller\n",
         "Name\nJürgen Müller\n王小明\nHans Müller\n"},
        {"CP1252", "\xef\xbb\xbfName\r\nM\xfcller\r\nJ\xc3\xbcrgen\r\n", "Name\r\nMüller\r\nJürgen\r\n"},
        {"CP1252", "Name\rM\xfcller\rJ\xc3\xbcrgen", "Name\rMüller\rJürgen"},
        {"CP1252", "Name\nM\xfcller\nG\xe4rtner\n", "Name\nMüller\nGärtner\n"},
        {"GBK", "Name\nJ\xc3\xbcrgen\n\xcd\xf5\xd0\xa1\xc3\xf7\n", "Name\nJürgen\n王小明\n"},
        {"GBK", "Name\n\xe7\x8e\x8b\xe5\xb0\x8f\xe6\x98\x8e\n", "Name\n王小明\n"},
    };
    for (const auto& file : files) {
        qputenv("DESKHAND_CODEPAGE", file.codepage);
        EXPECT_EQ(csv::DecodeFile(file.bytes), QString::fromUtf8(file.text)) << file.bytes.toStdString();
    }
    qunsetenv("DESKHAND_CODEPAGE");
}

} // namespace
