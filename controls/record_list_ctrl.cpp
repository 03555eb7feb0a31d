#include "controls/record_list_ctrl.h"

#include "controls/grid_line_delegate.h"
#include "controls/image_strip.h"
#include "controls/record_header_ctrl.h"
#include "platform/atoi.h"
#include "platform/ui_services.h"

#include <QMouseEvent>
#include <QPainter>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionViewItem>

#include <algorithm>
#include <limits>

namespace recordsort {

namespace {

QString withoutChars(QStringView text, QStringView drop)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (!drop.contains(c))
            out += c;
    }
    return out;
}

// The digits that atoi would read (after blanks, with no sign left), without leading zeros.
QString leadingNumber(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && (text[i] == u' ' || (text[i] >= u'\t' && text[i] <= u'\r')))
        ++i;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        ++i;
    while (i < text.size() && text[i] == u'0')
        ++i;
    const qsizetype start = i;
    while (i < text.size() && text[i] >= u'0' && text[i] <= u'9')
        ++i;
    return text.mid(start, i - start).toString();
}

QStringView field(const QList<QStringView>& parts, int i)
{
    return i < parts.size() ? parts[i] : QStringView();
}

} // namespace

bool IsSortable(int kind)
{
    return kind >= Text && kind <= Digits;
}

Key MakeKey(int kind, QStringView cell)
{
    Key key;
    key.kind = kind;
    switch (kind) {
    case Text:
        key.text = cell.toString().toLower();
        break;
    case Number:
        key.number = platform::Atoi(cell);
        break;
    case Date: {
        // Day/month/year; a time ("08:30") has no slashes and keys by its digits.
        const QString compact = withoutChars(cell, u" -:");
        const QList<QStringView> parts = QStringView(compact).split(u'/');
        const int day = platform::Atoi(field(parts, 0));
        const int month = platform::Atoi(field(parts, 1));
        const int year = platform::Atoi(field(parts, 2));
        key.text = leadingNumber(QString::asprintf("%d%02d%02d", year, month, day));
        break;
    }
    case Digits:
        key.text = leadingNumber(withoutChars(cell, u" -*pP+#"));
        break;
    default:
        break;
    }
    return key;
}

int CompareDigitStrings(QStringView a, QStringView b)
{
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    const int c = a.compare(b);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

qint64 MomentKey(const QDate& date, const QTime& time)
{
    if (!date.isValid())
        return std::numeric_limits<qint64>::min();
    const qint64 seconds = time.isValid() ? time.msecsSinceStartOfDay() / 1000 : 0;
    return date.toJulianDay() * 86400 + seconds;
}

bool Less(const Key& a, const Key& b)
{
    switch (a.kind) {
    case Number:
        return a.number < b.number;
    case Date:
    case Digits:
        return CompareDigitStrings(a.text, b.text) < 0;
    default:
        return a.text.compare(b.text) < 0;
    }
}

} // namespace recordsort

namespace {

constexpr int kDataRole = Qt::UserRole;
constexpr int kImageRole = Qt::UserRole + 1;
constexpr int kSortKeyRole = Qt::UserRole + 2;
constexpr int kCheckSeenRole = Qt::UserRole + 3; // the check state last told
constexpr int kImageSize = 16;

int digitsOf(int number)
{
    return int(QString::number(number).size());
}

// A row that carries its sort key while the list sorts.
class RecordItem final : public QTreeWidgetItem {
public:
    RecordItem() : QTreeWidgetItem(UserType) {}

    bool operator<(const QTreeWidgetItem& other) const override
    {
        if (other.type() != UserType)
            return QTreeWidgetItem::operator<(other);
        return recordsort::Less(key, static_cast<const RecordItem&>(other).key);
    }

    recordsort::Key key;
};


} // namespace

CRecordListCtrl::CRecordListCtrl(QWidget* parent) : QTreeWidget(parent), m_header(new CRecordHeaderCtrl(this))
{
    setHeader(m_header);
    m_header->setSectionsClickable(true);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setIconSize(QSize(kImageSize, kImageSize));
    setColumnCount(0);
    connect(m_header, &QHeaderView::sectionClicked, this, &CRecordListCtrl::OnColumnClick);
    // Any change of column 0 (a new number, a sort) says itemChanged; only a new check state
    // is told on.
    connect(this, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int column) {
        if (column != 0 || !m_bCheckBoxes)
            return;
        const int state = int(item->checkState(0));
        if (item->data(0, kCheckSeenRole).toInt() == state)
            return;
        item->setData(0, kCheckSeenRole, state);
        emit checkChanged(indexOfTopLevelItem(item));
    });
}

CRecordListCtrl::~CRecordListCtrl() = default;

