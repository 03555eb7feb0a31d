#pragma once

#include "controls/document_app.h"

namespace dh1 {

class CMainFrame;
class CMVsyncDoc;

// The application of Deskhand: one copy per data folder, one document, one main window.
class CMVsyncApp : public TDocumentApp<CMVsyncDoc, CMainFrame> {
public:
    static constexpr const char* kInstanceName = "ARBOR_MUTEX";
    static constexpr const char* kFindAppMessage = "ARBOR_FIND_APP";
    // The application's name, the title of its message boxes.
    static constexpr const char* kCaption = "Deskhand";

    // Names the program for the desktop.
    CMVsyncApp();
    ~CMVsyncApp();

    // Start-up: the splash switch from the command line, the single-instance rule, the
    // document with its local data, the main window. False ends the process: another copy
    // runs and has been told.
    bool InitInstance(const QStringList& arguments);
};

} // namespace dh1
