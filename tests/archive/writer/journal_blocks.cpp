// Byte layout of the journaling blocks' contents.
#include "journal_blocks.h"

#include "byte_put.h"

namespace zpaqtest {

QByteArray journalName(quint64 date, char type, quint32 number)
{
    return QStringLiteral("jDC%1%2%3")
        .arg(date, 14, 10, QLatin1Char('0'))
        .arg(QLatin1Char(type))
        .arg(number, 10, 10, QLatin1Char('0'))
        .toLatin1();
}

SegmentSpec journalSegment(quint64 date, char type, quint32 number, const QByteArray &content)
{
    SegmentSpec seg;
    seg.name = journalName(date, type, number);
    seg.comment = QByteArray::number(content.size()) + " jDC\x01";
    seg.output = content;
    return seg;
}

QByteArray cContent(qint64 csize)
{
    QByteArray out;
    putLe(out, static_cast<uint64_t>(csize), 8);
    return out;
}

QByteArray dContent(const QVector<QByteArray> &fragments)
{
    QByteArray out;
    for (const QByteArray &f : fragments)
        out += f;
    for (const QByteArray &f : fragments)
        putLe(out, static_cast<uint64_t>(f.size()), 4);
    putLe(out, 0, 4);
    putLe(out, static_cast<uint64_t>(fragments.size()), 4);
    return out;
}

QByteArray hContent(uint32_t bsize, const QVector<QByteArray> &fragments)
{
    QByteArray out;
    putLe(out, bsize, 4);
    for (const QByteArray &f : fragments) {
        out += sha1Of(f);
        putLe(out, static_cast<uint64_t>(f.size()), 4);
    }
    return out;
}

QByteArray iContent(const QVector<IndexRecord> &records)
{
    QByteArray out;
    for (const IndexRecord &r : records) {
        putLe(out, r.date, 8);
        out += r.name;
        putByte(out, 0);
        if (r.date == 0)
            continue;
        putLe(out, static_cast<uint64_t>(r.attributes.size()), 4);
        out += r.attributes;
        putLe(out, static_cast<uint64_t>(r.fragments.size()), 4);
        for (quint32 id : r.fragments)
            putLe(out, id, 4);
    }
    return out;
}

QByteArray unixAttributes(uint16_t mode)
{
    QByteArray out("u");
    putLe(out, mode, 2);
    return out;
}

} // namespace zpaqtest
