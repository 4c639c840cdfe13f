// Every decoder choice that rests on a believed or still open point of the
// archive format, and every limit we impose on untrusted archives, in one
// place so that a later correction touches this file only.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zpaq {

// ---- Limits for untrusted input -------------------------------------------

/// Memory that the blocks being decoded at one time may ask for together
/// (models, history buffers and both virtual machines). A single block that
/// asks for more is refused before anything is allocated.
constexpr std::uint64_t kMemoryCap = std::uint64_t(1) << 30; // 1 GiB

/// Instruction allowance of a ZPAQL program over a whole block: it starts at
/// kInstructionBudget, grows by kInstructionsPerCall with every call and by
/// kInstructionsPerOutput with every byte OUT writes, and what a call leaves
/// unused carries over (an inverse transform may do all its work at the end
/// of a segment). A program that runs out counts as endless, so a damaged
/// block cannot make every one of its bytes cost millions of instructions.
/// The allowances are far above what any real model or transform spends,
/// and low enough that the largest output a segment may state costs minutes
/// at worst, not hours (HCOMP is called once per decoded byte).
constexpr std::uint64_t kInstructionBudget = std::uint64_t(1) << 24;
constexpr std::uint64_t kInstructionsPerCall = std::uint64_t(1) << 10;
constexpr std::uint64_t kInstructionsPerOutput = 256;

/// A post-processor may read at most this many decoded bytes per byte it
/// writes, plus the slack (real transforms write about as much as they read
/// or more). Otherwise a tiny archive could decode without end while it
/// writes nothing, since only output is bounded by a segment's stated size.
constexpr std::uint64_t kPostInputPerOutput = 4;
constexpr std::uint64_t kPostInputSlack = std::uint64_t(1) << 20;

/// Bytes one PCOMP call may write with OUT; a loop that keeps writing is
/// stopped here, where no per-call allowance stops it.
constexpr std::uint64_t kMaxOutputPerCall = std::uint64_t(1) << 24;

/// Largest decoded size of a c, h or i block (held in memory while the
/// index is read).
constexpr std::uint64_t kMaxIndexBlockBytes = std::uint64_t(64) << 20;

/// Memory the archive's index may hold for the whole archive: the fragment
/// table, the fragment numbering, the index records of the files with their
/// references (and, while planning, where each reference goes), and the
/// layouts of the blocks kept for decoding.
constexpr std::uint64_t kIndexMemoryBudget = std::uint64_t(256) << 20;

/// Longest name (after mapping) and most folders a name may pass through.
constexpr std::size_t kMaxNameBytes = 4095;
constexpr std::size_t kMaxNameDepth = 128;

/// Size exponents above this are invalid in any header field.
constexpr unsigned kMaxSizeExponent = 32;

/// Largest table exponent of the hash-slot components (ICM, ISSE).
constexpr unsigned kMaxHashSlotExponent = 26;

// ---- Arithmetic decoder ------------------------------------------------------

/// Starting value of `low` at a block start (1 or 0 decode the same real
/// archives).
constexpr std::uint32_t kCoderInitialLow = 1;

/// Whether `low` that shifts to 0 is set to 1.
constexpr bool kCoderLowNeverZero = true;

// ---- ZPAQL -----------------------------------------------------------------

/// HASH: A = (A + *B + kHashAdd) * kHashMul; HASHD likewise on *D.
constexpr std::uint32_t kHashAdd = 512;
constexpr std::uint32_t kHashMul = 773;

// ---- Components ------------------------------------------------------------

/// MIX2: error scaling shift and weight step rounding (open point).
constexpr int kMix2ErrShift = 5;
constexpr int kMix2StepShift = 13;

/// CM and SSE: counts stop growing at limit * kCountLimitScale.
constexpr int kCountLimitScale = 4;

/// MATCH: longest match length counted.
constexpr int kMatchMaxLen = 255;

// ---- Container -------------------------------------------------------------

/// A modelled segment ends in a run of at least four zero bytes that the
/// coder never produces inside its data; the scanner finds segment ends by it.
constexpr int kModelledEndZeros = 4;

/// A segment whose comment starts with a decimal number (its file size, or
/// the decoded size of a journaling block) may not produce more output than
/// that; less is allowed, since a file may continue in later segments.
constexpr bool kCommentSizeBoundsOutput = true;

/// A level-1 block without components is refused.
constexpr bool kRefuseLevel1WithoutComponents = true;

// ---- Journaling ------------------------------------------------------------

/// A c block with negative csize marks an unfinished transaction: it and
/// everything after it are ignored (with a warning).
constexpr bool kStopAtNegativeCsize = true;

} // namespace zpaq
