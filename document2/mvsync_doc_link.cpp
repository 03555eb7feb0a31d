// What the window asks of the phone model through the document.
#include "document2/mvsync_doc.h"

#include "link2/model_profile.h"

namespace dh2 {

bool CMVsyncDoc::ModelHasGroups()
{
    return ModelProfile().callerGroups;
}

QStringList CMVsyncDoc::GroupNames()
{
    QStringList names;
    for (int i = 0; i < int(g_arrGroups.size()); ++i)
        names << GetGroupName(i);
    return names;
}

bool CMVsyncDoc::ModelWritesPlusForDoubleZero()
{
    return ModelProfile().plusForDoubleZero;
}

} // namespace dh2
