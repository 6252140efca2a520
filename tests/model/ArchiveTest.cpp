#include "model/Archive.h"

#include <gtest/gtest.h>

namespace sw {
namespace {

std::string Bytes(std::initializer_list<int> values)
{
    std::string out;
    for (int v : values) out += static_cast<char>(v);
    return out;
}

TEST(Archive, StringLengthPrefixes)
{
    struct Case {
        std::size_t length;
        std::string prefix;
    } cases[] = {
        {0, Bytes({0x00})},
        {254, Bytes({0xFE})},
        {255, Bytes({0xFF, 0xFF, 0x00})},
        {65533, Bytes({0xFF, 0xFD, 0xFF})},
        {65534, Bytes({0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00})},
        {70000, Bytes({0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00})},
    };
    for (const Case& c : cases) {
        std::string text(c.length, 'x');
        CArchive out;
        out.WriteString(text);
        EXPECT_EQ(out.StoredBytes(), c.prefix + text) << c.length;
        CArchive in(out.StoredBytes());
        EXPECT_EQ(in.ReadString(), text) << c.length;
        EXPECT_EQ(in.Remaining(), 0u);
    }
}

TEST(Archive, CountsAndIntegersAreLittleEndian)
{
    CArchive out;
    out.WriteInt(0x10002);
    out.WriteInt(-2);
    out.WriteCount(0xFFFE);
    out.WriteCount(0xFFFF);
    EXPECT_EQ(out.StoredBytes(), Bytes({0x02, 0x00, 0x01, 0x00, 0xFE, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF,
                                        0xFF, 0x00, 0x00}));
    CArchive in(out.StoredBytes());
    EXPECT_EQ(in.ReadInt(), 0x10002);
    EXPECT_EQ(in.ReadInt(), -2);
}

TEST(Archive, WideStringsBecomeUtf8)
{
    // 0xFF, 0xFFFE, then the length in the narrow scheme, then UTF-16 units.
    std::string shortForm = Bytes({0xFF, 0xFE, 0xFF, 0x03, 'a', 0, 0xE9, 0, 0xAC, 0x20});
    CArchive in(shortForm);
    EXPECT_EQ(in.ReadString(), "a\xC3\xA9\xE2\x82\xAC");

    std::string longForm = Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0x02, 0x00, 0x3D, 0xD8, 0x00, 0xDE});
    CArchive in2(longForm);
    EXPECT_EQ(in2.ReadString(), "\xF0\x9F\x98\x80") << "a surrogate pair is one character";

    std::string lone = Bytes({0xFF, 0xFE, 0xFF, 0x01, 0x00, 0xD8});
    CArchive in3(lone);
    EXPECT_EQ(in3.ReadString(), "\xEF\xBF\xBD");
}

TEST(Archive, RefusesWhatTheRemainingBytesCannotHold)
{
    struct Case {
        const char* what;
        std::string bytes;
        CArchiveException::Cause cause;
    } cases[] = {
        {"empty", "", CArchiveException::endOfFile},
        {"short string", Bytes({0x05, 'a', 'b'}), CArchiveException::endOfFile},
        {"huge 32-bit length", Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F}), CArchiveException::endOfFile},
        {"huge wide length", Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}),
         CArchiveException::endOfFile},
        {"odd wide bytes", Bytes({0xFF, 0xFE, 0xFF, 0x02, 'a', 0, 'b'}), CArchiveException::endOfFile},
        {"wide marker twice", Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFE, 0xFF}), CArchiveException::badFormat},
    };
    for (const Case& c : cases) {
        CArchive in(c.bytes);
        try {
            in.ReadString();
            ADD_FAILURE() << c.what;
        } catch (const CArchiveException& e) {
            EXPECT_EQ(e.GetCause(), c.cause) << c.what;
            EXPECT_STREQ(e.what(), "Unexpected file format.");
        }
    }
    CArchive counts(Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0, 0}));
    EXPECT_THROW(counts.ReadStringArray(), CArchiveException) << "refused before anything is allocated";
}

}  // namespace
}  // namespace sw
