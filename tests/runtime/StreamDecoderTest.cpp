#include "core/StreamDecoder.h"

#include <zlib.h>

#include <functional>
#include <set>

#include <gtest/gtest.h>

#include "runtime/StreamTestSupport.h"

namespace sw::test {
namespace {

using Body = std::function<void(HuffmanBlockWriter&)>;

// One fixed block, the last of its stream.
Bytes Fixed(const Body& body, unsigned padding = 0)
{
    BitWriter w;
    w.Bits(kBlockFixed | kBlockLastFlag, kBlockHeaderBits);
    HuffmanBlockWriter block = HuffmanBlockWriter::Fixed(w);
    body(block);
    return w.Finish(padding);
}

// One dynamic block with these code lengths (sent plainly), the last of its stream.
Bytes Dynamic(const std::vector<std::uint8_t>& literal, const std::vector<std::uint8_t>& distance, const Body& body)
{
    BitWriter w;
    w.Bits(kBlockDynamic | kBlockLastFlag, kBlockHeaderBits);
    WriteDynamicHeader(w, literal, distance);
    HuffmanBlockWriter block(w, literal, distance);
    body(block);
    return w.Finish();
}

// A dynamic block header with hand-picked code-length items, and nothing after it.
Bytes DynamicHeaderOnly(unsigned literalCodes, unsigned distanceCodes, const std::vector<std::uint8_t>& codeLengthLengths,
                        unsigned sent, const std::vector<CodeLengthItem>& items)
{
    BitWriter w;
    w.Bits(kBlockDynamic | kBlockLastFlag, kBlockHeaderBits);
    WriteDynamicHeader(w, literalCodes, distanceCodes, codeLengthLengths, sent, items);
    return w.Finish();
}

// Literal/length lengths (257 of them, or more) with the given symbols set.
std::vector<std::uint8_t> Lengths(std::initializer_list<std::pair<unsigned, std::uint8_t>> set, std::size_t size = 257)
{
    std::vector<std::uint8_t> lengths(size);
    for (auto [symbol, length] : set) lengths[symbol] = length;
    return lengths;
}

// Decodes with both APIs (the streaming one with large and with 1-byte reads) and
// checks that they agree. Returns the one-shot run.
OneShotRun DecodeBoth(const Bytes& stream, std::size_t declared)
{
    const OneShotRun one = DecodeOneShot(stream, declared);
    for (std::size_t readSize : {std::size_t(65536), std::size_t(1)}) {
        const StreamRun run = DecodeStreaming(stream, declared, readSize);
        EXPECT_EQ(run.status, one.status) << "read size " << readSize;
        if (one.status == DecodeStatus::ok) {
            EXPECT_EQ(run.output, one.output) << "read size " << readSize;
            EXPECT_EQ(run.inputUsed, one.inputUsed) << "read size " << readSize;
        } else {
            // What was written before the fault is what the one-shot decoder wrote.
            EXPECT_TRUE(run.output.size() <= one.output.size() &&
                        std::equal(run.output.begin(), run.output.end(), one.output.begin()))
                << "read size " << readSize;
        }
    }
    return one;
}

void Apply(std::string& out, unsigned length, unsigned distance)
{
    for (unsigned i = 0; i < length; ++i) out += out[out.size() - distance];
}

struct GoodCase {
    const char* name;
    Bytes stream;
    std::string expected;
};

std::vector<GoodCase> GoodCases()
{
    std::vector<GoodCase> cases;
    cases.push_back({"empty stored block", {0x0F, 0x00, 0x00}, ""});
    cases.push_back({"stored block", {0x0F, 0x03, 0x00, 'a', 'b', 'c'}, "abc"});
    cases.push_back({"stored block, alignment bits not zero", {0xAF, 0x03, 0x00, 'a', 'b', 'c'}, "abc"});
    cases.push_back({"fixed block", Fixed([](auto& b) { b.Literals("abc").Match(7, 3).End(); }), "abcabcabca"});
    cases.push_back({"fixed block, 258 at distance 1",
                     Fixed([](auto& b) { b.Literals("x").Match(258, 1).End(); }), std::string(259, 'x')});
    cases.push_back({"fixed block, padding bits not zero",
                     Fixed([](auto& b) { b.Literals("ab").End(); }, 0xFF), "ab"});
    cases.push_back({"dynamic block",
                     Dynamic(Lengths({{'a', 2}, {'b', 2}, {256, 2}, {257, 2}}, 258), {1, 1},
                             [](auto& b) { b.Literals("ab").Match(3, 2).Match(3, 1).End(); }),
                     "ababaaaa"});
    {
        // Every block type; matches reach back into earlier blocks.
        BitWriter w;
        w.Bits(kBlockStored, kBlockHeaderBits).Align().Bits(2, 16).Byte('a').Byte('b');
        w.Bits(kBlockFixed, kBlockHeaderBits);
        HuffmanBlockWriter::Fixed(w).Literals("c").Match(4, 3).End();
        w.Bits(kBlockDynamic, kBlockHeaderBits);
        const auto literal = Lengths({{'d', 1}, {256, 2}, {258, 2}}, 259);
        WriteDynamicHeader(w, literal, {1, 1});
        HuffmanBlockWriter(w, literal, {1, 1}).Literals("d").Match(4, 2).End();
        w.Bits(kBlockStored | kBlockLastFlag, kBlockHeaderBits).Align().Bits(1, 16).Byte('e');
        cases.push_back({"stored, fixed, dynamic and stored blocks", w.Finish(), "abcabcadadade"});
    }
    {
        BitWriter w;
        w.Bits(kBlockStored, kBlockHeaderBits).Align().Bits(0, 16);
        w.Bits(kBlockFixed, kBlockHeaderBits);
        HuffmanBlockWriter::Fixed(w).End();
        w.Bits(kBlockDynamic, kBlockHeaderBits);
        WriteDynamicHeader(w, Lengths({{'z', 1}, {256, 1}}), {1, 1});
        HuffmanBlockWriter(w, Lengths({{'z', 1}, {256, 1}}), {1, 1}).End();
        w.Bits(kBlockFixed | kBlockLastFlag, kBlockHeaderBits);
        HuffmanBlockWriter::Fixed(w).Literals("!").End();
        cases.push_back({"empty blocks of every type", w.Finish(), "!"});
    }
    cases.push_back({"distance code all zero, no match",
                     Dynamic(Lengths({{'a', 1}, {256, 1}}), {0}, [](auto& b) { b.Literals("aa").End(); }), "aa"});
    {
        // 16 repeats the length of symbol 257 into the first two distance lengths.
        std::vector<CodeLengthItem> items = {{18, 86}, {2}, {2}, {18, 127}, {18, 8}, {2}, {16, 0}, {2}, {2}};
        BitWriter w;
        w.Bits(kBlockDynamic | kBlockLastFlag, kBlockHeaderBits);
        WriteDynamicHeader(w, 258, 4, PlainCodeLengthLengths(), kCodeLengthCodes, items);
        HuffmanBlockWriter(w, Lengths({{'a', 2}, {'b', 2}, {256, 2}, {257, 2}}, 258), {2, 2, 2, 2})
            .Literals("ab")
            .Match(3, 2)
            .End();
        cases.push_back({"repeat from literal/length into distance lengths", w.Finish(), "ababa"});
    }
    {
        // Codes of 1 to 15 bits in both codes: the longest go through sub-tables.
        std::vector<std::uint8_t> literal(259);
        for (unsigned i = 0; i < 13; ++i) literal['a' + i] = static_cast<std::uint8_t>(i + 1);
        literal[258] = 14;  // length 4
        literal['n'] = 15;
        literal[256] = 15;
        std::vector<std::uint8_t> distance(16);
        for (unsigned i = 0; i < 14; ++i) distance[i] = static_cast<std::uint8_t>(i + 1);
        distance[14] = distance[15] = 15;
        std::string expected = "abcdefghijklmn";
        for (int i = 0; i < 60; ++i) Apply(expected, 4, 14);
        Apply(expected, 4, 129);
        Apply(expected, 4, 200);
        Apply(expected, 4, 100);
        cases.push_back({"codes of 15 bits", Dynamic(literal, distance, [](auto& b) {
                             b.Literals("abcdefghijklmn");
                             for (int i = 0; i < 60; ++i) b.Match(4, 14);
                             b.Match(4, 129).Match(4, 200).Match(4, 100).End();
                         }),
                         expected});
    }
    return cases;
}

TEST(StreamDecoder, DecodesHandMadeStreams)
{
    for (const GoodCase& c : GoodCases()) {
        SCOPED_TRACE(c.name);
        const OneShotRun run = DecodeBoth(c.stream, c.expected.size());
        EXPECT_EQ(run.status, DecodeStatus::ok);
        EXPECT_EQ(ToString(run.output), c.expected);
        EXPECT_EQ(run.inputUsed, c.stream.size());
    }
}

struct BadCase {
    std::string name;
    Bytes stream;
    std::size_t declared;
    DecodeStatus expected;
};

void ExpectStatus(const std::vector<BadCase>& cases)
{
    for (const BadCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(DecodeBoth(c.stream, c.declared).status, c.expected);
    }
}

TEST(StreamDecoder, RejectsBadBlocks)
{
    std::vector<BadCase> cases;
    for (unsigned header : {0u, 1u, 2u, 3u, 4u, 8u, 9u, 10u, 11u, 12u}) {
        cases.push_back({"header " + std::to_string(header), {static_cast<std::uint8_t>(header), 0, 0}, 0, DecodeStatus::invalidBlockType});
    }
    cases.push_back({"bad header after a block", {0x07, 0x00, 0x00, 0x0B}, 0, DecodeStatus::invalidBlockType});
    cases.push_back({"no input", {}, 0, DecodeStatus::truncatedInput});
    cases.push_back({"no last block", {0x07, 0x00, 0x00}, 0, DecodeStatus::truncatedInput});
    cases.push_back({"stored length cut", {0x0F, 0x03}, 3, DecodeStatus::truncatedInput});
    cases.push_back({"stored data cut", {0x0F, 0x03, 0x00, 'a', 'b'}, 3, DecodeStatus::truncatedInput});
    cases.push_back({"stored data cut, output full first", {0x0F, 0x03, 0x00, 'a', 'b'}, 1, DecodeStatus::outputOverflow});
    cases.push_back({"stored data cut where output is full", {0x0F, 0x03, 0x00, 'a', 'b'}, 2, DecodeStatus::truncatedInput});
    cases.push_back({"stored data beyond declared", {0x0F, 0x03, 0x00, 'a', 'b', 'c'}, 2, DecodeStatus::outputOverflow});
    cases.push_back({"stored data short of declared", {0x0F, 0x03, 0x00, 'a', 'b', 'c'}, 4, DecodeStatus::outputShort});
    cases.push_back({"empty stream, declared 1", {0x0F, 0x00, 0x00}, 1, DecodeStatus::outputShort});
    cases.push_back({"missing end of block", Fixed([](auto& b) { b.Literals("a"); }), 1, DecodeStatus::truncatedInput});
    {
        // 4 + 8 + 7 bits: the 5 zero bits of padding read as a block header of 0.
        BitWriter w;
        w.Bits(kBlockFixed, kBlockHeaderBits);
        HuffmanBlockWriter::Fixed(w).Literals("a").End();
        cases.push_back({"zero padding after a block that is not last", w.Finish(), 1, DecodeStatus::invalidBlockType});
        // 4 + 9 + 9 + 7 bits: 3 bits of padding, too few for a header.
        BitWriter v;
        v.Bits(kBlockFixed, kBlockHeaderBits);
        HuffmanBlockWriter::Fixed(v).Literals("\xC8\xC9").End();
        cases.push_back({"block not last, then nothing", v.Finish(), 2, DecodeStatus::truncatedInput});
    }
    {
        // The fast loop reads ahead: after 'a' and a 258-byte match it leaves 53 bits in
        // the buffer, 1-bit literals fill the output, and the stored block's bytes are
        // still in the buffer when there is no room for them. Bytes after the stream let
        // the fast loop run.
        BitWriter w;
        w.Bits(kBlockDynamic, kBlockHeaderBits);
        const auto literal = Lengths({{'a', 1}, {256, 2}, {285, 2}}, 286);
        WriteDynamicHeader(w, literal, {1, 1});
        HuffmanBlockWriter(w, literal, {1, 1}).Literals("a").Match(258, 1).Literals("aaaaaaaa").End();
        w.Bits(kBlockStored | kBlockLastFlag, kBlockHeaderBits).Align().Bits(3, 16).Byte('x').Byte('y').Byte('z');
        Bytes stream = w.Finish();
        stream.resize(stream.size() + 16, 0xEE);
        cases.push_back({"stored bytes read ahead, beyond declared", stream, 267, DecodeStatus::outputOverflow});
    }
    ExpectStatus(cases);
}

TEST(StreamDecoder, RejectsBadCodeLengths)
{
    const auto plain = PlainCodeLengthLengths();
    auto codeLengthCode = [](std::initializer_list<std::pair<unsigned, std::uint8_t>> set) {
        std::vector<std::uint8_t> lengths(kCodeLengthCodes);
        for (auto [symbol, length] : set) lengths[symbol] = length;
        return lengths;
    };
    auto headerFields = [](unsigned hlit, unsigned hdist) {
        return BitWriter().Bits(kBlockDynamic | kBlockLastFlag, 4).Bits(hlit, 5).Bits(hdist, 5).Bits(15, 4).Finish();
    };
    const auto end = [](auto& b) { b.End(); };
    // 255 zero lengths, so that the next items reach symbols 255, 256 and beyond.
    const std::vector<CodeLengthItem> zeros255 = {{18, 127}, {18, 106}};
    auto with = [](std::vector<CodeLengthItem> items, std::initializer_list<CodeLengthItem> more) {
        items.insert(items.end(), more);
        return items;
    };
    const std::vector<BadCase> cases = {
        {"HLIT 30", headerFields(30, 0), 0, DecodeStatus::invalidCodeLengths},
        {"HLIT 31", headerFields(31, 0), 0, DecodeStatus::invalidCodeLengths},
        {"HDIST 30", headerFields(0, 30), 0, DecodeStatus::invalidCodeLengths},
        {"HDIST 31", headerFields(0, 31), 0, DecodeStatus::invalidCodeLengths},
        {"code-length code over-subscribed", DynamicHeaderOnly(257, 1, codeLengthCode({{18, 1}, {17, 1}, {16, 1}}), 4, {}), 0,
         DecodeStatus::invalidCodeLengths},
        {"code-length code incomplete", DynamicHeaderOnly(257, 1, codeLengthCode({{18, 1}, {0, 2}}), 4, {}), 0,
         DecodeStatus::invalidCodeLengths},
        {"code-length code of one symbol", DynamicHeaderOnly(257, 1, codeLengthCode({{1, 1}}), 5, {}), 0,
         DecodeStatus::invalidCodeLengths},
        {"code-length code empty", DynamicHeaderOnly(257, 1, codeLengthCode({}), 19, {}), 0, DecodeStatus::invalidCodeLengths},
        {"repeat with no previous length", DynamicHeaderOnly(257, 1, plain, 19, {{16, 0}}), 0,
         DecodeStatus::invalidCodeLengths},
        {"repeat previous past the end", DynamicHeaderOnly(257, 1, plain, 19, with(zeros255, {{1}, {1}, {16, 0}})), 0,
         DecodeStatus::invalidCodeLengths},
        {"short zero run past the end", DynamicHeaderOnly(257, 1, plain, 19, with(zeros255, {{17, 1}})), 0,
         DecodeStatus::invalidCodeLengths},
        {"long zero run past the end", DynamicHeaderOnly(257, 1, plain, 19, with(zeros255, {{18, 0}})), 0,
         DecodeStatus::invalidCodeLengths},
        {"literal code over-subscribed", Dynamic(Lengths({{'a', 1}, {'b', 1}, {256, 1}}), {1, 1}, end), 0,
         DecodeStatus::invalidCodeLengths},
        {"literal code incomplete", Dynamic(Lengths({{'a', 1}, {256, 2}}), {1, 1}, end), 0,
         DecodeStatus::invalidCodeLengths},
        {"literal code of one symbol", Dynamic(Lengths({{256, 1}}), {1, 1}, end), 0, DecodeStatus::invalidCodeLengths},
        {"no code for end of block", Dynamic(Lengths({{'a', 1}, {'b', 1}}), {1, 1}, [](auto&) {}), 0,
         DecodeStatus::invalidCodeLengths},
        {"distance code over-subscribed", Dynamic(Lengths({{'a', 1}, {256, 1}}), {1, 1, 1}, end), 0,
         DecodeStatus::invalidCodeLengths},
        {"distance code incomplete", Dynamic(Lengths({{'a', 1}, {256, 1}}), {1, 2}, end), 0,
         DecodeStatus::invalidCodeLengths},
        {"distance code of one 1-bit code", Dynamic(Lengths({{'a', 1}, {256, 1}}), {0, 1}, end), 0,
         DecodeStatus::invalidCodeLengths},
    };
    ExpectStatus(cases);
}

TEST(StreamDecoder, RejectsBadSymbolsAndMatches)
{
    const auto literalsAndMatch = Lengths({{'a', 2}, {'b', 2}, {256, 2}, {257, 2}}, 258);
    const std::vector<BadCase> cases = {
        {"literal/length 286", Fixed([](auto& b) { b.Literals("a").Symbol(286); }), 9, DecodeStatus::invalidSymbol},
        {"literal/length 287", Fixed([](auto& b) { b.Literals("a").Symbol(287); }), 9, DecodeStatus::invalidSymbol},
        {"distance 30", Fixed([](auto& b) { b.Literals("a").Symbol(257).DistanceSymbol(30); }), 9,
         DecodeStatus::invalidSymbol},
        {"distance 31", Fixed([](auto& b) { b.Literals("a").Symbol(257).DistanceSymbol(31); }), 9,
         DecodeStatus::invalidSymbol},
        {"match where the distance code is empty",
         Dynamic(literalsAndMatch, {0}, [](auto& b) { b.Literals("ab").Symbol(257); }), 9, DecodeStatus::invalidSymbol},
        {"distance before the start", Fixed([](auto& b) { b.Match(3, 1).End(); }), 3, DecodeStatus::distanceTooFar},
        {"distance one before the start", Fixed([](auto& b) { b.Literals("ab").Match(3, 3).End(); }), 5,
         DecodeStatus::distanceTooFar},
        {"far distance before the start", Fixed([](auto& b) { b.Literals("ab").Match(258, 32768).End(); }), 260,
         DecodeStatus::distanceTooFar},
        {"distance too far with the output also full", Fixed([](auto& b) { b.Literals("ab").Match(3, 3).End(); }), 2,
         DecodeStatus::distanceTooFar},
        {"literal beyond declared", Fixed([](auto& b) { b.Literals("abc").End(); }), 2, DecodeStatus::outputOverflow},
        {"literal with nothing declared", Fixed([](auto& b) { b.Literals("a").End(); }), 0, DecodeStatus::outputOverflow},
        {"match beyond declared", Fixed([](auto& b) { b.Literals("a").Match(3, 1).End(); }), 3,
         DecodeStatus::outputOverflow},
        {"output short", Fixed([](auto& b) { b.Literals("a").End(); }), 2, DecodeStatus::outputShort},
        {"length extra bits cut", BitWriter().Bits(kBlockFixed | kBlockLastFlag, 4).Byte('a').Finish(), 1,
         DecodeStatus::truncatedInput},
    };
    ExpectStatus(cases);
}

// Valid streams of every kind, small enough to cut and to corrupt everywhere.
std::vector<Bytes> SmallValidStreams()
{
    std::vector<Bytes> streams;
    for (const GoodCase& c : GoodCases()) streams.push_back(c.stream);
    const Bytes text = TextData(3000, 7);
    streams.push_back(RepackDeflate(ZlibDeflate(text, 9, Z_DEFAULT_STRATEGY)));
    streams.push_back(RepackDeflate(ZlibDeflate(text, 6, Z_FIXED)));
    streams.push_back(RepackDeflate(ZlibDeflate(RandomData(300, 3), 6, Z_DEFAULT_STRATEGY, 100)));
    return streams;
}

std::size_t DecodedSize(const Bytes& stream)
{
    // Any declared length that is large enough gives the size as output short.
    Bytes out(1 << 20);
    const DecodeResult r = DecodeStream(stream.data(), stream.size(), out.data(), out.size());
    EXPECT_EQ(r.status, DecodeStatus::outputShort);
    return r.outputUsed;
}

TEST(StreamDecoder, EveryCutIsTruncatedInput)
{
    for (const Bytes& stream : SmallValidStreams()) {
        const std::size_t size = DecodedSize(stream);
        for (std::size_t cut = 0; cut < stream.size(); ++cut) {
            SCOPED_TRACE("cut at " + std::to_string(cut) + " of " + std::to_string(stream.size()));
            EXPECT_EQ(DecodeBoth(Bytes(stream.begin(), stream.begin() + static_cast<std::ptrdiff_t>(cut)), size).status,
                      DecodeStatus::truncatedInput);
        }
    }
}

TEST(StreamDecoder, BothDecodersAgreeOnEverySingleBitError)
{
    for (const Bytes& stream : SmallValidStreams()) {
        const std::size_t size = DecodedSize(stream);
        for (std::size_t bit = 0; bit < stream.size() * 8; ++bit) {
            Bytes bad = stream;
            bad[bit / 8] = static_cast<std::uint8_t>(bad[bit / 8] ^ (1u << (bit % 8)));
            SCOPED_TRACE("bit " + std::to_string(bit));
            DecodeBoth(bad, size);
        }
    }
}

struct Mode {
    const char* name;
    int level;
    int strategy;
    std::size_t flushEvery;
};
constexpr Mode kModes[] = {
    {"stored", 0, Z_DEFAULT_STRATEGY, 0},     {"fixed", 6, Z_FIXED, 0},    {"dynamic", 9, Z_DEFAULT_STRATEGY, 0},
    {"huffman only", 6, Z_HUFFMAN_ONLY, 0}, {"rle", 6, Z_RLE, 0},        {"mixed", 6, Z_DEFAULT_STRATEGY, 3000},
};
constexpr std::size_t kSizes[] = {0, 1, 2, 3, 257, 258, 8191, 8192, 32768, 65273, 65274, 65275, std::size_t(1) << 20};

struct DataKind {
    const char* name;
    Bytes (*make)(std::size_t, std::uint32_t);
};
constexpr DataKind kData[] = {{"text", TextData}, {"runs", RunsData}, {"random", RandomData}};

TEST(StreamDecoder, RoundTripsZlibStreams)
{
    BlockCounts counts;
    for (const DataKind& kind : kData) {
        for (std::size_t size : kSizes) {
            const Bytes data = kind.make(size, static_cast<std::uint32_t>(size));
            for (const Mode& mode : kModes) {
                SCOPED_TRACE(std::string(kind.name) + ", " + std::to_string(size) + " bytes, " + mode.name);
                const Bytes stream = RepackDeflate(ZlibDeflate(data, mode.level, mode.strategy, mode.flushEvery), &counts);
                const OneShotRun one = DecodeOneShot(stream, size);
                ASSERT_EQ(one.status, DecodeStatus::ok);
                ASSERT_TRUE(one.output == data);
                EXPECT_EQ(one.inputUsed, stream.size());
                // Whole buffers, odd pieces, and for all but the largest, one byte at a time.
                for (std::size_t readSize : {std::size_t(65536), std::size_t(4099), std::size_t(1)}) {
                    if (readSize == 1 && size > 65536 && mode.flushEvery == 0) continue;
                    const StreamRun run = DecodeStreaming(stream, size, readSize);
                    ASSERT_EQ(run.status, DecodeStatus::ok) << "read size " << readSize;
                    ASSERT_TRUE(run.output == data) << "read size " << readSize;
                    EXPECT_EQ(run.inputUsed, stream.size()) << "read size " << readSize;
                }
            }
        }
    }
    // The modes between them wrote every block type many times.
    EXPECT_GT(counts.stored, 100u);
    EXPECT_GT(counts.fixed, 100u);
    EXPECT_GT(counts.dynamic, 100u);
}

TEST(StreamDecoder, DeclaredLengthMustMatch)
{
    const std::size_t size = std::size_t(1) << 20;
    for (const DataKind& kind : kData) {
        const Bytes data = kind.make(size, 11);
        for (const Mode& mode : kModes) {
            SCOPED_TRACE(std::string(kind.name) + ", " + mode.name);
            const Bytes stream = RepackDeflate(ZlibDeflate(data, mode.level, mode.strategy, mode.flushEvery));
            const OneShotRun less = DecodeOneShot(stream, size - 1);
            EXPECT_EQ(less.status, DecodeStatus::outputOverflow);
            EXPECT_TRUE(std::equal(less.output.begin(), less.output.end(), data.begin()));
            EXPECT_EQ(DecodeOneShot(stream, size + 1).status, DecodeStatus::outputShort);
            EXPECT_EQ(DecodeStreaming(stream, size - 1).status, DecodeStatus::outputOverflow);
            EXPECT_EQ(DecodeStreaming(stream, size + 1).status, DecodeStatus::outputShort);
        }
    }
}

TEST(StreamDecoder, ReportsTheInputUsedBeforeTrailingData)
{
    for (const Bytes& stream : SmallValidStreams()) {
        const std::size_t size = DecodedSize(stream);
        Bytes followed = stream;
        for (unsigned b : {0xFFu, 0x00u, 0x5Au, 0xC3u, 0xFFu, 0xFFu, 0x00u, 0x11u, 0x22u, 0x33u, 0x44u, 0x55u, 0x66u, 0x77u,
                           0x88u, 0x99u, 0xAAu, 0xBBu, 0xCCu, 0xDDu}) {
            followed.push_back(static_cast<std::uint8_t>(b));
        }
        const OneShotRun run = DecodeBoth(followed, size);
        EXPECT_EQ(run.status, DecodeStatus::ok);
        EXPECT_EQ(run.inputUsed, stream.size());
    }
}

TEST(StreamDecoder, WriteCallbackCanStopTheStreamingDecoder)
{
    const Bytes data = TextData(std::size_t(1) << 20, 5);
    const Bytes stream = RepackDeflate(ZlibDeflate(data, 6, Z_DEFAULT_STRATEGY));
    for (std::size_t accepted : {0u, 1u, 3u}) {
        SCOPED_TRACE("accepts " + std::to_string(accepted) + " writes");
        const StreamRun run = DecodeStreaming(stream, data.size(), 65536, accepted);
        EXPECT_EQ(run.status, DecodeStatus::writeAborted);
        EXPECT_GE(run.output.size(), accepted * (CStreamDecoder::kWindowSize - kMaxDistance - kMaxMatch));
        EXPECT_TRUE(std::equal(run.output.begin(), run.output.end(), data.begin()));
    }
    // The last write, after the last block, can be refused too.
    EXPECT_EQ(DecodeStreaming({0x0F, 0x03, 0x00, 'a', 'b', 'c'}, 3, 65536, 0).status, DecodeStatus::writeAborted);
    EXPECT_EQ(DecodeStreaming({0x0F, 0x00, 0x00}, 0, 65536, 0).status, DecodeStatus::ok);
}

TEST(StreamDecoder, StatusesHaveDistinctNames)
{
    std::set<std::string> names;
    for (unsigned i = 0; i <= static_cast<unsigned>(DecodeStatus::writeAborted); ++i) {
        names.insert(DecodeStatusName(static_cast<DecodeStatus>(i)));
    }
    EXPECT_EQ(names.size(), static_cast<unsigned>(DecodeStatus::writeAborted) + 1);
    EXPECT_EQ(names.count("unknown status"), 0u);
}

}  // namespace
}  // namespace sw::test
