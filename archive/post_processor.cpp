// Post-processor header parsing, PCOMP calls and the bounded output buffer.
#include "archive/post_processor.h"

#include "archive/decode_error.h"
#include "archive/zpaq_choices.h"

#include <algorithm>

namespace zpaq {

namespace {
constexpr std::size_t kOutputChunk = 64 * 1024;
}

PostProcessor::PostProcessor(const BlockHeader &header, BlockOutput &out)
    : m_header(header), m_out(out)
{
    m_buffer.reserve(kOutputChunk);
}

PostProcessor::~PostProcessor() = default;

void PostProcessor::outputByte(std::uint8_t byte)
{
    m_buffer.push_back(byte);
    if (m_buffer.size() >= kOutputChunk)
        flush();
}

void PostProcessor::checkLimit(std::size_t more) const
{
    ZPAQ_CHECK(more <= m_segmentLimit - m_segmentBytes,
               "segment \"%s\" produces more than the %llu bytes its comment states",
               m_segmentName.c_str(), static_cast<unsigned long long>(m_segmentLimit));
}

void PostProcessor::flush()
{
    if (m_buffer.empty())
        return;
    deliver(m_buffer.data(), m_buffer.size());
    m_buffer.clear();
}

void PostProcessor::deliver(const std::uint8_t *data, std::size_t size)
{
    checkLimit(size);
    m_hash.addData(reinterpret_cast<const char *>(data), int(size));
    m_segmentBytes += size;
    m_out.write(data, size);
}

void PostProcessor::headerByte(std::uint8_t byte)
{
    switch (m_phase) {
    case Phase::Flag:
        ZPAQ_CHECK(byte == 0 || byte == 1, "bad post-processor flag %u", unsigned(byte));
        m_phase = byte == 0 ? Phase::PassThrough : Phase::SizeLow;
        return;
    case Phase::SizeLow:
        m_programSize = byte;
        m_phase = Phase::SizeHigh;
        return;
    case Phase::SizeHigh:
        m_programSize |= std::size_t(byte) << 8;
        ZPAQ_CHECK(m_programSize > 0, "post-processor program of size 0");
        m_phase = Phase::Code;
        return;
    case Phase::Code:
        m_code.push_back(byte);
        if (m_code.size() == m_programSize) {
            m_pcomp = std::make_unique<ZpaqlMachine>(m_header.ph, m_header.pm, std::move(m_code));
            m_pcomp->setOutput([this](const std::uint8_t *data, std::size_t size) {
                deliver(data, size);
                m_programOutput += size;
            });
            m_phase = Phase::Program;
        }
        return;
    default: ZPAQ_ASSERT(false);
    }
}

void PostProcessor::runProgram(std::uint8_t byte)
{
    ZPAQ_CHECK(++m_programInput <= kPostInputPerOutput * m_programOutput + kPostInputSlack,
               "post-processor reads %llu bytes and writes only %llu",
               static_cast<unsigned long long>(m_programInput),
               static_cast<unsigned long long>(m_programOutput));
    m_pcomp->run(byte);
}

void PostProcessor::put(std::uint8_t byte)
{
    if (m_phase == Phase::Program)
        runProgram(byte);
    else if (m_phase == Phase::PassThrough)
        outputByte(byte);
    else
        headerByte(byte);
}

void PostProcessor::put(const std::uint8_t *data, std::size_t size)
{
    std::size_t i = 0;
    while (i < size && m_phase != Phase::PassThrough && m_phase != Phase::Program)
        headerByte(data[i++]);
    if (m_phase == Phase::Program) {
        for (; i < size; ++i)
            runProgram(data[i]);
        return;
    }
    if (i == size)
        return;
    // Unchanged bytes go out in bounded pieces without a copy.
    flush();
    while (i < size) {
        const std::size_t piece = std::min(size - i, kOutputChunk * 16);
        deliver(data + i, piece);
        i += piece;
    }
}

QByteArray PostProcessor::endSegment()
{
    ZPAQ_CHECK(m_phase == Phase::Program || m_phase == Phase::PassThrough,
               "segment ends inside the post-processor header");
    if (m_pcomp) {
        m_pcomp->run(0xFFFFFFFFu);
        m_pcomp->flushOutput();
    }
    flush();
    QByteArray digest = m_hash.result();
    m_hash.reset();
    m_segmentBytes = 0;
    m_segmentLimit = ~std::uint64_t(0);
    return digest;
}

} // namespace zpaq