void CRecordListCtrl::SetColumns(const QString& descriptor, bool checkBoxes)
{
    clear();
    m_types.clear();
    // Even items are titles, odd items the type of the column before; an odd count leaves the
    // last column without a type, and so unsorted.
    const QStringList items = descriptor.split(u',');
    QStringList titles;
    for (int i = 0; i < items.size(); ++i) {
        if (i % 2 == 0)
            titles.append(items[i]);
        else
            m_types.append(platform::Atoi(items[i]));
    }
    setColumnCount(int(titles.size()));
    setHeaderLabels(titles);
    for (int c = 0; c < titles.size(); ++c) {
        headerItem()->setTextAlignment(c, Qt::AlignLeft | Qt::AlignVCenter);
        m_header->resizeSection(c, c == 0 && m_bNumberedRows ? 60 : 100);
    }
    m_nColumns = int(items.size() / 2);
    m_nNumberDigits = kLeastNumberDigits;
    SetListStyle(checkBoxes);
}

void CRecordListCtrl::SetListStyle(bool checkBoxes)
{
    // Styles only add up, as extended list styles do.
    if (!m_bGridLines) {
        m_bGridLines = true;
        setItemDelegate(new GridLineDelegate(this));
    }
    if (checkBoxes && !m_bCheckBoxes) {
        m_bCheckBoxes = true;
        for (int row = 0; row < topLevelItemCount(); ++row)
            topLevelItem(row)->setCheckState(0, Qt::Unchecked);
    }
    m_images = LoadImageStrip(kImageStrip, kImageSize);
    FitColumns();
}

int CRecordListCtrl::NumberCellWidth(int digits) const
{
    // Measured as the view lays out the cell: check box, image, text and the style's margins.
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.features = QStyleOptionViewItem::HasDisplay | QStyleOptionViewItem::HasDecoration;
    if (m_bCheckBoxes)
        option.features |= QStyleOptionViewItem::HasCheckIndicator;
    option.decorationSize = iconSize();
    QChar widest = u'0';
    for (char16_t digit = u'1'; digit <= u'9'; ++digit) {
        if (option.fontMetrics.horizontalAdvance(QChar(digit)) > option.fontMetrics.horizontalAdvance(widest))
            widest = QChar(digit);
    }
    option.text = QString(digits, widest);
    return style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), this).width();
}

void CRecordListCtrl::FitColumns()
{
    for (int column = 0; column < m_header->count(); ++column) {
        int least = m_header->TitleWidth(column);
        if (column == 0 && m_bNumberedRows)
            least = std::max(least, NumberCellWidth(m_nNumberDigits));
        if (m_header->sectionSize(column) < least)
            m_header->resizeSection(column, least);
    }
}

void CRecordListCtrl::changeEvent(QEvent* event)
{
    QTreeWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        FitColumns();
}

void CRecordListCtrl::setRowImage(QTreeWidgetItem* item, int image)
{
    image = image < 0 ? 0 : image;
    item->setData(0, kImageRole, image);
    item->setIcon(0, image < m_images.size() ? m_images[image] : QIcon());
}

void CRecordListCtrl::setRowCells(QTreeWidgetItem* item, int number, const QStringList& cells, int image)
{
    if (!m_bNumberedRows) {
        for (int j = 0; j < cells.size() && j < columnCount(); ++j)
            item->setText(j, cells[j]);
        return;
    }
    if (!m_kindImages.isEmpty())
        image = image >= 0 && image < m_kindImages.size() ? m_kindImages[image] : 0;
    item->setText(0, QString::number(number));
    setRowImage(item, image);
    for (int j = 0; j < cells.size() && j + 1 < columnCount(); ++j)
        item->setText(j + 1, cells[j]);
}

int CRecordListCtrl::SetRow(int row, const QString& first, const QStringList& cells)
{
    QTreeWidgetItem* item = topLevelItem(row);
    if (!item)
        return -1;
    const int offset = m_bNumberedRows ? 1 : 0;
    if (m_bNumberedRows)
        item->setText(0, first);
    for (int j = 0; j < cells.size() && j + offset < columnCount(); ++j)
        item->setText(j + offset, cells[j]);
    return row;
}

void CRecordListCtrl::SetSortKey(int row, int column, qint64 key)
{
    if (QTreeWidgetItem* item = topLevelItem(row); item && column >= 0 && column < columnCount())
        item->setData(column, kSortKeyRole, key);
}

void CRecordListCtrl::Renumber()
{
    for (int row = 0; row < topLevelItemCount(); ++row)
        topLevelItem(row)->setText(0, QString::number(row + 1));
}

int CRecordListCtrl::AddRow(const QStringList& cells, int image)
{
    auto* item = new RecordItem;
    item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    setRowCells(item, topLevelItemCount() + 1, cells, image);
    if (m_bCheckBoxes)
        item->setCheckState(0, Qt::Unchecked);
    addTopLevelItem(item);
    if (m_bNumberedRows && digitsOf(topLevelItemCount()) > m_nNumberDigits) {
        m_nNumberDigits = digitsOf(topLevelItemCount());
        FitColumns();
    }
    return topLevelItemCount() - 1;
}

