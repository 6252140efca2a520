#include "core/StreamDecoder.h"

#include <cstring>

namespace sw {

using detail::DecoderState;
using detail::EntryCodeBits;
using detail::EntryExtraBits;
using detail::EntryValue;
using detail::kEntryEnd;
using detail::kEntryLink;
using detail::kEntryLiteral;
using detail::kEntryMatch;

namespace {

// ---- Code tables ----

struct EntryTemplates {
    std::uint32_t literalLength[kFixedLiteralLengthCodes];
    std::uint32_t distance[kFixedDistanceCodes];
    std::uint32_t codeLength[kCodeLengthCodes];
};

constexpr std::uint32_t MatchEntry(unsigned base, unsigned extraBits)
{
    return kEntryMatch | (extraBits << 4) | (static_cast<std::uint32_t>(base) << 16);
}

constexpr EntryTemplates MakeTemplates()
{
    EntryTemplates t{};
    for (unsigned s = 0; s < 256; ++s) t.literalLength[s] = kEntryLiteral | (s << 16);
    t.literalLength[kEndOfBlock] = kEntryEnd;
    for (unsigned s = kFirstLengthSymbol; s < kLiteralLengthSymbols; ++s) {
        t.literalLength[s] = MatchEntry(kLengthBase[s - kFirstLengthSymbol],
                                        kLengthExtraBits[s - kFirstLengthSymbol]);
    }
    // 286 and 287 keep 0: they have fixed codes but may not occur; likewise distances 30, 31.
    for (unsigned s = 0; s < kDistanceSymbols; ++s) {
        t.distance[s] = MatchEntry(kDistanceBase[s], kDistanceExtraBits[s]);
    }
    for (unsigned s = 0; s < kCodeLengthCodes; ++s) t.codeLength[s] = kEntryLiteral | (s << 16);
    return t;
}

constexpr EntryTemplates kTemplates = MakeTemplates();

struct FixedTables {
    std::uint32_t literal[std::size_t(1) << detail::kLiteralRootBits];
    std::uint32_t distance[std::size_t(1) << detail::kDistanceRootBits];
};

constexpr FixedTables MakeFixedTables()
{
    FixedTables t{};
    std::uint8_t lengths[kFixedLiteralLengthCodes] = {};
    for (unsigned s = 0; s < kFixedLiteralLengthCodes; ++s) {
        lengths[s] = static_cast<std::uint8_t>(FixedLiteralLengthBits(s));
    }
    // Both codes are complete and no longer than the root, so neither can fail or link.
    detail::BuildTable(t.literal, sizeof t.literal / sizeof t.literal[0], detail::kLiteralRootBits, lengths,
                       kFixedLiteralLengthCodes, kTemplates.literalLength, false);
    for (unsigned s = 0; s < kFixedDistanceCodes; ++s) lengths[s] = kFixedDistanceBits;
    detail::BuildTable(t.distance, sizeof t.distance / sizeof t.distance[0], detail::kDistanceRootBits, lengths,
                       kFixedDistanceCodes, kTemplates.distance, false);
    return t;
}

constexpr FixedTables kFixedTables = MakeFixedTables();

// ---- Bit reader ----

constexpr std::uint32_t LowBits(unsigned n) { return (std::uint32_t(1) << n) - 1; }

inline std::uint64_t LoadLittleEndian64(const std::uint8_t* p)
{
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    std::uint64_t word;
    std::memcpy(&word, p, sizeof word);
    return word;
#else
    std::uint64_t word = 0;
    for (unsigned i = 0; i < 8; ++i) word |= std::uint64_t(p[i]) << (8 * i);
    return word;
#endif
}

inline unsigned TakeBits(DecoderState& s, unsigned n)
{
    const unsigned value = static_cast<unsigned>(s.bits) & LowBits(n);
    s.bits >>= n;
    s.bitCount -= n;
    return value;
}

// One more byte into the bit buffer; false at the end of the input.
template <class Io>
inline bool PullByte(DecoderState& s, Io& io)
{
    if (s.in == s.inEnd && !io.Fetch(s)) return false;
    s.bits |= std::uint64_t(*s.in++) << s.bitCount;
    s.bitCount += 8;
    return true;
}

template <class Io>
inline bool NeedBits(DecoderState& s, Io& io, unsigned n)
{
    while (s.bitCount < n) {
        if (!PullByte(s, io)) return false;
    }
    return true;
}

// Looks up the next code without taking its bits; false when the input ends inside it.
// Bits above bitCount may be anything here: an entry is only believed once its code fits
// in the counted bits, and then the bits it was found by are all real.
template <class Io>
bool PeekSymbol(DecoderState& s, Io& io, const std::uint32_t* table, unsigned rootBits,
                std::uint32_t& entry)
{
    for (;;) {
        entry = table[s.bits & LowBits(rootBits)];
        if (entry & kEntryLink) {
            entry = table[EntryValue(entry) + ((s.bits >> rootBits) & LowBits(EntryCodeBits(entry)))];
        }
        if (EntryCodeBits(entry) <= s.bitCount) return true;
        if (!PullByte(s, io)) return false;
    }
}

// ---- Blocks ----

template <class Io>
DecodeStatus StoredBlock(DecoderState& s, Io& io)
{
    TakeBits(s, s.bitCount & 7);
    if (!NeedBits(s, io, 16)) return DecodeStatus::truncatedInput;
    std::size_t length = TakeBits(s, 16);
    // Whole bytes already in the bit buffer come first.
    while (length != 0 && s.bitCount != 0) {
        if (s.out == s.outLimit) {
            const DecodeStatus status = io.MakeRoom(s, 1);
            if (status != DecodeStatus::ok) return status;
        }
        *s.out++ = static_cast<std::uint8_t>(TakeBits(s, 8));
        --length;
    }
    if (length == 0) return DecodeStatus::ok;
    // The rest is copied straight from the input, past the bit buffer, which therefore
    // must not keep the copy of the next byte's bits that a fast refill may leave.
    s.bits = 0;
    while (length != 0) {
        if (s.in == s.inEnd && !io.Fetch(s)) return DecodeStatus::truncatedInput;
        if (s.out == s.outLimit) {
            const DecodeStatus status = io.MakeRoom(s, 1);
            if (status != DecodeStatus::ok) return status;
        }
        std::size_t n = length;
        if (n > static_cast<std::size_t>(s.inEnd - s.in)) n = static_cast<std::size_t>(s.inEnd - s.in);
        if (n > static_cast<std::size_t>(s.outLimit - s.out)) n = static_cast<std::size_t>(s.outLimit - s.out);
        std::memcpy(s.out, s.in, n);
        s.out += n;
        s.in += n;
        length -= n;
    }
    return DecodeStatus::ok;
}

template <class Io>
DecodeStatus DynamicTables(DecoderState& s, Io& io)
{
    if (!NeedBits(s, io, kHlitBits + kHdistBits + kHclenBits)) return DecodeStatus::truncatedInput;
    const unsigned literalCodes = TakeBits(s, kHlitBits) + kFirstLengthSymbol;
    const unsigned distanceCodes = TakeBits(s, kHdistBits) + 1;
    const unsigned codeLengthCodes = TakeBits(s, kHclenBits) + 4;
    if (literalCodes > kLiteralLengthSymbols || distanceCodes > kDistanceSymbols) {
        return DecodeStatus::invalidCodeLengths;
    }

    std::uint8_t codeLengthLengths[kCodeLengthCodes] = {};
    for (unsigned i = 0; i < codeLengthCodes; ++i) {
        if (!NeedBits(s, io, kCodeLengthCodeBits)) return DecodeStatus::truncatedInput;
        codeLengthLengths[kCodeLengthOrder[i]] = static_cast<std::uint8_t>(TakeBits(s, kCodeLengthCodeBits));
    }
    if (!detail::BuildTable(s.codeLengthCodes, detail::kCodeLengthTableSize, detail::kCodeLengthRootBits,
                            codeLengthLengths, kCodeLengthCodes, kTemplates.codeLength, false)) {
        return DecodeStatus::invalidCodeLengths;
    }

    const unsigned total = literalCodes + distanceCodes;
    for (unsigned i = 0; i < total;) {
        std::uint32_t entry;
        if (!PeekSymbol(s, io, s.codeLengthCodes, detail::kCodeLengthRootBits, entry)) {
            return DecodeStatus::truncatedInput;
        }
        TakeBits(s, EntryCodeBits(entry));
        const unsigned symbol = EntryValue(entry);
        if (symbol < kRepeatPrevious) {
            s.lengths[i++] = static_cast<std::uint8_t>(symbol);
            continue;
        }
        std::uint8_t value = 0;
        unsigned repeat;
        if (symbol == kRepeatPrevious) {
            if (i == 0) return DecodeStatus::invalidCodeLengths;
            value = s.lengths[i - 1];
            if (!NeedBits(s, io, 2)) return DecodeStatus::truncatedInput;
            repeat = 3 + TakeBits(s, 2);
        } else if (symbol == kRepeatZeroShort) {
            if (!NeedBits(s, io, 3)) return DecodeStatus::truncatedInput;
            repeat = 3 + TakeBits(s, 3);
        } else {
            if (!NeedBits(s, io, 7)) return DecodeStatus::truncatedInput;
            repeat = 11 + TakeBits(s, 7);
        }
        if (repeat > total - i) return DecodeStatus::invalidCodeLengths;
        std::memset(s.lengths + i, value, repeat);
        i += repeat;
    }
    // A block that cannot end is refused here rather than when the input runs out.
    if (s.lengths[kEndOfBlock] == 0) return DecodeStatus::invalidCodeLengths;
    if (!detail::BuildTable(s.literalCodes, detail::kLiteralTableSize, detail::kLiteralRootBits, s.lengths,
                            literalCodes, kTemplates.literalLength, false) ||
        !detail::BuildTable(s.distanceCodes, detail::kDistanceTableSize, detail::kDistanceRootBits,
                            s.lengths + literalCodes, distanceCodes, kTemplates.distance, true)) {
        return DecodeStatus::invalidCodeLengths;
    }
    s.literalTable = s.literalCodes;
    s.distanceTable = s.distanceCodes;
    return DecodeStatus::ok;
}

// The fast loop runs while one refill cannot pass the end of the input and one symbol
// cannot pass the end of the room (a match copy may write up to 15 bytes beyond its
// length; they are overwritten by the output that follows).
constexpr std::size_t kFastInput = 16;
constexpr std::size_t kFastRoom = kMaxMatch + 16;

enum class FastExit { margin, endOfBlock, error };

// Decodes symbols while the margins hold. After a refill the buffer has 56 bits or more:
// enough for three literals (15 bits each), or for a length code with its extra bits and
// a distance code with its extra bits (15 + 5 + 15 + 13).
FastExit FastLoop(DecoderState& s, DecodeStatus& error)
{
    const std::uint32_t* const literals = s.literalTable;
    const std::uint32_t* const distances = s.distanceTable;
    const std::uint8_t* in = s.in;
    const std::uint8_t* const inEnd = s.inEnd;
    std::uint8_t* out = s.out;
    std::uint8_t* const outLimit = s.outLimit;
    std::uint8_t* const outFloor = s.outFloor;
    std::uint64_t bits = s.bits;
    unsigned bitCount = s.bitCount;

    auto refill = [&] {
        // Loads whole bytes up to 56-63 bits; the part of the next byte that also lands
        // in the buffer is loaded again, the same, by the next refill.
        bits |= LoadLittleEndian64(in) << bitCount;
        in += (63 - bitCount) >> 3;
        bitCount |= 56;
    };
    auto lookup = [&](const std::uint32_t* table, unsigned rootBits) {
        std::uint32_t entry = table[bits & LowBits(rootBits)];
        if (entry & kEntryLink) {
            entry = table[EntryValue(entry) + ((bits >> rootBits) & LowBits(EntryCodeBits(entry)))];
        }
        return entry;
    };
    auto take = [&](unsigned n) {
        bits >>= n;
        bitCount -= n;
    };

    FastExit exit = FastExit::margin;
    while (static_cast<std::size_t>(inEnd - in) >= kFastInput &&
           static_cast<std::size_t>(outLimit - out) >= kFastRoom) {
        refill();
        std::uint32_t entry = lookup(literals, detail::kLiteralRootBits);
        if (entry & kEntryLiteral) {
            take(EntryCodeBits(entry));
            *out++ = static_cast<std::uint8_t>(EntryValue(entry));
            entry = lookup(literals, detail::kLiteralRootBits);
            if (entry & kEntryLiteral) {
                take(EntryCodeBits(entry));
                *out++ = static_cast<std::uint8_t>(EntryValue(entry));
                entry = lookup(literals, detail::kLiteralRootBits);
                if (entry & kEntryLiteral) {
                    take(EntryCodeBits(entry));
                    *out++ = static_cast<std::uint8_t>(EntryValue(entry));
                    continue;
                }
            }
            // The entry was found by bits below bitCount, which a refill leaves alone.
            refill();
        }
        if (entry & kEntryMatch) {
            unsigned codeBits = EntryCodeBits(entry);
            unsigned extraBits = EntryExtraBits(entry);
            const std::size_t length =
                EntryValue(entry) + ((static_cast<unsigned>(bits) >> codeBits) & LowBits(extraBits));
            take(codeBits + extraBits);
            entry = lookup(distances, detail::kDistanceRootBits);
            if (!(entry & kEntryMatch)) {
                error = DecodeStatus::invalidSymbol;
                exit = FastExit::error;
                break;
            }
            codeBits = EntryCodeBits(entry);
            extraBits = EntryExtraBits(entry);
            const std::size_t distance =
                EntryValue(entry) + ((static_cast<unsigned>(bits) >> codeBits) & LowBits(extraBits));
            take(codeBits + extraBits);
            if (distance > static_cast<std::size_t>(out - outFloor)) {
                error = DecodeStatus::distanceTooFar;
                exit = FastExit::error;
                break;
            }
            std::uint8_t* to = out;
            const std::uint8_t* from = out - distance;
            out += length;
            if (distance >= 16) {
                do {
                    std::memcpy(to, from, 16);
                    to += 16;
                    from += 16;
                } while (to < out);
            } else if (distance >= 8) {
                do {
                    std::memcpy(to, from, 8);
                    to += 8;
                    from += 8;
                } while (to < out);
            } else if (distance == 1) {
                std::memset(to, *from, length);
            } else {
                // A short pattern: write it out one byte at a time until it spans at least
                // 8 bytes (a whole number of periods), then copy 8 bytes at a time from
                // that many bytes back, where the copy no longer overlaps itself.
                const std::size_t period = distance * ((8 + distance - 1) / distance);
                for (std::size_t i = 0; i < period; ++i) to[i] = from[i];
                to += period;
                from = to - period;
                while (to < out) {
                    std::memcpy(to, from, 8);
                    to += 8;
                    from += 8;
                }
            }
            continue;
        }
        if (entry & kEntryEnd) {
            take(EntryCodeBits(entry));
            exit = FastExit::endOfBlock;
        } else {
            error = DecodeStatus::invalidSymbol;
            exit = FastExit::error;
        }
        break;
    }
    s.in = in;
    s.out = out;
    s.bits = bits;
    s.bitCount = bitCount;
    return exit;
}

template <class Io>
DecodeStatus HuffmanBlock(DecoderState& s, Io& io)
{
    for (;;) {
        if (static_cast<std::size_t>(s.inEnd - s.in) >= kFastInput &&
            static_cast<std::size_t>(s.outLimit - s.out) >= kFastRoom) {
            DecodeStatus error = DecodeStatus::ok;
            const FastExit exit = FastLoop(s, error);
            if (exit == FastExit::endOfBlock) return DecodeStatus::ok;
            if (exit == FastExit::error) return error;
        }
        // Near the end of the input or of the room: one symbol at a time, with checks.
        std::uint32_t entry;
        if (!PeekSymbol(s, io, s.literalTable, detail::kLiteralRootBits, entry)) {
            return DecodeStatus::truncatedInput;
        }
        if (entry & kEntryLiteral) {
            TakeBits(s, EntryCodeBits(entry));
            if (s.out == s.outLimit) {
                const DecodeStatus status = io.MakeRoom(s, 1);
                if (status != DecodeStatus::ok) return status;
            }
            *s.out++ = static_cast<std::uint8_t>(EntryValue(entry));
            continue;
        }
        if (entry & kEntryEnd) {
            TakeBits(s, EntryCodeBits(entry));
            return DecodeStatus::ok;
        }
        if (!(entry & kEntryMatch)) return DecodeStatus::invalidSymbol;
        TakeBits(s, EntryCodeBits(entry));
        if (!NeedBits(s, io, EntryExtraBits(entry))) return DecodeStatus::truncatedInput;
        const std::size_t length = EntryValue(entry) + TakeBits(s, EntryExtraBits(entry));
        if (!PeekSymbol(s, io, s.distanceTable, detail::kDistanceRootBits, entry)) {
            return DecodeStatus::truncatedInput;
        }
        if (!(entry & kEntryMatch)) return DecodeStatus::invalidSymbol;
        TakeBits(s, EntryCodeBits(entry));
        if (!NeedBits(s, io, EntryExtraBits(entry))) return DecodeStatus::truncatedInput;
        const std::size_t distance = EntryValue(entry) + TakeBits(s, EntryExtraBits(entry));
        if (distance > static_cast<std::size_t>(s.out - s.outFloor)) return DecodeStatus::distanceTooFar;
        if (static_cast<std::size_t>(s.outLimit - s.out) < length) {
            const DecodeStatus status = io.MakeRoom(s, length);
            if (status != DecodeStatus::ok) return status;
        }
        const std::uint8_t* from = s.out - distance;
        for (std::size_t i = 0; i < length; ++i) s.out[i] = from[i];
        s.out += length;
    }
}

template <class Io>
DecodeStatus DecodeBlocks(DecoderState& s, Io& io)
{
    for (;;) {
        if (!NeedBits(s, io, kBlockHeaderBits)) return DecodeStatus::truncatedInput;
        const unsigned header = TakeBits(s, kBlockHeaderBits);
        DecodeStatus status;
        switch (header & kBlockTypeMask) {
        case kBlockStored:
            status = StoredBlock(s, io);
            break;
        case kBlockFixed:
            s.literalTable = kFixedTables.literal;
            s.distanceTable = kFixedTables.distance;
            status = HuffmanBlock(s, io);
            break;
        case kBlockDynamic:
            status = DynamicTables(s, io);
            if (status == DecodeStatus::ok) status = HuffmanBlock(s, io);
            break;
        default:
            return DecodeStatus::invalidBlockType;
        }
        if (status != DecodeStatus::ok) return status;
        if (header & kBlockLastFlag) return DecodeStatus::ok;
    }
}

// The whole stream and the whole output are in memory: nothing to fetch, no room to make.
struct MemoryIo {
    bool Fetch(DecoderState&) { return false; }
    DecodeStatus MakeRoom(DecoderState&, std::size_t) { return DecodeStatus::outputOverflow; }
};

}  // namespace

const char* DecodeStatusName(DecodeStatus status)
{
    switch (status) {
    case DecodeStatus::ok: return "ok";
    case DecodeStatus::truncatedInput: return "truncated input";
    case DecodeStatus::invalidBlockType: return "invalid block type";
    case DecodeStatus::invalidCodeLengths: return "invalid code lengths";
    case DecodeStatus::invalidSymbol: return "invalid symbol";
    case DecodeStatus::distanceTooFar: return "distance too far back";
    case DecodeStatus::outputOverflow: return "output overflow";
    case DecodeStatus::outputShort: return "output short";
    case DecodeStatus::writeAborted: return "write aborted";
    }
    return "unknown status";
}

DecodeResult DecodeStream(const std::uint8_t* input, std::size_t inputSize, std::uint8_t* output,
                          std::size_t outputSize)
{
    DecoderState s;
    s.in = input;
    s.inEnd = input + inputSize;
    s.bits = 0;
    s.bitCount = 0;
    s.outFloor = output;
    s.out = output;
    s.outLimit = output + outputSize;
    s.literalTable = kFixedTables.literal;
    s.distanceTable = kFixedTables.distance;
    MemoryIo io;
    DecodeResult result;
    result.status = DecodeBlocks(s, io);
    result.inputUsed = static_cast<std::size_t>(s.in - input) - s.bitCount / 8;
    result.outputUsed = static_cast<std::size_t>(s.out - output);
    if (result.status == DecodeStatus::ok && result.outputUsed != outputSize) {
        result.status = DecodeStatus::outputShort;
    }
    return result;
}

// The window: output is decoded into it until it is full, then written, and its last
// 32 KiB move to the front as the history the next matches copy from.
struct CStreamDecoder::Io {
    CStreamDecoder& d;

