#include "runtime/StreamTestSupport.h"

#include <zlib.h>

#include <algorithm>
#include <memory>
#include <ostream>
#include <stdexcept>

#include <gtest/gtest.h>

namespace sw {
void PrintTo(DecodeStatus status, std::ostream* os) { *os << DecodeStatusName(status); }
}  // namespace sw

namespace sw::test {

Bytes ToBytes(const std::string& text) { return Bytes(text.begin(), text.end()); }
std::string ToString(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

// ---- Writing ----

BitWriter& BitWriter::Bits(unsigned value, unsigned count)
{
    for (unsigned i = 0; i < count; ++i) {
        if (m_bitCount == 0) m_bytes.push_back(0);
        m_bytes.back() = static_cast<std::uint8_t>(m_bytes.back() | (((value >> i) & 1u) << m_bitCount));
        m_bitCount = (m_bitCount + 1) % 8;
    }
    return *this;
}

BitWriter& BitWriter::Code(unsigned code, unsigned length)
{
    for (unsigned i = length; i-- > 0;) Bits((code >> i) & 1u, 1);
    return *this;
}

BitWriter& BitWriter::Align()
{
    if (m_bitCount != 0) Bits(0, 8 - m_bitCount);
    return *this;
}

Bytes BitWriter::Finish(unsigned padding) const
{
    Bytes bytes = m_bytes;
    if (m_bitCount != 0) {
        bytes.back() = static_cast<std::uint8_t>(bytes.back() | ((padding << m_bitCount) & 0xFF));
    }
    return bytes;
}

std::vector<unsigned> CanonicalCodes(const std::vector<std::uint8_t>& lengths)
{
    std::vector<unsigned> codes(lengths.size());
    unsigned code = 0;
    for (unsigned bits = 1; bits <= kMaxCodeBits; ++bits) {
        for (std::size_t s = 0; s < lengths.size(); ++s) {
            if (lengths[s] == bits) codes[s] = code++;
        }
        code <<= 1;
    }
    return codes;
}

HuffmanBlockWriter::HuffmanBlockWriter(BitWriter& out, std::vector<std::uint8_t> literalLengths,
                                       std::vector<std::uint8_t> distanceLengths)
    : m_out(out), m_literalLengths(std::move(literalLengths)), m_distanceLengths(std::move(distanceLengths)),
      m_literalCodes(CanonicalCodes(m_literalLengths)), m_distanceCodes(CanonicalCodes(m_distanceLengths))
{
}

HuffmanBlockWriter HuffmanBlockWriter::Fixed(BitWriter& out)
{
    std::vector<std::uint8_t> literal(kFixedLiteralLengthCodes);
    for (unsigned s = 0; s < literal.size(); ++s) literal[s] = static_cast<std::uint8_t>(FixedLiteralLengthBits(s));
    return HuffmanBlockWriter(out, literal, std::vector<std::uint8_t>(kFixedDistanceCodes, kFixedDistanceBits));
}

HuffmanBlockWriter& HuffmanBlockWriter::Symbol(unsigned symbol)
{
    if (symbol >= m_literalLengths.size() || m_literalLengths[symbol] == 0) throw std::logic_error("no code");
    m_out.Code(m_literalCodes[symbol], m_literalLengths[symbol]);
    return *this;
}

HuffmanBlockWriter& HuffmanBlockWriter::DistanceSymbol(unsigned symbol)
{
    if (symbol >= m_distanceLengths.size() || m_distanceLengths[symbol] == 0) throw std::logic_error("no code");
    m_out.Code(m_distanceCodes[symbol], m_distanceLengths[symbol]);
    return *this;
}

HuffmanBlockWriter& HuffmanBlockWriter::Literals(const std::string& text)
{
    for (char c : text) Symbol(static_cast<std::uint8_t>(c));
    return *this;
}

HuffmanBlockWriter& HuffmanBlockWriter::Match(unsigned length, unsigned distance)
{
    unsigned l = 28;  // 258 is symbol 285, not 284 with all extra bits set
    while (kLengthBase[l] > length) --l;
    Symbol(kFirstLengthSymbol + l);
    m_out.Bits(length - kLengthBase[l], kLengthExtraBits[l]);
    unsigned d = 29;
    while (kDistanceBase[d] > distance) --d;
    DistanceSymbol(d);
    m_out.Bits(distance - kDistanceBase[d], kDistanceExtraBits[d]);
    return *this;
}

std::vector<std::uint8_t> PlainCodeLengthLengths()
{
    std::vector<std::uint8_t> lengths(kCodeLengthCodes, 4);
    for (unsigned s = 13; s < kCodeLengthCodes; ++s) lengths[s] = 5;
    return lengths;
}

void WriteDynamicHeader(BitWriter& out, unsigned literalCodes, unsigned distanceCodes,
                        const std::vector<std::uint8_t>& codeLengthLengths, unsigned sent,
                        const std::vector<CodeLengthItem>& items)
{
    out.Bits(literalCodes - 257, kHlitBits).Bits(distanceCodes - 1, kHdistBits).Bits(sent - 4, kHclenBits);
    for (unsigned i = 0; i < sent; ++i) out.Bits(codeLengthLengths[kCodeLengthOrder[i]], kCodeLengthCodeBits);
    const std::vector<unsigned> codes = CanonicalCodes(codeLengthLengths);
    for (const CodeLengthItem& item : items) {
        out.Code(codes[item.symbol], codeLengthLengths[item.symbol]);
        if (item.symbol == kRepeatPrevious) out.Bits(item.extra, 2);
        if (item.symbol == kRepeatZeroShort) out.Bits(item.extra, 3);
        if (item.symbol == kRepeatZeroLong) out.Bits(item.extra, 7);
    }
}

void WriteDynamicHeader(BitWriter& out, const std::vector<std::uint8_t>& literalLengths,
                        const std::vector<std::uint8_t>& distanceLengths)
{
    std::vector<CodeLengthItem> items;
    for (std::uint8_t length : literalLengths) items.push_back({length});
    for (std::uint8_t length : distanceLengths) items.push_back({length});
    WriteDynamicHeader(out, static_cast<unsigned>(literalLengths.size()),
                       static_cast<unsigned>(distanceLengths.size()), PlainCodeLengthLengths(),
                       kCodeLengthCodes, items);
}

// ---- zlib and the re-packer ----

Bytes ZlibDeflate(const Bytes& data, int level, int strategy, std::size_t flushEvery)
{
    z_stream z{};
    if (deflateInit2(&z, level, Z_DEFLATED, -15, 8, strategy) != Z_OK) throw std::runtime_error("deflateInit2");
    Bytes out(deflateBound(&z, data.size()) + 64 + (flushEvery ? 32 * (data.size() / flushEvery + 1) : 0));
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    static const int kCycle[][2] = {{0, Z_DEFAULT_STRATEGY}, {6, Z_FIXED}, {6, Z_DEFAULT_STRATEGY}, {1, Z_HUFFMAN_ONLY}};
    std::size_t pos = 0;
    unsigned piece = 0;
    do {
        const std::size_t n = flushEvery ? std::min(flushEvery, data.size() - pos) : data.size();
        z.next_in = const_cast<Bytef*>(data.data() + pos);
        z.avail_in = static_cast<uInt>(n);
        pos += n;
        const bool lastPiece = pos == data.size();
        const int flush = lastPiece ? Z_FINISH : (piece % 2 ? Z_SYNC_FLUSH : Z_PARTIAL_FLUSH);
        const int rc = deflate(&z, flush);
        if (rc != (lastPiece ? Z_STREAM_END : Z_OK) || z.avail_in != 0) throw std::runtime_error("deflate");
        if (!lastPiece) {
            ++piece;
            if (deflateParams(&z, kCycle[piece % 4][0], kCycle[piece % 4][1]) != Z_OK) {
                throw std::runtime_error("deflateParams");
            }
        }
    } while (pos < data.size());
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

namespace {

class BitReader {
public:
    explicit BitReader(const Bytes& bytes) : m_bytes(bytes) {}
    unsigned Get(unsigned count)
    {
        unsigned value = 0;
        for (unsigned i = 0; i < count; ++i, ++m_bit) {
            if (m_bit / 8 >= m_bytes.size()) throw std::runtime_error("deflate stream cut short");
            value |= ((m_bytes[m_bit / 8] >> (m_bit % 8)) & 1u) << i;
        }
        return value;
    }
    void Align() { m_bit = (m_bit + 7) / 8 * 8; }

private:
    const Bytes& m_bytes;
    std::size_t m_bit = 0;
};

// Decodes a canonical code bit by bit, copying every bit it reads to the writer.
class CanonicalDecoder {
public:
    explicit CanonicalDecoder(const std::vector<std::uint8_t>& lengths)
    {
        for (unsigned bits = 1; bits <= kMaxCodeBits; ++bits) {
            for (unsigned s = 0; s < lengths.size(); ++s) {
                if (lengths[s] == bits) {
                    ++m_count[bits];
                    m_symbols.push_back(s);
                }
            }
        }
    }
    unsigned Copy(BitReader& in, BitWriter& out) const
    {
        unsigned code = 0, first = 0, index = 0;
        for (unsigned bits = 1; bits <= kMaxCodeBits; ++bits) {
            const unsigned bit = in.Get(1);
            out.Bits(bit, 1);
            code = code << 1 | bit;
            if (code - first < m_count[bits]) return m_symbols[index + code - first];
            index += m_count[bits];
            first = (first + m_count[bits]) << 1;
        }
        throw std::runtime_error("bad code in deflate stream");
    }

private:
    unsigned m_count[kMaxCodeBits + 1] = {};
    std::vector<unsigned> m_symbols;
};

void CopyBits(BitReader& in, BitWriter& out, unsigned count) { out.Bits(in.Get(count), count); }

void CopySymbols(BitReader& in, BitWriter& out, const CanonicalDecoder& literals, const CanonicalDecoder& distances)
{
    for (;;) {
        const unsigned symbol = literals.Copy(in, out);
        if (symbol == kEndOfBlock) return;
        if (symbol < kEndOfBlock) continue;
        CopyBits(in, out, kLengthExtraBits[symbol - kFirstLengthSymbol]);
        CopyBits(in, out, kDistanceExtraBits[distances.Copy(in, out)]);
    }
}

}  // namespace

Bytes RepackDeflate(const Bytes& deflate, BlockCounts* counts)
{
    static const unsigned kDeflateOrder[kCodeLengthCodes] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
    static const unsigned kBlockType[3] = {kBlockStored, kBlockFixed, kBlockDynamic};
    BitReader in(deflate);
    BitWriter out;
    bool last;
    do {
        last = in.Get(1) != 0;
        const unsigned type = in.Get(2);
        if (type == 3) throw std::runtime_error("bad block type in deflate stream");
        out.Bits(kBlockType[type] | (last ? kBlockLastFlag : 0), kBlockHeaderBits);
        if (counts) ++(type == 0 ? counts->stored : type == 1 ? counts->fixed : counts->dynamic);
        if (type == 0) {
            in.Align();
            const unsigned length = in.Get(16);
            if (in.Get(16) != (~length & 0xFFFF)) throw std::runtime_error("bad NLEN in deflate stream");
            out.Align().Bits(length, 16);
            for (unsigned i = 0; i < length; ++i) CopyBits(in, out, 8);
        } else if (type == 1) {
            std::vector<std::uint8_t> literal(kFixedLiteralLengthCodes);
            for (unsigned s = 0; s < literal.size(); ++s) literal[s] = static_cast<std::uint8_t>(FixedLiteralLengthBits(s));
            CopySymbols(in, out, CanonicalDecoder(literal),
                        CanonicalDecoder(std::vector<std::uint8_t>(kFixedDistanceCodes, kFixedDistanceBits)));
        } else {
            const unsigned literalCodes = in.Get(5) + 257, distanceCodes = in.Get(5) + 1, sent = in.Get(4) + 4;
            std::vector<std::uint8_t> codeLengthLengths(kCodeLengthCodes);
            for (unsigned i = 0; i < sent; ++i) codeLengthLengths[kDeflateOrder[i]] = static_cast<std::uint8_t>(in.Get(3));
            unsigned ourSent = kCodeLengthCodes;
            while (ourSent > 4 && codeLengthLengths[kCodeLengthOrder[ourSent - 1]] == 0) --ourSent;
            out.Bits(literalCodes - 257, 5).Bits(distanceCodes - 1, 5).Bits(ourSent - 4, 4);
            for (unsigned i = 0; i < ourSent; ++i) out.Bits(codeLengthLengths[kCodeLengthOrder[i]], 3);

            const CanonicalDecoder codeLengths(codeLengthLengths);
            std::vector<std::uint8_t> lengths;
            while (lengths.size() < literalCodes + distanceCodes) {
                const unsigned symbol = codeLengths.Copy(in, out);
                if (symbol < 16) {
                    lengths.push_back(static_cast<std::uint8_t>(symbol));
                } else if (symbol == 16) {
                    if (lengths.empty()) throw std::runtime_error("repeat first in deflate stream");
                    const unsigned n = in.Get(2);
                    out.Bits(n, 2);
                    lengths.insert(lengths.end(), 3 + n, lengths.back());
                } else if (symbol == 17) {
                    const unsigned n = in.Get(3);
                    out.Bits(n, 3);
                    lengths.insert(lengths.end(), 3 + n, 0);
                } else {
                    const unsigned n = in.Get(7);
                    out.Bits(n, 7);
                    lengths.insert(lengths.end(), 11 + n, 0);
                }
            }
            if (lengths.size() != literalCodes + distanceCodes) throw std::runtime_error("repeat past the end");
            CopySymbols(in, out, CanonicalDecoder({lengths.begin(), lengths.begin() + literalCodes}),
                        CanonicalDecoder({lengths.begin() + literalCodes, lengths.end()}));
        }
    } while (!last);
    return out.Finish();
}

// ---- Data ----

namespace {
struct Random {
    std::uint64_t state;
    std::uint32_t Next()
    {
        state = state * 6364136223846793005u + 1442695040888963407u;
        return static_cast<std::uint32_t>(state >> 33);
    }
};
}  // namespace

Bytes TextData(std::size_t size, std::uint32_t seed)
{
    static const char* const kWords[] = {"the ", "setup ", "program ", "installs ", "files ", "into ",
                                         "a ", "folder ", "of ", "your ", "choice. ", "Click ", "Next ",
                                         "to ", "continue,\r\n", "or ", "Cancel ", "quit. "};
    Random random{seed};
    Bytes out;
    while (out.size() < size) {
        const char* word = kWords[random.Next() % std::size(kWords)];
        while (*word && out.size() < size) out.push_back(static_cast<std::uint8_t>(*word++));
    }
    return out;
}

Bytes RunsData(std::size_t size, std::uint32_t seed)
{
    // Repeats of short patterns: overlapping matches at every distance from 1 to 9.
    Random random{seed};
    Bytes out;
    while (out.size() < size) {
        const unsigned period = 1 + random.Next() % 9;
        const std::size_t run = 1 + random.Next() % 600;
        Bytes pattern(period);
        for (auto& b : pattern) b = static_cast<std::uint8_t>(random.Next());
        for (std::size_t i = 0; i < run && out.size() < size; ++i) out.push_back(pattern[i % period]);
    }
    return out;
}

Bytes RandomData(std::size_t size, std::uint32_t seed)
{
    Random random{seed};
    Bytes out(size);
    for (auto& b : out) b = static_cast<std::uint8_t>(random.Next());
    return out;
}

// ---- Running the decoders ----

namespace {
struct MemoryReader {
    const Bytes* stream;
    std::size_t pos;
    std::size_t readSize;
    static std::size_t Read(void* context, std::uint8_t* buffer, std::size_t maxBytes)
    {
        auto* self = static_cast<MemoryReader*>(context);
        std::size_t n = std::min({maxBytes, self->readSize, self->stream->size() - self->pos});
        std::copy_n(self->stream->data() + self->pos, n, buffer);
        self->pos += n;
        return n;
    }
};
struct Collector {
    Bytes* output;
    std::size_t acceptWrites;
    static bool Write(void* context, const std::uint8_t* data, std::size_t size)
    {
        auto* self = static_cast<Collector*>(context);
        EXPECT_GT(size, 0u);
        EXPECT_LE(size, CStreamDecoder::kWindowSize);
        if (self->acceptWrites == 0) return false;
        --self->acceptWrites;
        self->output->insert(self->output->end(), data, data + size);
        return true;
    }
};
}  // namespace

StreamRun DecodeStreaming(const Bytes& stream, std::uint64_t declared, std::size_t readSize, std::size_t acceptWrites)
{
    static auto* decoder = new CStreamDecoder;  // reused: every run must start afresh
    StreamRun run{};
    MemoryReader reader{&stream, 0, readSize};
    Collector collector{&run.output, acceptWrites};
    run.status = decoder->Decode(&MemoryReader::Read, &reader, &Collector::Write, &collector, declared);
    run.inputUsed = decoder->InputUsed();
    EXPECT_EQ(decoder->OutputWritten(), run.output.size());
    return run;
}

OneShotRun DecodeOneShot(const Bytes& stream, std::size_t declared)
{
    constexpr std::size_t kGuard = 64;
    Bytes buffer(declared + kGuard, 0xA5);
    // An exact copy of the input, so that a read past its end is a read past the heap block.
    auto input = std::make_unique<std::uint8_t[]>(stream.size());
    std::copy(stream.begin(), stream.end(), input.get());
    const DecodeResult result = DecodeStream(input.get(), stream.size(), buffer.data(), declared);
    for (std::size_t i = declared; i < buffer.size(); ++i) {
        EXPECT_EQ(buffer[i], 0xA5) << "wrote past the declared length at " << i;
    }
    EXPECT_LE(result.outputUsed, declared);
    EXPECT_LE(result.inputUsed, stream.size());
    buffer.resize(result.outputUsed);
    return {result.status, buffer, result.inputUsed};
}

}  // namespace sw::test
