#include "controls/record_header_ctrl.h"
#include "controls/record_list_ctrl.h"
#include "platform/archive.h"
#include "support/recording_ui_services.h"

#include <QImage>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

QStringList columnTexts(const CRecordListCtrl& list, int column)
{
    QStringList texts;
    for (int row = 0; row < list.GetItemCount(); ++row)
        texts << list.GetItemText(row, column);
    return texts;
}

void clickHeader(CRecordListCtrl& list, int column)
{
    QHeaderView* header = list.header();
    const QPoint at(header->sectionViewportPosition(column) + 5, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
}

// Rows whose single cell is the text; the item data is the row's original position + 1.
void fill(CRecordListCtrl& list, const QStringList& cells)
{
    for (int i = 0; i < cells.size(); ++i) {
        const int row = list.AddRow({cells[i]}, 0);
        list.SetItemData(row, quintptr(i + 1));
    }
}

TEST(RecordListColumns, DescriptorGrammar)
{
    struct Case {
        QString descriptor;
        int headerItems;
        QList<int> types;
        int columnCount;
    };
    const Case cases[] = {
        {"No,1,Name,0,Mobile Num,0,Home Num,0,Office Num,0,E-mail,0,Group,0,Memo,0", 8, {1, 0, 0, 0, 0, 0, 0, 0}, 8},
        {"No,1,Subject,0,Date,2,Time,2,Repeat,0,Alarm,0", 6, {1, 0, 2, 2, 0, 0}, 6},
        {"No,0,Name,0,Mobile Num,3", 3, {0, 0, 3}, 3},
        // An odd item count makes both columns but types only the first.
        {"No,1,Name", 2, {1}, 1},
        // A type that is not a number reads as 0, as atoi does.
        {"No,x,Name,4", 2, {0, 4}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.descriptor.toStdString());
        CRecordListCtrl list;
        list.SetColumns(c.descriptor, false);
        EXPECT_EQ(list.header()->count(), c.headerItems);
        EXPECT_EQ(list.GetColumnTypes(), c.types);
        EXPECT_EQ(list.GetColumnCount(), c.columnCount);
        EXPECT_EQ(list.header()->sectionSize(0), 60);
        for (int col = 1; col < c.headerItems; ++col)
            EXPECT_EQ(list.header()->sectionSize(col), 100);
        EXPECT_EQ(list.headerItem()->text(0), c.descriptor.section(u',', 0, 0));
    }
}

TEST(RecordListColumns, RowsNumberedWithImagesAndCheckBoxes)
{
    CRecordListCtrl list;
    list.SetColumns("No,1,Name,0,Mobile Num,3", true);
    EXPECT_TRUE(list.HasCheckBoxes());
    EXPECT_EQ(list.GetImageCount(), 4); // the strip of four 16 x 16 images

    EXPECT_EQ(list.AddRow({"Ann", "123"}, -5), 0);
    EXPECT_EQ(list.AddRow({"Bob", "456", "ignored"}, 2), 1);
    EXPECT_EQ(columnTexts(list, 0), QStringList({"1", "2"}));
    EXPECT_EQ(list.GetItemText(1, 1), "Bob");
    EXPECT_EQ(list.GetItemText(1, 2), "456");
    EXPECT_EQ(list.GetItemImage(0), 0);
    EXPECT_EQ(list.GetItemImage(1), 2);
    EXPECT_FALSE(list.GetCheck(0));
    EXPECT_TRUE(list.SetCheck(1, true));
    EXPECT_TRUE(list.GetCheck(1));

    EXPECT_EQ(list.SetRow(0, {"Cid", "789"}, 1), 0);
    EXPECT_EQ(list.GetItemText(0, 0), "1");
    EXPECT_EQ(list.GetItemText(0, 1), "Cid");
    EXPECT_EQ(list.GetItemImage(0), 1);
    EXPECT_EQ(list.SetRow(7, {"x"}, 0), -1);
}

TEST(RecordListColumns, SelectedIndexIsTheFirstSelectedRow)
{
    CRecordListCtrl list;
    list.SetColumns("No,1,Name,0", false);
    fill(list, {"a", "b", "c", "d", "e"});
    EXPECT_EQ(list.GetSelectedIndex(), -1);
    list.SetSelected(4, true);
    list.SetSelected(2, true);
    EXPECT_EQ(list.GetSelectedIndex(), 2);
    EXPECT_EQ(list.GetSelectedCount(), 2);
}

TEST(RecordSortKeys, KeysCompareByTheirKind)
{
    using recordsort::MakeKey;
    struct Case {
        int kind;
        QString a;
        QString b;
        int expected; // -1 a before b, 0 equal, 1 after
    };
    const Case cases[] = {
        {recordsort::Text, "apple", "Banana", -1},
        {recordsort::Text, "ZED", "zed", 0},
        {recordsort::Number, "9", "10", -1},
        {recordsort::Number, "-3", "2", -1},
        {recordsort::Number, "12abc", "12", 0},
        // Dates: one- or two-digit day and month give the same key.
        {recordsort::Date, "1/2/2003", "01/02/2003", 0},
        {recordsort::Date, "25/12/2002", "1/1/2003", -1},
        {recordsort::Date, "31/1/2003", "1/2/2003", -1},
        {recordsort::Date, "25 / 12 / 2002", "25/12/2002", 0},
        {recordsort::Date, "08:30", "12:00", -1},
        {recordsort::Date, "9:05", "09:05", 0},
        // Digits: separators and dial characters do not count; length beats text.
        {recordsort::Digits, "+86 139-1234-5678", "8613912345678", 0},
        {recordsort::Digits, "99999999999", "100000000000", -1},
        {recordsort::Digits, "12345678901234567890", "12345678901234567891", -1},
        {recordsort::Digits, "0012", "12", 0},
        {recordsort::Digits, "*31#p5", "315", 0},
        {recordsort::Digits, "", "0", 0},
        {recordsort::Digits, "12ab99", "12", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.a + " vs " + c.b).toStdString());
        const auto ka = MakeKey(c.kind, c.a);
        const auto kb = MakeKey(c.kind, c.b);
        const int got = recordsort::Less(ka, kb) ? -1 : (recordsort::Less(kb, ka) ? 1 : 0);
        EXPECT_EQ(got, c.expected);
    }
    EXPECT_EQ(MakeKey(recordsort::Date, u"25/12/2002").text, "20021225");
    EXPECT_FALSE(recordsort::IsSortable(4));
    EXPECT_FALSE(recordsort::IsSortable(-1));
}

