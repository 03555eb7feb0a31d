// Arbitrary bytes as Deskhand2's local data file, through the document's own loader, which keeps
// what it read whole. Whatever it kept must save to a file that loads whole and saves back to
// the same bytes.
#include "document2/mvsync_doc.h"
#include "platform/archive.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    dh2::CMVsyncDoc doc;
    doc.LoadLocalData(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    CArchive saved;
    doc.Serialize(saved);

    dh2::CMVsyncDoc again;
    if (!again.LoadLocalData(saved.Data()))
        std::abort();
    CArchive savedAgain;
    again.Serialize(savedAgain);
    if (savedAgain.Data() != saved.Data())
        std::abort();
    return 0;
}
