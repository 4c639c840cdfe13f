// Writes journaling archives version by version: files cut into fragments,
// identical fragments stored once, d/h blocks for the new ones and an i block
// with the version's additions, updates and deletions.
#pragma once

#include "journal_blocks.h"

#include <QByteArray>
#include <QHash>
#include <QVector>

#include <functional>

namespace zpaqtest {

class JournalWriter {
public:
    /// Makes one complete tagged block of a d segment; the default stores it.
    using DataBlockWriter = std::function<QByteArray(const SegmentSpec &)>;

    explicit JournalWriter(int fragmentSize = 4096, int fragmentsPerBlock = 8);

    void setDataBlockWriter(DataBlockWriter writer) { dataWriter_ = std::move(writer); }

    /// Starts a transaction dated `date` (YYYYMMDDHHMMSS).
    void beginVersion(quint64 date);
    void putFile(const QByteArray &name, const QByteArray &content,
                 const QByteArray &attributes = unixAttributes(0100644));
    /// A file made of `piece` repeated `count` times; the piece is stored once.
    void putRepeatedFile(const QByteArray &name, const QByteArray &piece, int count);
    void putDirectory(const QByteArray &name); ///< `name` ends in '/'
    void deleteFile(const QByteArray &name);
    /// Writes the transaction: c, d..., h..., i.
    void commit();
    /// Writes it with csize -1, as an update that never finished.
    void commitIncomplete();
    /// Starts fragment numbering again at 1, as in archives joined from
    /// separately written ones.
    void restartFragmentIds();

    QByteArray bytes() const { return archive_; }

private:
    quint32 fragmentFor(const QByteArray &piece);
    void write(bool complete);

    int fragmentSize_;
    int fragmentsPerBlock_;
    DataBlockWriter dataWriter_;
    QByteArray archive_;
    quint64 date_ = 0;
    quint32 nextId_ = 1;
    quint32 firstIdOfVersion_ = 1;
    QHash<QByteArray, quint32> idByHash_;
    QVector<QByteArray> newFragments_;
    QVector<IndexRecord> records_;
};

} // namespace zpaqtest