class RecordListSort : public ::testing::Test {
protected:
    void SetUp() override
    {
        list.resize(700, 300);
        list.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    }

    testsupport::ScopedRecordingUi ui;
    CRecordListCtrl list;
};

TEST_F(RecordListSort, FirstClickDescendsAndEveryClickFlips)
{
    list.SetColumns("No,1,Name,0,Mobile Num,3", false);
    fill(list, {"b", "c", "a"});

    clickHeader(list, 1);
    EXPECT_FALSE(list.IsAscending());
    EXPECT_EQ(columnTexts(list, 1), QStringList({"c", "b", "a"}));
    EXPECT_EQ(list.GetHeaderCtrl()->GetSortColumn(), 1);

    // The flag flips whatever the column.
    clickHeader(list, 0);
    EXPECT_TRUE(list.IsAscending());
    EXPECT_EQ(columnTexts(list, 0), QStringList({"1", "2", "3"}));

    clickHeader(list, 1);
    EXPECT_FALSE(list.IsAscending());
    clickHeader(list, 1);
    EXPECT_TRUE(list.IsAscending());
    EXPECT_EQ(columnTexts(list, 1), QStringList({"a", "b", "c"}));
    EXPECT_EQ(ui.ui.waitCursorDepth, 0);
    EXPECT_GT(ui.ui.waitCursorCount, 0);
}

TEST_F(RecordListSort, RowsKeepRecordReferencesNumbersAndChecks)
{
    list.SetColumns("No,1,Name,0,Mobile Num,3", true);
    const QStringList numbers = {"13800000000", "+8613912345678", "999", "0012345678901234"};
    for (int i = 0; i < numbers.size(); ++i) {
        const int row = list.AddRow({QString("n%1").arg(i), numbers[i]}, i % 3);
        list.SetItemData(row, quintptr(0x1000 + i));
    }
    list.SetCheck(1, true);
    list.SetSelected(3, true);

    list.SortColumn(2, true);
    EXPECT_EQ(columnTexts(list, 2),
              QStringList({"999", "13800000000", "+8613912345678", "0012345678901234"}));
    for (int row = 0; row < list.GetItemCount(); ++row) {
        const int original = list.GetItemText(row, 1).mid(1).toInt();
        EXPECT_EQ(list.GetItemData(row), quintptr(0x1000 + original));
        EXPECT_EQ(list.GetItemImage(row), original % 3);
        EXPECT_EQ(list.GetItemText(row, 0), QString::number(original + 1)); // not renumbered
        EXPECT_EQ(list.GetCheck(row), original == 1);
        EXPECT_EQ(list.IsSelected(row), original == 3);
    }
}

