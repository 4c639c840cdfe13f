// A block header: level, the memory sizes of both machines, the component
// descriptors and the HCOMP program. Parsing checks every field and the
// memory the block will ask for, before anything is allocated.
#pragma once

#include "archive/byte_reader.h"

#include <cstdint>
#include <vector>

namespace zpaq {

enum class ComponentType : std::uint8_t {
    Const = 1,
    Cm = 2,
    Icm = 3,
    Match = 4,
    Avg = 5,
    Mix2 = 6,
    Mix = 7,
    Isse = 8,
    Sse = 9,
};

/// One component descriptor: its type and up to five parameter bytes, in
/// the order the archive stores them.
struct ComponentSpec
{
    ComponentType type;
    std::uint8_t p[5] = {};
};

/// Number of bytes of a descriptor of `type` including the type byte, or 0
/// for an unknown type.
int componentDescriptorSize(int type);

struct BlockHeader
{
    int level = 0;
    unsigned hh = 0, hm = 0, ph = 0, pm = 0;
    std::vector<ComponentSpec> components;
    /// HCOMP including its final 0 byte.
    std::vector<std::uint8_t> hcomp;
    /// Bytes the block's models and machines need (checked against the cap).
    std::uint64_t memory = 0;
};

/// Parses a header starting at "zPQ". Throws DecodeError on a bad magic,
/// level, type or size, an unknown component, an input that is not an
/// earlier component, or memory above the cap.
BlockHeader parseBlockHeader(ByteReader &in);

/// Memory estimate of a header's machines and components.
std::uint64_t blockMemory(const BlockHeader &header);

} // namespace zpaq
