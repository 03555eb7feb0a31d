#pragma once

#include <QLineEdit>

class QAction;
class QMenu;

// A single-line edit with the system's length limit (see editlimit): LimitText bounds what
// the user types, pastes or drops, while setText and a lowered limit never cut the text.
// QLineEdit::setMaxLength would cut, so it is left at its default.
class CLimitedLineEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit CLimitedLineEdit(QWidget* parent = nullptr);
    ~CLimitedLineEdit() override;

    // 0 removes the limit.
    void LimitText(int limit);
    int GetLimitText() const { return m_nLimit; }

    // The Paste entry of a standard edit menu, or null.
    static QAction* FindPasteAction(QMenu* menu);

protected:
    // What user input may insert: the text typed, pasted or dropped in one step at position at,
    // as the edit would take it; the default takes it whole.
    virtual QString FilterInsertion(const QString& inserted, qsizetype at) const
    {
        (void)at;
        return inserted;
    }

    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    class Validator;
    friend class Validator;

    // Runs a user input path with the limit enforced; programmatic changes stay unlimited.
    template <class F>
    void asUserInput(F&& f);
    void pasteLimited();

    int m_nLimit = 0;
    int m_nUserInput = 0;
    QString m_strAccepted; // the text before the edit being judged
};
