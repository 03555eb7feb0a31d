#include "controls/dialog_parts.h"

#include <QDialog>
#include <QEvent>
#include <QPushButton>

QDialogButtonBox* CreateDialogButtons(QDialog* dialog, QDialogButtonBox::StandardButtons buttons, const QString& okText,
                                      const QString& cancelText)
{
    auto* box = new QDialogButtonBox(buttons);
    box->setObjectName(QStringLiteral("buttons"));
    for (const auto& [which, text] : {std::pair{QDialogButtonBox::Ok, okText}, std::pair{QDialogButtonBox::Cancel, cancelText}}) {
        if (QPushButton* button = box->button(which)) {
            button->setText(text);
            button->setAccessibleName(text);
        }
    }
    QObject::connect(box, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(box, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return box;
}

namespace {

// Fixes a dialog's size when it appears, when its fields and their fonts are final.
class FixedSizeOnShow final : public QObject {
public:
    explicit FixedSizeOnShow(QDialog& dialog) : QObject(&dialog) { dialog.installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show) {
            auto* dialog = static_cast<QWidget*>(watched);
            // Equal minimum and maximum sizes are what tell the window manager.
            dialog->setFixedSize(dialog->sizeHint().expandedTo(dialog->minimumSize()));
        }
        return false;
    }
};

} // namespace

void KeepFixedSize(QDialog& dialog)
{
    const Qt::WindowFlags sizing = Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint;
    if (dialog.windowFlags() & sizing)
        dialog.setWindowFlags(dialog.windowFlags() & ~sizing);
    new FixedSizeOnShow(dialog);
}