    bool Fetch(DecoderState& s)
    {
        if (d.m_inputEnded) return false;
        std::size_t n = d.m_read(d.m_readContext, d.m_input, kInputBufferSize);
        if (n == 0) {
            d.m_inputEnded = true;
            return false;
        }
        if (n > kInputBufferSize) n = kInputBufferSize;  // the reader cannot have written more
        d.m_inputRead += n;
        s.in = d.m_input;
        s.inEnd = d.m_input + n;
        return true;
    }

    bool Flush(DecoderState& s)
    {
        const std::size_t n = static_cast<std::size_t>(s.out - d.m_pending);
        if (n == 0) return true;
        if (!d.m_write(d.m_writeContext, d.m_pending, n)) return false;
        d.m_outputWritten += n;
        d.m_pending = s.out;
        return true;
    }

    DecodeStatus MakeRoom(DecoderState& s, std::size_t needed)
    {
        const std::size_t used = static_cast<std::size_t>(s.out - d.m_window);
        const std::uint64_t remaining = d.m_outputSize - (d.m_windowStart + used);
        if (remaining < needed) return DecodeStatus::outputOverflow;
        if (!Flush(s)) return DecodeStatus::writeAborted;
        const std::size_t keep = used < kMaxDistance ? used : kMaxDistance;
        std::memmove(d.m_window, s.out - keep, keep);
        d.m_windowStart += used - keep;
        s.out = d.m_window + keep;
        s.outFloor = d.m_window;
        d.m_pending = s.out;
        SetLimit(s);
        return DecodeStatus::ok;
    }

