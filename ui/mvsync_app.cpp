#include "ui/mvsync_app.h"

#include "document/mvsync_doc.h"
#include "ui/main_frame.h"

namespace dh1 {

CMVsyncApp::CMVsyncApp() : TDocumentApp(kCaption, kInstanceName, QStringLiteral("deskhand")) {}

CMVsyncApp::~CMVsyncApp() = default;

bool CMVsyncApp::InitInstance(const QStringList& arguments)
{
    if (!StartInstance(arguments, kFindAppMessage))
        return false;
    OpenWindow();
    return true;
}

} // namespace dh1