int CRecordListCtrl::SetRow(int row, const QStringList& cells, int image)
{
    QTreeWidgetItem* item = topLevelItem(row);
    if (!item)
        return -1;
    setRowCells(item, row + 1, cells, image);
    return row;
}

int CRecordListCtrl::GetSelectedIndex() const
{
    for (int row = 0; row < topLevelItemCount(); ++row) {
        if (topLevelItem(row)->isSelected())
            return row;
    }
    return -1;
}

void CRecordListCtrl::OnColumnClick(int column)
{
    // The first click sorts descending; every click flips the direction, whatever the column.
    SortColumn(column, !m_bAscending);
    emit columnClicked(column);
}

void CRecordListCtrl::mouseReleaseEvent(QMouseEvent* event)
{
    QTreeWidget::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton)
        emit listClicked();
}

void CRecordListCtrl::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTreeWidget::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        emit listDoubleClicked();
}

void CRecordListCtrl::SortColumn(int column, bool ascending)
{
    m_bAscending = ascending;
    m_header->SetSortMark(column, ascending);
    if (column < 0 || column >= m_types.size() || column >= m_header->count())
        return;
    const int kind = m_types[column];
    if (!recordsort::IsSortable(kind))
        return;

    platform::UiServices& ui = platform::UiServices::instance();
    ui.beginWaitCursor();
    const bool kinds = !m_kindImages.isEmpty() && m_bNumberedRows;
    for (int row = 0; row < topLevelItemCount(); ++row) {
        QTreeWidgetItem* item = topLevelItem(row);
        if (item->type() != QTreeWidgetItem::UserType)
            continue;
        recordsort::Key& key = static_cast<RecordItem*>(item)->key;
        const QVariant own = item->data(column, kSortKeyRole);
        if (kinds && column == 0) {
            // The number column groups the rows by their kind.
            key = recordsort::Key{recordsort::Number, {}, item->data(0, kImageRole).toInt()};
        } else if (kind == recordsort::Date && own.isValid()) {
            key = recordsort::Key{recordsort::Number, {}, own.toLongLong()};
        } else {
            key = recordsort::MakeKey(kind, item->text(column));
        }
    }
    // The model sorts stably, so rows with equal keys keep their order; selection, check
    // state, image and item data move with their rows.
    sortItems(column, ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
    if (kinds)
        Renumber();
    ui.endWaitCursor();
}

QString CRecordListCtrl::GetItemText(int row, int column) const
{
    const QTreeWidgetItem* item = topLevelItem(row);
    return item ? item->text(column) : QString();
}

bool CRecordListCtrl::SetItemText(int row, int column, const QString& text)
{
    QTreeWidgetItem* item = topLevelItem(row);
    if (!item || column < 0 || column >= columnCount())
        return false;
    item->setText(column, text);
    return true;
}

quintptr CRecordListCtrl::GetItemData(int row) const
{
    const QTreeWidgetItem* item = topLevelItem(row);
    return item ? item->data(0, kDataRole).value<quintptr>() : 0;
}

bool CRecordListCtrl::SetItemData(int row, quintptr data)
{
    QTreeWidgetItem* item = topLevelItem(row);
    if (!item)
        return false;
    item->setData(0, kDataRole, QVariant::fromValue(data));
    return true;
}

int CRecordListCtrl::GetItemImage(int row) const
{
    const QTreeWidgetItem* item = topLevelItem(row);
    return item ? item->data(0, kImageRole).toInt() : -1;
}

bool CRecordListCtrl::GetCheck(int row) const
{
    const QTreeWidgetItem* item = topLevelItem(row);
    return item && item->checkState(0) == Qt::Checked;
}

bool CRecordListCtrl::SetCheck(int row, bool checked)
{
    QTreeWidgetItem* item = topLevelItem(row);
    if (!item || !m_bCheckBoxes)
        return false;
    item->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
    return true;
}

void CRecordListCtrl::SetCheckAll(bool checked)
{
    if (!m_bCheckBoxes)
        return;
    const Qt::CheckState state = checked ? Qt::Checked : Qt::Unchecked;
    {
        const QSignalBlocker quiet(this);
        for (int row = 0; row < topLevelItemCount(); ++row) {
            QTreeWidgetItem* item = topLevelItem(row);
            item->setCheckState(0, state);
            item->setData(0, kCheckSeenRole, int(state));
        }
    }
    viewport()->update();
    emit checkChanged(-1);
}

bool CRecordListCtrl::IsSelected(int row) const
{
    const QTreeWidgetItem* item = topLevelItem(row);
    return item && item->isSelected();
}

void CRecordListCtrl::SetSelected(int row, bool selected)
{
    if (QTreeWidgetItem* item = topLevelItem(row))
        item->setSelected(selected);
}

int CRecordListCtrl::GetSelectedCount() const
{
    int count = 0;
    for (int row = 0; row < topLevelItemCount(); ++row)
        count += topLevelItem(row)->isSelected() ? 1 : 0;
    return count;
}
