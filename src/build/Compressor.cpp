#include "build/Compressor.h"

#include <cstring>
#include <memory>

#include "build/BitWriter.h"
#include "build/BlockWriter.h"

namespace sw {

namespace {

constexpr unsigned kWSize = 32768;
constexpr unsigned kWMask = kWSize - 1;
constexpr unsigned kWindowSize = 2 * kWSize;
// A match comparison runs up to 258 bytes past the current position before its length is
// cut to the bytes ahead, and the current position can come within a byte of the window's
// end once the input has ended; the slack keeps those reads inside the buffer. It stays
// zero: reads never write past the window proper.
constexpr unsigned kWindowSlack = 512;
constexpr unsigned kMinMatch = 3;
constexpr unsigned kMaxMatch = 258;
constexpr unsigned kMinLookahead = kMaxMatch + kMinMatch + 1;
constexpr unsigned kMaxDist = kWSize - kMinLookahead;  // 32,506
constexpr unsigned kHashBits = 13;
constexpr unsigned kHashSize = 1u << kHashBits;
constexpr unsigned kHashMask = kHashSize - 1;
constexpr unsigned kHashShift = 5;
constexpr unsigned kMaxChain = 4096;
constexpr unsigned kGoodMatch = 32;
constexpr unsigned kNiceMatch = 258;
constexpr unsigned kMaxLazyMatch = 258;
constexpr unsigned kTooFar = 4096;

// The number of equal bytes at a and b, at most 256 (a multiple of 8, so the word reads
// never go past a + 255 or b + 255).
inline unsigned CommonPrefix256(const std::uint8_t* a, const std::uint8_t* b)
{
    for (unsigned i = 0; i < 256; i += 8) {
        std::uint64_t x;
        std::uint64_t y;
        std::memcpy(&x, a + i, 8);
        std::memcpy(&y, b + i, 8);
        if (std::uint64_t diff = x ^ y) return i + static_cast<unsigned>(__builtin_ctzll(diff)) / 8;
    }
    return 256;
}

inline std::uint16_t Load16(const std::uint8_t* p)
{
    std::uint16_t value;
    std::memcpy(&value, p, 2);
    return value;
}

constexpr unsigned kKeyHashSize = 1u << 16;

// Three bytes folded into 16 bits: the key of the second set of chains below.
inline unsigned KeyHash(const std::uint8_t* p)
{
    unsigned key = static_cast<unsigned>(p[0]) | static_cast<unsigned>(p[1]) << 8 | static_cast<unsigned>(p[2]) << 16;
    return (key * 2654435761u) >> 16;
}

// The match finder keeps the classic 13-bit hash chains only as far as their outcome needs
// them: the newest position of each hash (head), and for every position its insertion
// number within its hash (seq), which says how far down the hash chain it lies. The search
// itself walks a second set of chains keyed by a 16-bit hash of the three bytes and visits
// only the positions whose first three bytes equal the current ones. Every other position
// of a 13-bit chain fails the first comparison anyway, so the matches found are exactly
// those of a walk down the 13-bit chain with the same candidate limits, but the walk skips
// the collisions that make up most of a 13-bit chain.
struct MatchState {
    std::uint8_t window[kWindowSize + kWindowSlack];
    std::uint16_t head[kHashSize];
    std::uint32_t bucketCount[kHashSize];
    std::uint32_t seq[kWSize];
    std::uint16_t keyHead[kKeyHashSize];
    std::uint16_t keyPrev[kWSize];
};

}  // namespace

class CCompressorInput {
public:
    virtual ~CCompressorInput() = default;
    virtual std::size_t Read(std::uint8_t* buffer, std::size_t count) = 0;
    std::uint64_t m_nConsumed = 0;
};

namespace {

class CBufferInput : public CCompressorInput {
public:
    CBufferInput(const void* data, std::size_t length) : m_data(static_cast<const std::uint8_t*>(data)), m_nLeft(length) {}
    std::size_t Read(std::uint8_t* buffer, std::size_t count) override
    {
        std::size_t n = count < m_nLeft ? count : m_nLeft;
        if (n > 0) std::memcpy(buffer, m_data, n);
        m_data += n;
        m_nLeft -= n;
        return n;
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_nLeft;
};

class CFileInput : public CCompressorInput {
public:
    explicit CFileInput(CFile& file) : m_file(file) {}
    std::size_t Read(std::uint8_t* buffer, std::size_t count) override { return m_file.Read(buffer, count); }

private:
    CFile& m_file;
};

// One run of the match finder with lazy evaluation over the sliding window.
class CDeflater {
public:
    CDeflater(CCompressorInput& input, CBitWriter& out, const CCompressor::ProgressFunction& progress, std::uint32_t userValue)
        : m_input(input), m_state(std::make_unique<MatchState>()), m_blocks(std::make_unique<CBlockWriter>(out)),
          m_progress(progress), m_nUserValue(userValue)
    {
    }