TEST_F(RecordListSort, EqualKeysKeepTheirOrderBothWays)
{
    list.SetColumns("No,1,Name,0", false);
    fill(list, {"x", "A", "x", "a", "X", "b"});
    const auto order = [&] {
        QList<quintptr> data;
        for (int row = 0; row < list.GetItemCount(); ++row)
            data << list.GetItemData(row);
        return data;
    };
    list.SortColumn(1, true);
    EXPECT_EQ(order(), QList<quintptr>({2, 4, 6, 1, 3, 5}));
    list.SortColumn(1, false);
    EXPECT_EQ(order(), QList<quintptr>({1, 3, 5, 6, 2, 4}));
}

TEST_F(RecordListSort, DatesSortByDayMonthYear)
{
    list.SetColumns("No,1,Date,2", false);
    fill(list, {"1/2/2003", "25/12/2002", "3/1/2003", "01/02/2003", "9/11/2002"});
    list.SortColumn(1, true);
    EXPECT_EQ(columnTexts(list, 1),
              QStringList({"9/11/2002", "25/12/2002", "3/1/2003", "1/2/2003", "01/02/2003"}));
}

TEST_F(RecordListSort, UnsortableColumnsMarkTheHeaderOnly)
{
    list.SetColumns("No,1,Phone num,4,Name", false);
    fill(list, {"3", "1", "2"});
    const QStringList before = columnTexts(list, 1);

    clickHeader(list, 1); // type 4
    EXPECT_EQ(list.GetHeaderCtrl()->GetSortColumn(), 1);
    EXPECT_FALSE(list.IsAscending());
    EXPECT_EQ(columnTexts(list, 1), before);

    clickHeader(list, 2); // no type at all
    EXPECT_EQ(list.GetHeaderCtrl()->GetSortColumn(), 2);
    EXPECT_TRUE(list.IsAscending());
    EXPECT_EQ(columnTexts(list, 1), before);
    EXPECT_EQ(ui.ui.waitCursorCount, 0);
}

TEST_F(RecordListSort, HeaderDrawsTheTriangleInTheSortedColumn)
{
    list.SetColumns("No,1,Name,0,Mobile Num,3", false);
    fill(list, {"a"});
    CRecordHeaderCtrl* header = list.GetHeaderCtrl();
    const QRgb light = header->palette().color(QPalette::Light).rgb();
    const QRgb dark = header->palette().color(QPalette::Dark).rgb();
    const QRgb face = header->palette().color(QPalette::Button).rgb();
    ASSERT_NE(light, face);
    ASSERT_NE(dark, face);

    const int h = header->height();
    const int o = h / 4;
    const auto right = [&](int col) { return header->sectionViewportPosition(col) + header->sectionSize(col); };
    const auto pixel = [](const QImage& image, int x, int y) { return image.pixel(x, y); };

    list.SortColumn(2, true);
    QImage image = header->grab().toImage();
    int R = right(2);
    // Apex up: the apex is lit, the row of the apex is otherwise the face.
    EXPECT_EQ(pixel(image, R - 2 * o, o), light);
    EXPECT_EQ(pixel(image, R - 3 * o, o), face);
    // The base line at the bottom is lit.
    EXPECT_EQ(pixel(image, R - 2 * o, h - o - 1), light);

    list.SortColumn(1, false);
    image = header->grab().toImage();
    R = right(1);
    // Apex down: the top edge is a shadow line.
    EXPECT_EQ(pixel(image, R - 2 * o - 1, o), dark);
    EXPECT_EQ(pixel(image, R - 3 * o, o), dark);
    // The column marked before is drawn by the header, now without a triangle.
    R = right(2);
    EXPECT_EQ(pixel(image, R - 2 * o, o), face);
    EXPECT_EQ(pixel(image, R - 2 * o, h - o - 1), face);
}

TEST_F(RecordListSort, ClicksAnywhereReachTheForm)
{
    list.SetColumns("No,1,Name,0", false);
    fill(list, {"a", "b"});
    QSignalSpy clicks(&list, &CRecordListCtrl::listClicked);
    QSignalSpy doubles(&list, &CRecordListCtrl::listDoubleClicked);
    const QPoint row = list.visualItemRect(list.topLevelItem(1)).center();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, row);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(list.GetSelectedIndex(), 1);

    // Below the last row: nothing is selected, and the form still hears the double click.
    const QPoint empty(20, list.viewport()->height() - 5);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, empty);
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, empty);
    EXPECT_EQ(doubles.count(), 1);
    EXPECT_EQ(list.GetSelectedIndex(), -1);
}

// The number column holds the widest row number the list reaches, with the check box and the
// row image, however long the list grows.
TEST(RecordListColumns, NumberColumnGrowsWithTheRows)
{
    CRecordListCtrl list;
    list.SetColumns("No,1,Name,0", true);
    const auto fits = [&list](int row) {
        return list.sizeHintForIndex(list.model()->index(row, 0)).width() <= list.header()->sectionSize(0);
    };
    for (int row = 0; row < 1000; ++row)
        list.AddRow({QStringLiteral("n")}, 1);
    EXPECT_EQ(list.GetItemText(999, 0), "1000");
    EXPECT_TRUE(fits(998));
    EXPECT_TRUE(fits(999));
}

