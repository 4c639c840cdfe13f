// The archive's bytes, mapped read-only from the file (or read when the
// file cannot be mapped) so that blocks can be decoded in place.
#pragma once

#include <QByteArray>
#include <QFile>

#include <cstdint>
#include <string>

namespace zpaq {

class ArchiveInput
{
public:
    /// Throws DecodeError when the file cannot be opened or read.
    explicit ArchiveInput(const std::string &path);

    const std::uint8_t *data() const { return m_data; }
    std::size_t size() const { return m_size; }

private:
    QFile m_file;
    QByteArray m_copy;
    const std::uint8_t *m_data = nullptr;
    std::size_t m_size = 0;
};

} // namespace zpaq
