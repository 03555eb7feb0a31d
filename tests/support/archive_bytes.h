#pragma once

#include "platform/archive.h"

#include <QByteArray>

namespace testsupport {

// Values in the bytes a storing archive writes, for data files laid out field by field.
inline QByteArray ArchiveBytes(qint32 value)
{
    CArchive ar;
    ar << value;
    return ar.Data();
}

// An ASCII text as a byte string: its length in one byte, then its bytes.
inline QByteArray ArchiveBytes(const char* text)
{
    return QByteArray(1, char(qstrlen(text))) + QByteArray(text);
}

} // namespace testsupport