TEST(RecordHeaderSerialize, WidthsRoundTripOnlyForTheSameColumnCount)
{
    CRecordListCtrl source;
    source.SetColumns("No,1,Name,0,Mobile Num,3", false);
    source.header()->resizeSection(1, 140);
    source.header()->resizeSection(2, 75);
    CArchive store;
    source.GetHeaderCtrl()->Serialize(store);
    EXPECT_EQ(store.Data().size(), 4 * 4);

    CRecordListCtrl same;
    same.SetColumns("No,1,Name,0,Mobile Num,3", false);
    CArchive load(store.Data());
    same.GetHeaderCtrl()->Serialize(load);
    EXPECT_TRUE(load.ok());
    EXPECT_EQ(same.header()->sectionSize(1), 140);
    EXPECT_EQ(same.header()->sectionSize(2), 75);

    CRecordListCtrl other;
    other.SetColumns("No,1,Memo,0", false);
    CArchive loadOther(store.Data());
    other.GetHeaderCtrl()->Serialize(loadOther);
    EXPECT_EQ(loadOther.BytesLeft(), 3 * 4); // stays right after the count
    EXPECT_EQ(other.header()->sectionSize(1), 100);

    // A stream cut inside the widths changes nothing.
    CRecordListCtrl cut;
    cut.SetColumns("No,1,Name,0,Mobile Num,3", false);
    CArchive loadCut(store.Data().left(10));
    cut.GetHeaderCtrl()->Serialize(loadCut);
    EXPECT_FALSE(loadCut.ok());
    EXPECT_EQ(cut.header()->sectionSize(1), 100);
}

// The variant with rows of kinds: kind images, a number column that groups by kind, numbers
// that run from the top after every sort, and dates sorted by the record's own key whatever
// the shown text says in the user's locale.
TEST(RecordListKinds, NumbersKindsAndOwnDateKeys)
{
    testsupport::ScopedRecordingUi ui;
    CRecordListCtrl list;
    list.SetKindImages({6, 4, 5});
    list.SetColumns(QStringLiteral("No,1,Name,0,Date,2"), true);
    // The same three dates as two locales show them; the keys are the records' own.
    const struct {
        const char* name;
        int kind;
        const char* us;
        const char* de;
        qint64 key;
    } rows[] = {
        {"b", 2, "1/2/24", "02.01.24", 20240102},
        {"a", 0, "12/31/23", "31.12.23", 20231231},
        {"c", 1, "1/10/24", "10.01.24", 20240110},
    };
    for (const bool german : {false, true}) {
        list.DeleteAllItems();
        for (const auto& row : rows) {
            const int at = list.AddRow({QString::fromUtf8(row.name), QString::fromUtf8(german ? row.de : row.us)}, row.kind);
            list.SetSortKey(at, 2, row.key);
        }
        EXPECT_EQ(list.GetItemImage(0), 5);
        EXPECT_EQ(list.GetItemImage(1), 6);
        list.SortColumn(2, true);
        EXPECT_EQ(columnTexts(list, 1), (QStringList{"a", "b", "c"})) << german;
        EXPECT_EQ(columnTexts(list, 0), (QStringList{"1", "2", "3"})) << german;
    }
    list.SortColumn(0, true); // by image: 4 handset, 5 SIM, 6 PC
    EXPECT_EQ(columnTexts(list, 1), (QStringList{"c", "b", "a"}));
    EXPECT_EQ(columnTexts(list, 0), (QStringList{"1", "2", "3"}));

    // Only a new check state is told, once for a whole-list change.
    QSignalSpy checks(&list, &CRecordListCtrl::checkChanged);
    list.SortColumn(1, false);
    EXPECT_EQ(checks.count(), 0);
    list.SetCheck(1, true);
    list.SetCheck(1, true);
    EXPECT_EQ(checks.count(), 1);
    list.SetCheckAll(false);
    EXPECT_EQ(checks.count(), 2);
    list.SetCheck(1, true);
    EXPECT_EQ(checks.count(), 3);

    // Without numbered rows the first cell is column 0 and no image is set.
    CRecordListCtrl plain;
    plain.SetNumberedRows(false);
    plain.SetColumns(QStringLiteral("Name,0,Mobile Num,3"), false);
    plain.AddRow({QStringLiteral("Ann"), QStringLiteral("0301")}, 0);
    EXPECT_EQ(plain.GetItemText(0, 0), QStringLiteral("Ann"));
    EXPECT_EQ(plain.GetItemText(0, 1), QStringLiteral("0301"));
    EXPECT_EQ(plain.header()->sectionSize(0), 100);
}

} // namespace
