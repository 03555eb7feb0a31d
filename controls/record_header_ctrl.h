#pragma once

#include <QHeaderView>
#include <QSet>

class CArchive;

// The header of a record list: draws a sort triangle in the sorted column and stores the
// column widths in the archive. Columns that were ever marked are drawn by DrawItem; the
// others keep the style's look.
class CRecordHeaderCtrl : public QHeaderView {
    Q_OBJECT
public:
    explicit CRecordHeaderCtrl(QWidget* parent = nullptr);

    void SetSortMark(int column, bool ascending);
    int GetSortColumn() const { return m_nSortColumn; }
    bool IsAscending() const { return m_nAscending != 0; }

    // Storing: the column count, then each width. Loading: the widths are applied only when
    // the stored count equals the current one; otherwise the archive stays after the count.
    virtual void Serialize(CArchive& ar);

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

    virtual void DrawItem(QPainter* painter, const QRect& rect, int logicalIndex) const;

private:
    int m_nSortColumn = -1;
    int m_nAscending = 1;
    QSet<int> m_ownerDrawn;
    int m_nPressed = -1;
};