    void Run();

private:
    std::size_t Read(std::uint8_t* buffer, std::size_t count)
    {
        std::size_t n = m_input.Read(buffer, count);
        m_input.m_nConsumed += n;
        return n;
    }
    void UpdateHash(std::uint8_t c) { m_nInsH = ((m_nInsH << kHashShift) ^ c) & kHashMask; }
    // Links the string at pos into its chains and returns the previous head of its hash.
    unsigned InsertString(unsigned pos)
    {
        MatchState& state = *m_state;
        UpdateHash(state.window[pos + kMinMatch - 1]);
        unsigned chainHead = state.head[m_nInsH];
        state.head[m_nInsH] = static_cast<std::uint16_t>(pos);
        state.seq[pos & kWMask] = state.bucketCount[m_nInsH]++;
        unsigned key = KeyHash(state.window + pos);
        state.keyPrev[pos & kWMask] = state.keyHead[key];
        state.keyHead[key] = static_cast<std::uint16_t>(pos);
        return chainHead;
    }
    void FillWindow();
    // Kept out of line: the chain walk is the hot loop and wants every register to itself.
    [[gnu::noinline]] unsigned LongestMatch(unsigned curMatch);
    void FlushBlock(bool last)
    {
        const std::uint8_t* data = m_nBlockStart >= 0 ? m_state->window + m_nBlockStart : nullptr;
        m_blocks->EmitBlock(data, static_cast<long>(m_nStrStart) - m_nBlockStart, last);
    }

    CCompressorInput& m_input;
    std::unique_ptr<MatchState> m_state;
    std::unique_ptr<CBlockWriter> m_blocks;
    const CCompressor::ProgressFunction& m_progress;
    std::uint32_t m_nUserValue;

