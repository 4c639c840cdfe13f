// Opening and mapping of the archive file.
#include "archive_input.h"

#include "decode_error.h"

namespace zpaq {

ArchiveInput::ArchiveInput(const std::string &path) : m_file(QString::fromStdString(path))
{
    if (!m_file.open(QIODevice::ReadOnly))
        fail("cannot open archive \"%s\": %s", path.c_str(),
             m_file.errorString().toLocal8Bit().constData());
    const qint64 size = m_file.size();
    ZPAQ_CHECK(size > 0, "archive \"%s\" is empty", path.c_str());
    m_size = std::size_t(size);
    if (const uchar *mapped = m_file.map(0, size)) {
        m_data = mapped;
        return;
    }
    m_copy = m_file.readAll();
    ZPAQ_CHECK(m_copy.size() == size, "cannot read archive \"%s\"", path.c_str());
    m_data = reinterpret_cast<const std::uint8_t *>(m_copy.constData());
}

} // namespace zpaq
