// Reads arbitrary bytes as a sequence of archived values; must never crash, hang or allocate
// beyond the input's size.
#include "platform/archive.h"
#include "platform/ole_date_time.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CArchive ar(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    qint32 count = 0;
    ar.ReadCount(count, 5);
    for (qint32 i = 0; i < count && ar.ok(); ++i) {
        QString text;
        COleDateTime date;
        qint32 value = 0;
        ar >> text >> value >> date;
    }
    return 0;
}
