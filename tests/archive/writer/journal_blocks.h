// The journaling layer's block contents: c (transaction size), d (fragment data
// with its trailer), h (fragment hashes and sizes) and i (file index), and the
// "jDC" segment names and comments they travel under.
#pragma once

#include "block_writer.h"

#include <QByteArray>
#include <QVector>

#include <cstdint>

namespace zpaqtest {

/// "jDC" + 14-digit date + type + 10-digit number.
QByteArray journalName(quint64 date, char type, quint32 number);

/// A segment named for the journal whose comment is the content's size.
SegmentSpec journalSegment(quint64 date, char type, quint32 number, const QByteArray &content);

/// c block content: the transaction's d-block bytes as 8-byte LE signed csize.
QByteArray cContent(qint64 csize);

/// d block content: the fragments joined, then their sizes, a 0 field and the count.
QByteArray dContent(const QVector<QByteArray> &fragments);

/// h block content: bsize, then SHA-1 and size of each fragment.
QByteArray hContent(uint32_t bsize, const QVector<QByteArray> &fragments);

struct IndexRecord {
    QByteArray name;
    quint64 date = 0; ///< 0 marks a deletion
    QByteArray attributes;
    QVector<quint32> fragments;
};

/// i block content: the records one after the other.
QByteArray iContent(const QVector<IndexRecord> &records);

/// Unix attribute bytes: 'u' and the 16-bit mode.
QByteArray unixAttributes(uint16_t mode);

} // namespace zpaqtest
