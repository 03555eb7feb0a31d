#pragma once

#include "platform/colorref.h"

#include <QIcon>
#include <QList>
#include <QTreeWidget>

#include <vector>

// The list beside a record list that shows the fields of one record, a row per field: an
// image and a label in the first column, the value in the second. It takes no input.
class CDetailListCtrl : public QTreeWidget {
    Q_OBJECT
public:
    struct Row {
        int image = -1; // index into the image strip; negative: none
        QString label;
        QString value;
    };

    explicit CDetailListCtrl(QWidget* parent = nullptr);

    // The images (a strip of 16 x 16 images, magenta transparent), the background colour of
    // the list and its cells, and the two column widths. The label column grows where the
    // font needs more for a label and its image.
    void SetUp(const QString& imageStrip, COLORREF background, int labelWidth = 110, int valueWidth = 1000);
    void SetRows(const std::vector<Row>& rows);
    void DeleteAllItems() { clear(); }

    int GetImageCount() const { return int(m_images.size()); }
    COLORREF GetBackground() const { return m_crBackground; }
    // The label and value of a row, empty when there is no such row.
    QString GetLabel(int row) const;
    QString GetValue(int row) const;

protected:
    void changeEvent(QEvent* event) override;

private:
    // The label column: its set width, or what its widest label needs.
    void FitLabels();

    QList<QIcon> m_images;
    int m_nLabelWidth = 110;
    COLORREF m_crBackground = 0xFFFFFF;
};
