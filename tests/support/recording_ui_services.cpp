#include "support/recording_ui_services.h"

namespace testsupport {

int RecordingUiServices::messageBox(const QString& text, unsigned style)
{
    boxes.push_back({text, style});
    if (!boxAnswers.empty()) {
        const int answer = boxAnswers.front();
        boxAnswers.pop_front();
        return answer;
    }
    const unsigned buttons = style & platform::MB_BUTTONMASK;
    return buttons == platform::MB_YESNO || buttons == platform::MB_YESNOCANCEL ? platform::IDYES : platform::IDOK;
}

QString RecordingUiServices::fileDialog(const platform::FileDialogRequest& request)
{
    fileRequests.push_back(request);
    if (fileAnswers.empty())
        return {};
    QString answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
}

bool RecordingUiServices::processPendingEvents()
{
    ++pumpCount;
    if (onPump)
        onPump(pumpCount);
    return !quitting;
}

QStringList RecordingUiServices::boxTexts() const
{
    QStringList texts;
    for (const Box& box : boxes)
        texts << box.text;
    return texts;
}

} // namespace testsupport
