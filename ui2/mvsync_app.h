#pragma once

#include "controls/document_app.h"

#include <QObject>

namespace dh2 {

class CMainFrame;
class CMVsyncDoc;

// The application of Deskhand2: one copy per data folder, one document, one main window. While the
// splash shows, every key and mouse press goes to it first and ends it.
class CMVsyncApp final : public QObject, public TDocumentApp<CMVsyncDoc, CMainFrame> {
    Q_OBJECT

public:
    static constexpr const char* kInstanceName = "ZentraDeskhand2Corvov1";
    static constexpr const char* kFindAppMessage = "ARBOR_FIND_APP";
    // The application's name, the title of its message boxes.
    static constexpr const char* kCaption = "Deskhand2";

    // Names the program for the desktop.
    CMVsyncApp();
    ~CMVsyncApp() override;

    // Start-up: the splash switch from the command line, the single-instance rule, the
    // document with its local data, the main window. False ends the process: another copy
    // runs and has been told.
    bool InitInstance(const QStringList& arguments);

protected:
    // The splash sees input before any window does.
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace dh2
