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
        {"h\n\"x\ny\",z\n", {"h", "\"x", "y\",z"}},
        // Line breaks inside quotes only when the row then has as many cells as the header.
        {"h\r\n\"x\r\ny\",z", {"h", "\"x", "y\",z"}},
        {"h\r\n\"unbalanced\r\nrow", {"h", "\"unbalanced", "row"}},
        {"h\r\n\"a\r\nb\"c\r\n", {"h", "\"a", "b\"c"}},
    };
    for (const auto& l : lines)
        EXPECT_EQ(csv::SplitLines(QString::fromUtf8(l.text)), l.lines) << l.text;
}

} // namespace
