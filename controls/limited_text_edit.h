#pragma once

#include <QPlainTextEdit>

// A multi-line edit with the system's length limit (see editlimit): LimitText bounds what the
// user types, pastes or drops; setPlainText and a lowered limit never cut the text.
class CLimitedTextEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit CLimitedTextEdit(QWidget* parent = nullptr);

    // 0 removes the limit.
    void LimitText(int limit);
    int GetLimitText() const { return m_nLimit; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    // What of `insertion` fits in place of the current selection; empty when nothing does.
    QString fitting(const QString& insertion) const;

    int m_nLimit = 0;
};
