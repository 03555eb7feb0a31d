#pragma once

#include <QString>

namespace platform {

// Message box styles and answers, with the values the system's callers were written against.
enum MessageBoxStyle : unsigned {
    MB_OK = 0x0,
    MB_OKCANCEL = 0x1,
    MB_YESNOCANCEL = 0x3,
    MB_YESNO = 0x4,
    MB_ICONERROR = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONWARNING = 0x30,
    MB_ICONINFORMATION = 0x40,
    MB_DEFBUTTON2 = 0x100, // the second button is the default: No, or Cancel after OK
    MB_BUTTONMASK = 0xF,
    MB_ICONMASK = 0xF0,
    MB_DEFMASK = 0xF00,
};

enum MessageBoxAnswer : int { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7 };

// One open or save dialog. The filter keeps the system's own form: "Text (*.csv)|*.csv||".
struct FileDialogRequest {
    bool open = true;
    QString title;
    QString defaultExt;
    QString fileName;
    QString filter;
};

// Everything the lower layers need from the user interface. The application installs the
// Qt implementation; tools install a console one; tests install a scripted fake.
class UiServices {
public:
    virtual ~UiServices() = default;

    // Shows a box and returns the answer (IDOK, IDYES, ...).
    virtual int messageBox(const QString& text, unsigned style = MB_OK) = 0;
    // Returns the chosen path, or an empty string when the user cancelled.
    virtual QString fileDialog(const FileDialogRequest& request) = 0;
    virtual void beginWaitCursor() = 0;
    virtual void endWaitCursor() = 0;
    virtual void enableMainWindow(bool enable) = 0;
    // Dispatches pending window events; false when the application is quitting.
    virtual bool processPendingEvents() = 0;

    static UiServices& instance();
    // Installs services that the caller keeps alive; nullptr restores the console services.
    static void install(UiServices* services);
};

// Answers every box with OK or Yes and writes it to stderr; no dialogs, no events.
class ConsoleUiServices final : public UiServices {
public:
    int messageBox(const QString& text, unsigned style = MB_OK) override;
    QString fileDialog(const FileDialogRequest& request) override;
    void beginWaitCursor() override {}
    void endWaitCursor() override {}
    void enableMainWindow(bool) override {}
    bool processPendingEvents() override { return true; }
};

class ScopedUiServices {
public:
    explicit ScopedUiServices(UiServices& services) : m_previous(&UiServices::instance())
    {
        UiServices::install(&services);
    }
    ~ScopedUiServices() { UiServices::install(m_previous); }
    ScopedUiServices(const ScopedUiServices&) = delete;
    ScopedUiServices& operator=(const ScopedUiServices&) = delete;

private:
    UiServices* m_previous;
};

// The wait cursor for the life of a scope.
class WaitCursor {
public:
    WaitCursor() { UiServices::instance().beginWaitCursor(); }
    ~WaitCursor() { UiServices::instance().endWaitCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// The framework-style shorthand used by the system's code.
inline int AfxMessageBox(const QString& text, unsigned style = MB_OK)
{
    return UiServices::instance().messageBox(text, style);
}

} // namespace platform
