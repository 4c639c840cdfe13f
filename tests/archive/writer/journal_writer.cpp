// Journaling archive writer.
#include "journal_writer.h"

#include "byte_put.h"

namespace zpaqtest {

JournalWriter::JournalWriter(int fragmentSize, int fragmentsPerBlock)
    : fragmentSize_(fragmentSize),
      fragmentsPerBlock_(fragmentsPerBlock),
      dataWriter_([](const SegmentSpec &seg) { return storedBlock({seg}); })
{
}

void JournalWriter::beginVersion(quint64 date)
{
    date_ = date;
    firstIdOfVersion_ = nextId_;
    newFragments_.clear();
    records_.clear();
}

quint32 JournalWriter::fragmentFor(const QByteArray &piece)
{
    const QByteArray hash = sha1Of(piece);
    auto it = idByHash_.constFind(hash);
    if (it != idByHash_.constEnd())
        return *it;
    const quint32 id = nextId_++;
    idByHash_.insert(hash, id);
    newFragments_.append(piece);
    return id;
}

void JournalWriter::putFile(const QByteArray &name, const QByteArray &content,
                            const QByteArray &attributes)
{
    IndexRecord r{name, date_, attributes, {}};
    for (int at = 0; at < content.size(); at += fragmentSize_)
        r.fragments.append(fragmentFor(content.mid(at, fragmentSize_)));
    records_.append(r);
}

void JournalWriter::putRepeatedFile(const QByteArray &name, const QByteArray &piece, int count)
{
    IndexRecord r{name, date_, unixAttributes(0100644), {}};
    r.fragments.fill(fragmentFor(piece), count);
    records_.append(r);
}

void JournalWriter::putDirectory(const QByteArray &name)
{
    records_.append(IndexRecord{name, date_, unixAttributes(040755), {}});
}

void JournalWriter::deleteFile(const QByteArray &name)
{
    records_.append(IndexRecord{name, 0, {}, {}});
}

void JournalWriter::commit() { write(true); }

void JournalWriter::commitIncomplete() { write(false); }

void JournalWriter::restartFragmentIds()
{
    nextId_ = 1;
    idByHash_.clear();
}

void JournalWriter::write(bool complete)
{
    QByteArray dBlocks;
    QByteArray hBlocks;
    quint32 id = firstIdOfVersion_;
    for (int at = 0; at < newFragments_.size(); at += fragmentsPerBlock_) {
        const QVector<QByteArray> group = newFragments_.mid(at, fragmentsPerBlock_);
        const QByteArray d = dataWriter_(journalSegment(date_, 'd', id, dContent(group)));
        dBlocks += d;
        hBlocks += storedBlock(
            {journalSegment(date_, 'h', id, hContent(static_cast<uint32_t>(d.size()), group))});
        id += static_cast<quint32>(group.size());
    }
    const qint64 csize = complete ? dBlocks.size() : -1;
    archive_ += storedBlock({journalSegment(date_, 'c', firstIdOfVersion_, cContent(csize))});
    archive_ += dBlocks;
    archive_ += hBlocks;
    archive_ += storedBlock({journalSegment(date_, 'i', 1, iContent(records_))});
    beginVersion(date_);
}

} // namespace zpaqtest
