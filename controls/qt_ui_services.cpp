#include "controls/qt_ui_services.h"

#include "controls/window_titles.h"

#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QGuiApplication>
#include <QPushButton>

using namespace platform;

namespace {

// A box sizes itself to its text; a short text would leave its caption too narrow a title bar,
// and the window manager would cut it. A strut below the buttons keeps the box wide enough.
void WidenForCaption(QMessageBox& box)
{
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid)
        return;
    grid->addItem(new QSpacerItem(TitleBarWidth(box.windowTitle()), 0, QSizePolicy::Fixed, QSizePolicy::Fixed),
                  grid->rowCount(), 0, 1, grid->columnCount());
}

} // namespace

QtUiServices::QtUiServices(const QString& caption) : m_strCaption(caption)
{
    // The quit request arrives as an event long before the application's aboutToQuit, which
    // only comes once the outermost event loop has returned; a transfer's pump must see it.
    if (QCoreApplication* app = QCoreApplication::instance()) {
        app->installEventFilter(this);
        connect(app, &QCoreApplication::aboutToQuit, this, [this] { m_bQuitting = true; });
    }
}

QtUiServices::~QtUiServices()
{
    while (m_nWaitCursorDepth > 0)
        endWaitCursor();
}

void QtUiServices::SetMainWindow(QWidget* window)
{
    m_mainWindow = window;
}

QWidget* QtUiServices::DialogParent() const
{
    return m_mainWindow && m_mainWindow->isEnabled() ? m_mainWindow.data() : nullptr;
}

QtUiServices::BoxLayout QtUiServices::LayoutForStyle(unsigned style)
{
    BoxLayout layout{QMessageBox::NoIcon, QMessageBox::Ok, QMessageBox::Ok};
    switch (style & MB_ICONMASK) {
    case MB_ICONERROR:
        layout.icon = QMessageBox::Critical;
        break;
    case MB_ICONQUESTION:
        layout.icon = QMessageBox::Question;
        break;
    case MB_ICONWARNING:
        layout.icon = QMessageBox::Warning;
        break;
    case MB_ICONINFORMATION:
        layout.icon = QMessageBox::Information;
        break;
    default:
        break;
    }
    switch (style & MB_BUTTONMASK) {
    case MB_OKCANCEL:
        layout.buttons = QMessageBox::Ok | QMessageBox::Cancel;
        break;
    case MB_YESNOCANCEL:
        layout.buttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        layout.defaultButton = QMessageBox::Yes;
        break;
    case MB_YESNO:
        layout.buttons = QMessageBox::Yes | QMessageBox::No;
        layout.defaultButton = QMessageBox::Yes;
        break;
    default:
        break;
    }
    if ((style & MB_DEFMASK) == MB_DEFBUTTON2 && layout.buttons != QMessageBox::Ok)
        layout.defaultButton = layout.buttons.testFlag(QMessageBox::No) ? QMessageBox::No : QMessageBox::Cancel;
    return layout;
}

int QtUiServices::AnswerForButton(QMessageBox::StandardButton button, unsigned style)
{
    switch (button) {
    case QMessageBox::Ok:
        return IDOK;
    case QMessageBox::Cancel:
        return IDCANCEL;
    case QMessageBox::Yes:
        return IDYES;
    case QMessageBox::No:
        return IDNO;
    default:
        break;
    }
    switch (style & MB_BUTTONMASK) {
    case MB_OKCANCEL:
    case MB_YESNOCANCEL:
        return IDCANCEL;
    case MB_YESNO:
        return IDNO;
    default:
        return IDOK;
    }
}

int QtUiServices::messageBox(const QString& text, unsigned style)
{
    const BoxLayout layout = LayoutForStyle(style);
    QMessageBox box(layout.icon, m_strCaption, text, layout.buttons, DialogParent());
    box.setDefaultButton(layout.defaultButton);
    WidenForCaption(box);
    box.exec();
    return AnswerForButton(box.standardButton(box.clickedButton()), style);
}

QStringList QtUiServices::NameFilters(const QString& filter)
{
    QStringList parts = filter.split(u'|');
    while (!parts.isEmpty() && parts.last().isEmpty())
        parts.removeLast();
    QStringList filters;
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        QString patterns = i + 1 < parts.size() ? parts[i + 1].trimmed() : QString();
        if (patterns.isEmpty())
            patterns = QStringLiteral("*");
        patterns.replace(u';', u' ');
        // The pattern decides what is shown; a pattern repeated in the description's own
        // parentheses is dropped so that it does not appear twice.
        if (description.endsWith(u')')) {
            const qsizetype open = description.lastIndexOf(u'(');
            if (open >= 0)
                description = description.left(open).trimmed();
        }
        filters << (description.isEmpty() ? patterns : description + QStringLiteral(" (") + patterns + u')');
    }
    return filters;
}

QString QtUiServices::fileDialog(const FileDialogRequest& request)
{
    QFileDialog dialog(DialogParent(), request.title);
    dialog.setAcceptMode(request.open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(request.open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    const QStringList filters = NameFilters(request.filter);
    if (!filters.isEmpty())
        dialog.setNameFilters(filters);
    QString suffix = request.defaultExt;
    while (suffix.startsWith(u'.'))
        suffix.remove(0, 1);
    dialog.setDefaultSuffix(suffix);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles().value(0);
}

void QtUiServices::beginWaitCursor()
{
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    ++m_nWaitCursorDepth;
}

void QtUiServices::endWaitCursor()
{
    // An unpaired end must not take away a cursor somebody else set.
    if (m_nWaitCursorDepth == 0)
        return;
    --m_nWaitCursorDepth;
    QGuiApplication::restoreOverrideCursor();
}

void QtUiServices::enableMainWindow(bool enable)
{
    if (m_mainWindow)
        m_mainWindow->setEnabled(enable);
}

bool QtUiServices::processPendingEvents()
{
    if (!QCoreApplication::instance() || QCoreApplication::closingDown())
        return false;
    QCoreApplication::processEvents();
    return !m_bQuitting;
}

bool QtUiServices::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == QCoreApplication::instance() && event->type() == QEvent::Quit)
        m_bQuitting = true;
    return QObject::eventFilter(watched, event);
}
