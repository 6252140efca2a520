#include "build/Compressor.h"

#include <fstream>

#include <gtest/gtest.h>

#include "core/StreamDecoder.h"
#include "support/CorpusGenerator.h"
#include "support/TempDir.h"

namespace sw {
namespace {

using test::DataKind;
using test::GenerateData;

std::string Compress(const std::string& data)
{
    CMemFile out;
    CCompressor().CompressBuffer(out, data.data(), data.size());
    return out.Data();
}

std::string Hex(const std::string& bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (char byte : bytes) {
        auto c = static_cast<unsigned char>(byte);
        if (!out.empty()) out += ' ';
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

// Reads a stream made only of stored blocks; fails the test on anything else.
std::string ReadStoredBlocks(const std::string& stream, int* blocks)
{
    std::string data;
    std::size_t pos = 0;
    *blocks = 0;
    for (;;) {
        if (pos + 3 > stream.size()) {
            ADD_FAILURE() << "stream ends inside a block header";
            return data;
        }
        unsigned header = static_cast<unsigned char>(stream[pos]);
        bool last = (header & 0x0F) == 15;
        EXPECT_TRUE((header & 0x0F) == 7 || last) << "block " << *blocks << " header " << header;
        EXPECT_EQ(header >> 4, 0u) << "the bits up to the byte boundary are zero";
        std::size_t length = static_cast<unsigned char>(stream[pos + 1]) | static_cast<std::size_t>(static_cast<unsigned char>(stream[pos + 2])) << 8;
        pos += 3;
        data += stream.substr(pos, length);
        pos += length;
        ++*blocks;
        if (last) break;
    }
    EXPECT_EQ(pos, stream.size()) << "nothing follows the last block";
    return data;
}

std::string Decompress(const std::string& stream, std::size_t size)
{
    std::string out(size, '\0');
    DecodeResult result = DecodeStream(reinterpret_cast<const std::uint8_t*>(stream.data()), stream.size(),
                                       reinterpret_cast<std::uint8_t*>(out.data()), size);
    EXPECT_EQ(result.status, DecodeStatus::ok) << DecodeStatusName(result.status);
    EXPECT_EQ(result.inputUsed, stream.size());
    return out;
}

TEST(Compressor, RoundTripsEveryKindAndSize)
{
    const std::size_t sizes[] = {0, 1, 2, 3, 257, 258, 259, 8191, 8192, 32768, 65273, 65274, 65275, 200000, 1 << 20};
    for (auto kind : {DataKind::text, DataKind::source, DataKind::binary, DataKind::runs, DataKind::random}) {
        for (std::size_t size : sizes) {
            std::string data = GenerateData(kind, size, static_cast<std::uint32_t>(size));
            ASSERT_TRUE(Decompress(Compress(data), data.size()) == data) << static_cast<int>(kind) << " " << size;
        }
    }
    // Data that switches character every few blocks ends blocks early and mixes block kinds.
    std::string mixed;
    for (int i = 0; i < 12; ++i)
        mixed += GenerateData(i % 3 == 0 ? DataKind::random : i % 3 == 1 ? DataKind::text : DataKind::runs, 40000, 7u + static_cast<unsigned>(i));
    EXPECT_TRUE(Decompress(Compress(mixed), mixed.size()) == mixed);
}

TEST(Compressor, RoundTripsRealFiles)
{
    int tried = 0;
    for (const char* path : {"/bin/sh", "/usr/bin/cmake", "/usr/lib/x86_64-linux-gnu/libc.so.6", "/etc/services"}) {
        std::ifstream in(path, std::ios::binary);
        if (!in) continue;
        std::string data((std::istreambuf_iterator<char>(in)), {});
        if (data.size() > (8u << 20)) data.resize(8u << 20);
        EXPECT_TRUE(Decompress(Compress(data), data.size()) == data) << path;
        ++tried;
    }
    if (tried == 0) GTEST_SKIP() << "no real files on this machine";
}

TEST(Compressor, SmallInputsAreStored)
{
    EXPECT_EQ(Hex(Compress("")), "0F 00 00");
    EXPECT_EQ(Hex(Compress("abc")), "0F 03 00 61 62 63");
}

// The first output was checked against an independent implementation of the same encoder:
// the last match of this input reaches the end of the data, where the search goes on
// (only a match of 258 stops it early), so the comparisons read the zeros after the data
// and an older candidate can win. The digests fix every byte of larger outputs, so that
// any change to what the compressor writes shows up here.
TEST(Compressor, KnownOutputs)
{
    EXPECT_EQ(Hex(Compress(std::string("-xyz\0\0\0\0\0xyzQxyz", 16))), "AD 5B 51 59 C5 00 02 40 3A 10 C8 06 00");
    auto digest = [](const std::string& bytes) {
        std::uint64_t hash = 1469598103934665603ull;  // FNV-1a
        for (char c : bytes) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
        return hash;
    };
    struct Case {
        DataKind kind;
        std::size_t size;
        std::size_t compressedSize;
        std::uint64_t digest;
    } cases[] = {
        {DataKind::text, 100000, 17079, 6338408866807326574ull},
        {DataKind::binary, 70000, 33724, 2459443682189625676ull},
        {DataKind::runs, 65275, 582, 15596120758408986736ull},
        {DataKind::source, 300000, 27713, 11185644584577408405ull},
    };
    for (const Case& c : cases) {
        std::string stream = Compress(GenerateData(c.kind, c.size, 3));
        EXPECT_EQ(stream.size(), c.compressedSize) << static_cast<int>(c.kind);
        EXPECT_EQ(digest(stream), c.digest) << static_cast<int>(c.kind);
    }
}

TEST(Compressor, IncompressibleDataGoesIntoStoredBlocksWithoutNlen)
{
    for (std::size_t size : {std::size_t(1000), std::size_t(70000), std::size_t(300000)}) {
        std::string data = GenerateData(DataKind::random, size);
        int blocks = 0;
        EXPECT_EQ(ReadStoredBlocks(Compress(data), &blocks), data) << size;
        EXPECT_GE(blocks, static_cast<int>(size / 65536)) << size;
    }
}

TEST(Compressor, OneRepeatedByteIsOneSmallLastBlock)
{
    std::string stream = Compress(std::string(32768, 'x'));
    unsigned header = static_cast<unsigned char>(stream[0]) & 0x0F;
    EXPECT_TRUE(header == 13 || header == 14) << header;
    // 127 matches of 258 bytes at distance 1 take a few bits each.
    EXPECT_LT(stream.size(), 80u);
}

TEST(Compressor, BlockWithoutMatchesStillSendsTwoDistanceLengths)
{
    // Every three-letter string of a 16-letter alphabet once: no match of 3 bytes exists,
    // yet 16 letters of equal frequency code in 4 bits, so the block has codes of its own.
    std::string data;
    std::vector<bool> seen(4096);
    unsigned last = 0;
    data += "AA";
    for (int i = 0; i < 4094; ++i) {
        for (unsigned c = 16; c-- > 0;) {
            unsigned next = ((last << 4) | c) & 0xFFF;
            if (!seen[next]) {
                seen[next] = true;
                last = next;
                data += static_cast<char>('A' + c);
                break;
            }
        }
    }
    std::string stream = Compress(data);
    unsigned bits = static_cast<unsigned char>(stream[0]) | static_cast<unsigned char>(stream[1]) << 8;
    EXPECT_EQ(bits & 0x0F, 14u) << "a dynamic last block";
    EXPECT_EQ((bits >> 9) & 0x1F, 1u) << "HDIST";
    EXPECT_LT(stream.size(), data.size() * 6 / 10);
}

TEST(Compressor, MatchesNeverReachFartherThanTheWindowAllows)
{
    // A random piece repeated at a distance just inside and just outside the reach.
    for (std::size_t distance : {std::size_t(32000), std::size_t(32505), std::size_t(32507), std::size_t(32600)}) {
        std::string piece = GenerateData(DataKind::random, distance, 7);
        std::string data = piece + piece.substr(0, 20000);
        std::size_t size = Compress(data).size();
        if (distance < 32506)
            EXPECT_LT(size, distance + 2000) << distance;
        else
            EXPECT_GT(size, distance + 19000) << distance;
    }
}

TEST(Compressor, SameInputSameBytesFromMemoryAndFromFile)
{
    test::TempDir dir;
    std::string data = GenerateData(DataKind::text, 200000) + GenerateData(DataKind::binary, 100000);
    std::string path = dir.Write("input.bin", "skipped" + data);

    CDiskFile input(path, CDiskFile::Mode::read);
    input.Seek(7);
    CMemFile fromFile;
    CCompressor().CompressFile(fromFile, input);
    EXPECT_EQ(fromFile.Data(), Compress(data));
    EXPECT_EQ(Compress(data), Compress(data));
}

// Records the sizes of the writes the compressor makes.
class CRecordingFile : public CMemFile {
public:
    void Write(const void* data, std::size_t count) override
    {
        writes.push_back(count);
        CMemFile::Write(data, count);
    }
    std::vector<std::size_t> writes;
};

TEST(Compressor, WritesInPiecesAndAppendsAtThePosition)
{
    std::string data = GenerateData(DataKind::random, 20000);
    CRecordingFile out;
    out.Write("HEAD", 4);
    out.writes.clear();
    CCompressor().CompressBuffer(out, data.data(), data.size());
    ASSERT_FALSE(out.writes.empty());
    for (std::size_t i = 0; i + 1 < out.writes.size(); ++i) EXPECT_EQ(out.writes[i], 4096u);
    EXPECT_LE(out.writes.back(), 4096u);
    EXPECT_EQ(out.Data().substr(0, 4), "HEAD");
    EXPECT_EQ(out.Data().substr(4), Compress(data));
}

TEST(Compressor, ReportsProgressAfterEveryRefillAndCanBeStopped)
{
    std::string data = GenerateData(DataKind::text, 300000);
    CMemFile input(data);
    std::vector<std::uint64_t> seen;
    CCompressor compressor;
    compressor.SetProgress([&](std::uint64_t consumed, std::uint32_t user) {
        EXPECT_EQ(user, 0xC0FFEEu);
        seen.push_back(consumed);
    }, 0xC0FFEEu);
    CMemFile out;
    compressor.CompressFile(out, input);
    ASSERT_GE(seen.size(), 2u);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_EQ(seen.back(), data.size());
    EXPECT_GT(seen.front(), 32768u) << "not after the first read";

    struct Stop {};
    compressor.SetProgress([](std::uint64_t consumed, std::uint32_t) {
        if (consumed > 100000) throw Stop();
    }, 0);
    CMemFile again(data);
    CMemFile partial;
    EXPECT_THROW(compressor.CompressFile(partial, again), Stop);
}

}  // namespace
}  // namespace sw
