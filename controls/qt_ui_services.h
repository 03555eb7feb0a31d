#pragma once

#include "platform/ui_services.h"

#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QWidget>

// The user-interface services of the real program: Qt message boxes and file dialogs, the
// override wait cursor, the main window's enabled state and the event loop.
class QtUiServices final : public QObject, public platform::UiServices {
    Q_OBJECT

public:
    // Boxes carry `caption`, the program's name, as their title.
    explicit QtUiServices(const QString& caption = QString());
    ~QtUiServices() override;

    // The window that enableMainWindow disables; dialogs sit over it while it is enabled.
    void SetMainWindow(QWidget* window);
    QWidget* GetMainWindow() const { return m_mainWindow; }

    int messageBox(const QString& text, unsigned style = platform::MB_OK) override;
    QString fileDialog(const platform::FileDialogRequest& request) override;
    void beginWaitCursor() override;
    void endWaitCursor() override;
    void enableMainWindow(bool enable) override;
    bool processPendingEvents() override;

    struct BoxLayout {
        QMessageBox::Icon icon;
        QMessageBox::StandardButtons buttons;
        QMessageBox::StandardButton defaultButton;
    };
    // Icon and buttons for an MB_* style; unknown button sets show OK.
    static BoxLayout LayoutForStyle(unsigned style);
    // IDOK, IDCANCEL, IDYES or IDNO for the button that closed a box of that style; a box
    // closed without a button answers as its escape button would.
    static int AnswerForButton(QMessageBox::StandardButton button, unsigned style);
    // "Text (*.csv)|*.csv|All (*.*)|*.*||" to Qt name filters: "Text (*.csv)", "All (*.*)".
    static QStringList NameFilters(const QString& filter);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Dialogs must stay usable while the main window is disabled: they never take a disabled
    // parent, they become top-level windows instead.
    QWidget* DialogParent() const;

    QString m_strCaption;
    QPointer<QWidget> m_mainWindow;
    int m_nWaitCursorDepth = 0;
    bool m_bQuitting = false;
};