    unsigned m_nStrStart = 0;
    unsigned m_nLookahead = 0;
    unsigned m_nMatchStart = 0;
    unsigned m_nPrevLength = 0;
    unsigned m_nInsH = 0;
    long m_nBlockStart = 0;
    bool m_bEof = false;
};

void CDeflater::FillWindow()
{
    unsigned more = kWindowSize - m_nLookahead - m_nStrStart;
    if (m_nStrStart >= kWSize + kMaxDist) {
        // Slide: the upper half moves down and stays as it was up there too.
        std::memcpy(m_state->window, m_state->window + kWSize, kWSize);
        m_nMatchStart -= kWSize;
        m_nStrStart -= kWSize;
        m_nBlockStart -= static_cast<long>(kWSize);
        for (std::uint16_t& entry : m_state->head) entry = static_cast<std::uint16_t>(entry >= kWSize ? entry - kWSize : 0);
        for (std::uint16_t& entry : m_state->keyHead) entry = static_cast<std::uint16_t>(entry >= kWSize ? entry - kWSize : 0);
        for (std::uint16_t& entry : m_state->keyPrev) entry = static_cast<std::uint16_t>(entry >= kWSize ? entry - kWSize : 0);
        more += kWSize;
    }
    std::size_t n = Read(m_state->window + m_nStrStart + m_nLookahead, more);
    if (n == 0)
        m_bEof = true;
    else
        m_nLookahead += static_cast<unsigned>(n);
    if (m_progress) m_progress(m_input.m_nConsumed, m_nUserValue);
}

unsigned CDeflater::LongestMatch(unsigned chainHead)
{
    const MatchState& state = *m_state;
    const std::uint8_t* window = state.window;
    // Candidates down the hash chain: at most 4,096 (a quarter once the previous match is
    // good), the first one always, the others only while newer than the limit.
    const std::uint32_t chainLimit = m_nPrevLength >= kGoodMatch ? kMaxChain >> 2 : kMaxChain;
    const std::uint8_t* scan = window + m_nStrStart;
    unsigned bestLen = m_nPrevLength;
    unsigned limit = m_nStrStart > kMaxDist ? m_nStrStart - kMaxDist : 0;
    // The two bytes that end the best match so far, and the three that start every match.
    std::uint16_t scanEnd = Load16(scan + bestLen - 1);
    const std::uint16_t scanStart = Load16(scan);
    const std::uint8_t scanThird = scan[2];

    // The newest earlier position of the same key: the current position is already linked.
    for (unsigned cur = state.keyPrev[m_nStrStart & kWMask]; cur != 0; cur = state.keyPrev[cur & kWMask]) {
        if (cur <= limit && cur != chainHead) break;
        const std::uint8_t* match = window + cur;
        if (Load16(match) != scanStart || match[2] != scanThird) continue;  // another key of the same hash
        if (state.seq[chainHead & kWMask] - state.seq[cur & kWMask] >= chainLimit) break;
        if (Load16(match + bestLen - 1) != scanEnd) continue;
        unsigned len = 2 + CommonPrefix256(scan + 2, match + 2);
        if (len > bestLen) {
            m_nMatchStart = cur;
            bestLen = len;
            if (len >= kNiceMatch) break;
            scanEnd = Load16(scan + bestLen - 1);
        }
    }
    return bestLen;
}

void CDeflater::Run()
{
    m_nLookahead = static_cast<unsigned>(Read(m_state->window, kWSize));
    if (m_nLookahead == 0) {
        m_bEof = true;
    } else {
        while (m_nLookahead < kMinLookahead && !m_bEof) FillWindow();
    }
    m_nInsH = 0;
    UpdateHash(m_state->window[0]);
    UpdateHash(m_state->window[1]);

    bool matchAvailable = false;
    unsigned matchLength = kMinMatch - 1;
    while (m_nLookahead != 0) {
        unsigned hashHead = InsertString(m_nStrStart);
        m_nPrevLength = matchLength;
        unsigned prevMatch = m_nMatchStart;
        matchLength = kMinMatch - 1;

        if (hashHead != 0 && m_nPrevLength < kMaxLazyMatch && m_nStrStart - hashHead <= kMaxDist) {
            matchLength = LongestMatch(hashHead);
            if (matchLength > m_nLookahead) matchLength = m_nLookahead;
            if (matchLength == kMinMatch && m_nStrStart - m_nMatchStart > kTooFar) matchLength--;
        }

        if (m_nPrevLength >= kMinMatch && matchLength <= m_nPrevLength) {
            bool flush = m_blocks->TallyMatch(m_nStrStart - 1 - prevMatch, m_nPrevLength,
                                              static_cast<long>(m_nStrStart) - m_nBlockStart);
            m_nLookahead -= m_nPrevLength - 1;
            m_nPrevLength -= 2;
            do {
                m_nStrStart++;
                InsertString(m_nStrStart);
            } while (--m_nPrevLength != 0);
            matchAvailable = false;
            matchLength = kMinMatch - 1;
            m_nStrStart++;
            if (flush) {
                FlushBlock(false);
                m_nBlockStart = m_nStrStart;
            }
        } else if (matchAvailable) {
            if (m_blocks->TallyLiteral(m_state->window[m_nStrStart - 1], static_cast<long>(m_nStrStart) - m_nBlockStart)) {
                FlushBlock(false);
                m_nBlockStart = m_nStrStart;
            }
            m_nStrStart++;
            m_nLookahead--;
        } else {
            matchAvailable = true;
            m_nStrStart++;
            m_nLookahead--;
        }
        while (m_nLookahead < kMinLookahead && !m_bEof) FillWindow();
    }
    if (matchAvailable)
        m_blocks->TallyLiteral(m_state->window[m_nStrStart - 1], static_cast<long>(m_nStrStart) - m_nBlockStart);
    FlushBlock(true);
}

}  // namespace

void CCompressor::Compress(CFile& output, CCompressorInput& input)
{
    auto out = std::make_unique<CBitWriter>(output);
    CDeflater(input, *out, m_progress, m_nUserValue).Run();
    out->Flush();
}

void CCompressor::CompressBuffer(CFile& output, const void* data, std::size_t length)
{
    CBufferInput input(data, length);
    Compress(output, input);
}

void CCompressor::CompressFile(CFile& output, CFile& input)
{
    CFileInput source(input);
    Compress(output, source);
}

}  // namespace sw
