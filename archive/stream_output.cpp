// Streaming segments written as the files they name.
#include "stream_output.h"

#include "block_scanner.h"
#include "decode_error.h"
#include "output_files.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace zpaq {

StreamOutput::~StreamOutput() { close(); }

void StreamOutput::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

void StreamOutput::beginSegment(std::size_t, const SegmentLayout &segment)
{
    if (segment.name.empty()) {
        if (!m_started)
            m_warnings.add("data of a segment without a file name at offset " +
                           std::to_string(segment.offset) + " skipped");
        m_started = true;
        return;
    }
    close();
    m_started = true;
    std::string why;
    const std::string relative = OutputFolder::mapName(segment.name, why);
    const std::string path = relative.empty() ? relative : m_folder.prepare(relative, false, why);
    if (path.empty()) {
        m_warnings.add(why + "; not extracted");
        return;
    }
    m_fd = createFresh(path);
    if (m_fd < 0)
        fail("cannot create \"%s\": %s", path.c_str(), std::strerror(errno));
    m_path = path;
}

void StreamOutput::write(const std::uint8_t *data, std::size_t size)
{
    if (m_fd >= 0)
        writeAll(m_fd, data, size, m_path);
}

} // namespace zpaq
