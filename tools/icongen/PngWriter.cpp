#include "PngWriter.h"

#include <zlib.h>

#include <algorithm>
#include <cstddef>
#include <cstdlib>

namespace sw::icongen {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint8_t kColourRgba = 6;
constexpr std::size_t kPixelBytes = 4;

enum : int { kFilterNone, kFilterSub, kFilterUp, kFilterAverage, kFilterPaeth, kFilterCount };
constexpr int kFilterEachRow = kFilterCount;  // the filter that suits each row best

std::uint8_t Predict(int filter, int left, int up, int upLeft)
{
    switch (filter) {
    case kFilterSub: return static_cast<std::uint8_t>(left);
    case kFilterUp: return static_cast<std::uint8_t>(up);
    case kFilterAverage: return static_cast<std::uint8_t>((left + up) / 2);
    case kFilterPaeth: {
        const int p = left + up - upLeft, pa = std::abs(p - left), pb = std::abs(p - up), pc = std::abs(p - upLeft);
        return static_cast<std::uint8_t>(pa <= pb && pa <= pc ? left : pb <= pc ? up : upLeft);
    }
    default: return 0;
    }
}

// The image data before compression: each row led by its filter type. kFilterEachRow
// picks, per row, the filter whose output has the smallest sum of magnitudes (read as
// signed bytes), the usual guess at what deflates best.
Bytes FilterRows(const Bytes& raw, std::size_t stride, unsigned height, int choice)
{
    const Bytes zeros(stride, 0);
    Bytes out;
    for (unsigned y = 0; y < height; ++y) {
        const std::uint8_t* row = raw.data() + y * stride;
        const std::uint8_t* above = y > 0 ? row - stride : zeros.data();
        auto filtered = [&](int filter) {
            Bytes bytes(stride);
            for (std::size_t i = 0; i < stride; ++i) {
                const int left = i >= kPixelBytes ? row[i - kPixelBytes] : 0;
                const int upLeft = i >= kPixelBytes ? above[i - kPixelBytes] : 0;
                bytes[i] = static_cast<std::uint8_t>(row[i] - Predict(filter, left, above[i], upLeft));
            }
            return bytes;
        };
        int filter = choice;
        if (choice == kFilterEachRow) {
            long best = -1;
            for (int f = 0; f < kFilterCount; ++f) {
                long cost = 0;
                for (std::uint8_t b : filtered(f)) cost += b < 128 ? b : 256 - b;
                if (best < 0 || cost < best) best = cost, filter = f;
            }
        }
        out.push_back(static_cast<std::uint8_t>(filter));
        const Bytes bytes = filtered(filter);
        out.insert(out.end(), bytes.begin(), bytes.end());
    }
    return out;
}

bool Deflate(const Bytes& data, int strategy, Bytes& out)
{
    z_stream stream{};
    if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, 15, 9, strategy) != Z_OK) return false;
    out.resize(deflateBound(&stream, static_cast<uLong>(data.size())));
    stream.next_in = const_cast<Bytef*>(data.data());
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    const int result = deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    return deflateEnd(&stream) == Z_OK && result == Z_STREAM_END;
}

// The smallest zlib stream of the raw rows among every filter choice and strategy.
bool SmallestImageData(const Bytes& raw, std::size_t stride, unsigned height, Bytes& best)
{
    best.clear();
    for (int choice = 0; choice <= kFilterEachRow; ++choice) {
        const Bytes filtered = FilterRows(raw, stride, height, choice);
        for (int strategy : {Z_DEFAULT_STRATEGY, Z_FILTERED, Z_RLE}) {
            Bytes compressed;
            if (!Deflate(filtered, strategy, compressed)) return false;
            if (best.empty() || compressed.size() < best.size()) best = std::move(compressed);
        }
    }
    return true;
}

void Put32(Bytes& out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void PutChunk(Bytes& out, const char (&type)[5], const Bytes& data)
{
    Put32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    Put32(out, static_cast<std::uint32_t>(crc32(0, out.data() + start, static_cast<uInt>(out.size() - start))));
}

Bytes PngFile(unsigned width, unsigned height, const Bytes& imageData)
{
    static const std::uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes out(kSignature, kSignature + sizeof kSignature);
    Bytes header;
    Put32(header, width);
    Put32(header, height);
    header.insert(header.end(), {8, kColourRgba, 0, 0, 0});  // 8 bits; deflate, adaptive filters, no interlace
    PutChunk(out, "IHDR", header);
    PutChunk(out, "IDAT", imageData);
    PutChunk(out, "IEND", {});
    return out;
}

}  // namespace

std::vector<std::uint8_t> EncodePng(const std::vector<std::uint8_t>& rgba, unsigned width, unsigned height)
{
    Bytes imageData;
    if (!SmallestImageData(rgba, std::size_t{width} * kPixelBytes, height, imageData)) return {};
    return PngFile(width, height, imageData);
}

}  // namespace sw::icongen
