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

    // The narrowest section that shows the column's title whole, whether the style draws it
    // or DrawItem does with the sort mark beside it.
    int TitleWidth(int logicalIndex) const;
    // The title as DrawItem shows it in the section now: cut with an ellipsis where it does
    // not fit.
    QString ShownTitle(int logicalIndex) const;

    // Storing: the column count, then each width. Loading: the widths are applied only when
    // the stored count equals the current one; otherwise the archive stays after the count.
    virtual void Serialize(CArchive& ar);

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

    virtual void DrawItem(QPainter* painter, const QRect& rect, int logicalIndex) const;

private:
    QString Title(int logicalIndex) const;
    // The width DrawItem leaves for the title in a section: a quarter of the height off
    // either side, and three quarters more beside the sort mark.
    int TitleRoom(int width, int height, int logicalIndex) const;
    // The title cut with an ellipsis to the room.
    QString FittedTitle(const QString& title, int room) const;
    // The height the list gives its header.
    int ItemHeight() const;

    int m_nSortColumn = -1;
    int m_nAscending = 1;
    QSet<int> m_ownerDrawn;
    int m_nPressed = -1;
};
