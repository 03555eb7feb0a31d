#pragma once

#include <QByteArrayView>
#include <QImage>
#include <QString>

// Reader of Windows bitmap files, kept small and our own so that the start-up picture needs no
// image plug-in. Accepted: the "BM" file header, a BITMAPINFOHEADER (or a longer header of the
// same family), colour tables, 1, 4, 8, 16, 24 and 32 bits per pixel, uncompressed or with
// BI_BITFIELDS masks, rows stored bottom-up or top-down. Every size, count and offset is checked
// against the bytes that are there: what does not fit is a failure, never a read past the end.

// Reads the file at path into picture (RGB32). False, with picture untouched, when the file
// cannot be opened or is not a bitmap this reader accepts.
bool LoadBitmapFile(const QString& path, QImage& picture);

// The same over the bytes of a whole file.
bool DecodeBitmapFile(QByteArrayView file, QImage& picture);