    void SetLimit(DecoderState& s)
    {
        const std::size_t used = static_cast<std::size_t>(s.out - d.m_window);
        const std::uint64_t remaining = d.m_outputSize - (d.m_windowStart + used);
        std::size_t room = kWindowSize - used;
        if (remaining < room) room = static_cast<std::size_t>(remaining);
        s.outLimit = s.out + room;
    }
};

DecodeStatus CStreamDecoder::Decode(StreamReadFn read, void* readContext, StreamWriteFn write,
                                    void* writeContext, std::uint64_t outputSize)
{
    m_read = read;
    m_readContext = readContext;
    m_write = write;
    m_writeContext = writeContext;
    m_outputSize = outputSize;
    m_windowStart = 0;
    m_pending = m_window;
    m_inputRead = 0;
    m_inputEnded = false;
    m_outputWritten = 0;

    DecoderState& s = m_state;
    s.in = m_input;
    s.inEnd = m_input;
    s.bits = 0;
    s.bitCount = 0;
    s.outFloor = m_window;
    s.out = m_window;
    s.literalTable = kFixedTables.literal;
    s.distanceTable = kFixedTables.distance;
    Io io{*this};
    io.SetLimit(s);

    DecodeStatus status = DecodeBlocks(s, io);
    m_inputUsed = m_inputRead - static_cast<std::size_t>(s.inEnd - s.in) - s.bitCount / 8;
    if (status == DecodeStatus::ok) {
        const std::uint64_t decoded = m_windowStart + static_cast<std::size_t>(s.out - m_window);
        if (decoded != m_outputSize) {
            status = DecodeStatus::outputShort;
        } else if (!io.Flush(s)) {
            status = DecodeStatus::writeAborted;
        }
    }
    return status;
}

}  // namespace sw
