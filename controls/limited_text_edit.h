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

    // Whether Return starts a new line (the default) or is left to the dialog, whose default
    // button takes it. Ctrl+Return starts a new line either way.
    void SetWantReturn(bool want) { m_bWantReturn = want; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    // What of `insertion` fits in place of the current selection; empty when nothing does.
    QString fitting(const QString& insertion) const;

    int m_nLimit = 0;
    bool m_bWantReturn = true;
};
