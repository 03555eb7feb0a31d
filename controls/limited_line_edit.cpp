#include "controls/limited_line_edit.h"

#include "controls/edit_limit.h"

#include <QAction>
#include <QCoreApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPointer>
#include <QValidator>

class CLimitedLineEdit::Validator final : public QValidator {
public:
    explicit Validator(CLimitedLineEdit* edit) : QValidator(edit), m_edit(edit) {}

    State validate(QString& input, int& pos) const override
    {
        // Only user input is judged: a refusal reported for setText or undo would not be
        // rolled back by the line edit and would stick as "invalid input".
        if (m_edit->m_nUserInput == 0)
            return Acceptable;
        filterInsertion(input, pos);
        const editlimit::Fit fit = editlimit::FitEdit(m_edit->m_strAccepted, input, m_edit->m_nLimit, false);
        if (!fit.accepted)
            return Invalid;
        if (fit.text != input) {
            input = fit.text;
            pos = fit.cursor;
        }
        return Acceptable;
    }

private:
    // The part that differs from the text before the edit is what was inserted.
    void filterInsertion(QString& input, int& pos) const
    {
        const QString& before = m_edit->m_strAccepted;
        qsizetype prefix = 0;
        while (prefix < before.size() && prefix < input.size() && before[prefix] == input[prefix])
            ++prefix;
        qsizetype suffix = 0;
        while (suffix < before.size() - prefix && suffix < input.size() - prefix
               && before[before.size() - 1 - suffix] == input[input.size() - 1 - suffix])
            ++suffix;
        const QString inserted = input.mid(prefix, input.size() - prefix - suffix);
        if (inserted.isEmpty())
            return;
        const QString kept = m_edit->FilterInsertion(inserted, prefix);
        if (kept == inserted)
            return;
        input = input.left(prefix) + kept + input.right(suffix);
        pos = int(prefix + kept.size());
    }

    CLimitedLineEdit* m_edit;
};

CLimitedLineEdit::CLimitedLineEdit(QWidget* parent) : QLineEdit(parent)
{
    setValidator(new Validator(this));
    connect(this, &QLineEdit::textChanged, this, [this](const QString& text) { m_strAccepted = text; });
}

CLimitedLineEdit::~CLimitedLineEdit() = default;

void CLimitedLineEdit::LimitText(int limit)
{
    m_nLimit = limit > 0 ? limit : 0;
}

template <class F>
void CLimitedLineEdit::asUserInput(F&& f)
{
    m_strAccepted = text();
    ++m_nUserInput;
    f();
    --m_nUserInput;
}

void CLimitedLineEdit::keyPressEvent(QKeyEvent* event)
{
    // Undo and redo restore earlier text and are not limited, as in the system's edits.
    if (event->matches(QKeySequence::Undo) || event->matches(QKeySequence::Redo)) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    asUserInput([&] { QLineEdit::keyPressEvent(event); });
}

void CLimitedLineEdit::inputMethodEvent(QInputMethodEvent* event)
{
    asUserInput([&] { QLineEdit::inputMethodEvent(event); });
}

void CLimitedLineEdit::dropEvent(QDropEvent* event)
{
    asUserInput([&] { QLineEdit::dropEvent(event); });
}

void CLimitedLineEdit::mouseReleaseEvent(QMouseEvent* event)
{
    // A middle click pastes the selection.
    asUserInput([&] { QLineEdit::mouseReleaseEvent(event); });
}

void CLimitedLineEdit::pasteLimited()
{
    asUserInput([&] { paste(); });
}

QAction* CLimitedLineEdit::FindPasteAction(QMenu* menu)
{
    // Newer libraries name the action; older ones are known by the menu text alone.
    if (auto* named = menu->findChild<QAction*>(QStringLiteral("edit-paste")))
        return named;
    const QString paste = QCoreApplication::translate("QLineEdit", "&Paste");
    for (QAction* action : menu->actions()) {
        if (action->text().section(u'\t', 0, 0) == paste)
            return action;
    }
    return nullptr;
}

void CLimitedLineEdit::contextMenuEvent(QContextMenuEvent* event)
{
    // The standard menu pastes after this handler has returned, so its Paste is rerouted.
    QPointer<QMenu> menu = createStandardContextMenu();
    if (!menu)
        return;
    if (QAction* pasteAction = FindPasteAction(menu)) {
        disconnect(pasteAction, &QAction::triggered, nullptr, nullptr);
        connect(pasteAction, &QAction::triggered, this, &CLimitedLineEdit::pasteLimited);
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}
