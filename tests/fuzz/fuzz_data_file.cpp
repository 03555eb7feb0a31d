// Arbitrary bytes as the local data file, through the document's own loading code.
#include "document/mvsync_doc.h"
#include "platform/archive.h"

#include <cstdint>

using namespace dh1;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CArchive ar(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    CMVsyncDoc doc;
    doc.Serialize(ar);
    if (ar.ok()) {
        CArchive out;
        doc.Serialize(out);
    }
    return 0;
}
