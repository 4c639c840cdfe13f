// Block header parsing and the per-component memory estimate.
#include "archive/block_header.h"

#include "archive/zpaq_choices.h"

namespace zpaq {

int componentDescriptorSize(int type)
{
    static const int sizes[10] = {0, 2, 3, 2, 3, 4, 6, 6, 3, 5};
    return type >= 1 && type <= 9 ? sizes[type] : 0;
}

namespace {

void checkExponent(unsigned e, const char *what)
{
    ZPAQ_CHECK(e <= kMaxSizeExponent, "block header: %s size exponent %u is too large", what, e);
}

void checkInput(unsigned input, std::size_t index, const char *name)
{
    ZPAQ_CHECK(input < index, "block header: component %zu (%s) reads component %u, which is not an earlier one",
               index, name, input);
}

// Validates a descriptor against its position and returns its memory.
std::uint64_t checkComponent(const ComponentSpec &c, std::size_t i)
{
    const std::uint8_t *p = c.p;
    switch (c.type) {
    case ComponentType::Const: return 0;
    case ComponentType::Cm:
        checkExponent(p[0], "CM");
        return std::uint64_t(4) << p[0];
    case ComponentType::Icm:
        ZPAQ_CHECK(p[0] <= kMaxHashSlotExponent, "block header: ICM table exponent %u is above %u", p[0],
                   kMaxHashSlotExponent);
        return (std::uint64_t(64) << p[0]) + 1024;
    case ComponentType::Match:
        checkExponent(p[0], "MATCH index");
        checkExponent(p[1], "MATCH buffer");
        return (std::uint64_t(4) << p[0]) + (std::uint64_t(1) << p[1]);
    case ComponentType::Avg:
        checkInput(p[0], i, "AVG");
        checkInput(p[1], i, "AVG");
        return 0;
    case ComponentType::Mix2:
        checkExponent(p[0], "MIX2");
        checkInput(p[1], i, "MIX2");
        checkInput(p[2], i, "MIX2");
        return std::uint64_t(2) << p[0];
    case ComponentType::Mix:
        checkExponent(p[0], "MIX");
        ZPAQ_CHECK(p[2] >= 1, "block header: MIX component %zu mixes no inputs", i);
        ZPAQ_CHECK(std::size_t(p[1]) + p[2] <= i,
                   "block header: component %zu (MIX) reads components %u..%u, not all earlier ones",
                   i, p[1], p[1] + p[2] - 1);
        return (std::uint64_t(4) * p[2]) << p[0];
    case ComponentType::Isse:
        ZPAQ_CHECK(p[0] <= kMaxHashSlotExponent, "block header: ISSE table exponent %u is above %u",
                   p[0], kMaxHashSlotExponent);
        checkInput(p[1], i, "ISSE");
        return (std::uint64_t(64) << p[0]) + 2048;
    case ComponentType::Sse:
        checkExponent(p[0], "SSE");
        checkInput(p[1], i, "SSE");
        return std::uint64_t(128) << p[0];
    }
    return 0;
}

} // namespace

std::uint64_t blockMemory(const BlockHeader &header)
{
    std::uint64_t total = (std::uint64_t(4) << header.hh) + (std::uint64_t(1) << header.hm) +
                          (std::uint64_t(4) << header.ph) + (std::uint64_t(1) << header.pm);
    for (std::size_t i = 0; i < header.components.size(); ++i)
        total += checkComponent(header.components[i], i);
    return total;
}

BlockHeader parseBlockHeader(ByteReader &in)
{
    const std::size_t start = in.offset();
    const std::uint8_t *magic = in.inBytes(3, "block header");
    ZPAQ_CHECK(magic[0] == 'z' && magic[1] == 'P' && magic[2] == 'Q',
               "bad block magic at offset %zu", start);
    BlockHeader h;
    h.level = in.inNext("block header");
    ZPAQ_CHECK(h.level == 1 || h.level == 2, "unsupported block level %d at offset %zu", h.level,
               start);
    const int type = in.inNext("block header");
    ZPAQ_CHECK(type == 1, "unsupported block type %d at offset %zu", type, start);
    const std::size_t hsize = in.inU16le("block header");
    ZPAQ_CHECK(hsize >= 7, "block header size %zu at offset %zu is too small", hsize, start);
    ByteReader hdr(in.inBytes(hsize, "block header"), hsize, in.offset() - hsize);
    h.hh = hdr.inNext("block header");
    h.hm = hdr.inNext("block header");
    h.ph = hdr.inNext("block header");
    h.pm = hdr.inNext("block header");
    checkExponent(h.hh, "HCOMP H");
    checkExponent(h.hm, "HCOMP M");
    checkExponent(h.ph, "PCOMP H");
    checkExponent(h.pm, "PCOMP M");
    const int n = hdr.inNext("block header");
    ZPAQ_CHECK(n > 0 || h.level == 2 || !kRefuseLevel1WithoutComponents,
               "level-1 block at offset %zu has no components", start);
    for (int i = 0; i < n; ++i) {
        const int t = hdr.inNext("component list");
        const int size = componentDescriptorSize(t);
        ZPAQ_CHECK(size > 0, "unknown component type %d (component %d) in block at offset %zu", t,
                   i, start);
        ComponentSpec c{ComponentType(t)};
        for (int k = 1; k < size; ++k)
            c.p[k - 1] = hdr.inNext("component descriptor");
        h.components.push_back(c);
    }
    ZPAQ_CHECK(hdr.inNext("component list") == 0,
               "component list of block at offset %zu does not end with 0", start);
    ZPAQ_CHECK(hdr.remaining() >= 1, "block at offset %zu has no HCOMP end byte", start);
    const std::size_t codeLength = hdr.remaining();
    const std::uint8_t *code = hdr.inBytes(codeLength, "HCOMP");
    h.hcomp.assign(code, code + codeLength);
    ZPAQ_CHECK(h.hcomp.back() == 0, "HCOMP of block at offset %zu does not end with 0", start);
    h.memory = blockMemory(h);
    ZPAQ_CHECK(h.memory <= kMemoryCap,
               "block at offset %zu needs %llu bytes of memory, more than the limit of %llu", start,
               static_cast<unsigned long long>(h.memory),
               static_cast<unsigned long long>(kMemoryCap));
    return h;
}

} // namespace zpaq
