#pragma once

#include "platform/ui_services.h"

#include <QStringList>

#include <deque>
#include <functional>
#include <vector>

namespace testsupport {

// User interface services that record what the code under test asked for and answer from a
// script: queued box answers (else OK or Yes), queued file names (else cancel).
class RecordingUiServices final : public platform::UiServices {
public:
    struct Box {
        QString text;
        unsigned style;
    };

    int messageBox(const QString& text, unsigned style) override;
    QString fileDialog(const platform::FileDialogRequest& request) override;
    void beginWaitCursor() override { ++waitCursorDepth; ++waitCursorCount; }
    void endWaitCursor() override { --waitCursorDepth; }
    void enableMainWindow(bool enable) override { mainWindowEnabled = enable; enableCalls.push_back(enable); }
    bool processPendingEvents() override;

    QStringList boxTexts() const;

    std::vector<Box> boxes;
    std::deque<int> boxAnswers;
    std::vector<platform::FileDialogRequest> fileRequests;
    std::deque<QString> fileAnswers;
    int waitCursorDepth = 0;
    int waitCursorCount = 0;
    bool mainWindowEnabled = true;
    std::vector<bool> enableCalls;
    int pumpCount = 0;
    // Runs at every pump with its number (1, 2, ...), e.g. to press Abort at a chosen moment.
    std::function<void(int)> onPump;
    bool quitting = false;
};

// Installs a fresh recorder for the lifetime of the object.
class ScopedRecordingUi {
public:
    ScopedRecordingUi() : m_guard(ui) {}
    RecordingUiServices ui;

private:
    platform::ScopedUiServices m_guard;
};

} // namespace testsupport
