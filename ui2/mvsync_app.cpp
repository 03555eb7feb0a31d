#include "ui2/mvsync_app.h"

#include "document2/mvsync_doc.h"
#include "ui2/main_frame.h"

#include <QCoreApplication>

namespace dh2 {

CMVsyncApp::CMVsyncApp() : TDocumentApp(kCaption, kInstanceName, QStringLiteral("deskhand2")) {}

CMVsyncApp::~CMVsyncApp()
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
}

bool CMVsyncApp::eventFilter(QObject* watched, QEvent* event)
{
    if (CStartupSplash::FilterInput(event))
        return true;
    return QObject::eventFilter(watched, event);
}

bool CMVsyncApp::InitInstance(const QStringList& arguments)
{
    if (!StartInstance(arguments, kFindAppMessage))
        return false;
    if (QCoreApplication::instance())
        QCoreApplication::instance()->installEventFilter(this);
    // The document waits a second, the splash goes, then the data file loads.
    OpenWindow();
    return true;
}

} // namespace dh2
