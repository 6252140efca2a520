#pragma once
// The markers inside an installer or uninstaller runtime image, shared by the runtimes
// (which carry them) and the builder (which fills them in and reads them).
//
// A marker is the 16-bit tag kMarkerTag followed by a 32-bit identifier, both little-endian,
// found by scanning every byte offset of the image from the start; the first match wins.
//
// - Size marker: tag, kSizeMarkerId, then a 4-byte size slot and 8 further bytes, all zero
//   in the stored image. The builder writes the image's length into the size slot, so the
//   runtime knows where the records appended to it begin. Into the 8 further bytes it then
//   writes the check of those records: a CRC-32 and kRecordsCheckTag, which says that the
//   CRC is there. The check covers everything from the end of the image to the end of
//   REC_END's header (every record, the file table, and REC_END's size, which says how much
//   data follows), so that a flipped bit in what the runtime trusts before it writes
//   anything is refused as invalid data. Older writers left these bytes at zero: a program
//   without the tag is refused too. The data section is not covered: each file's stream has
//   its own check value, and disk spanning and later splits move it without touching the
//   records.
// - Seed marker (installer only): tag, kSeedMarkerId, then the runtime's seed XOR kSeedMask.
//   The seed starts the check value of every installed file; masking it keeps the plain
//   value out of the image. An image without a seed marker stands for kDefaultSeed.
//
// The runtime compiles these helpers too, so they use nothing beyond <cstddef>/<cstdint>.
// They compare the tag and the identifier as separate values: compiled code then holds
// them as two immediates, never as the six adjacent bytes that a scan would mistake for
// the marker in front of the real one.
#include <cstddef>
#include <cstdint>

namespace sw {

inline constexpr std::uint16_t kMarkerTag = 0x7777;
inline constexpr std::uint32_t kSizeMarkerId = 0x48295467;
inline constexpr std::uint32_t kSeedMarkerId = 0x5D3B9A1E;
inline constexpr std::uint32_t kSeedMask = 0xC4E2716B;
inline constexpr std::uint32_t kDefaultSeed = 0x3A7F0C95;
// The seed the installer runtimes are built with. The builder never uses it: it reads the
// seed from the image it writes, so that an image built with another seed still gets
// check values that match.
inline constexpr std::uint32_t kRuntimeSeed = 0x6B1E52D3;

inline constexpr std::size_t kMarkerHeadBytes = 6;  // tag + identifier
inline constexpr std::size_t kSizeSlotOffset = kMarkerHeadBytes;
inline constexpr std::size_t kRecordsCrcOffset = kSizeSlotOffset + 4;    // CRC-32 of the records
inline constexpr std::size_t kRecordsTagOffset = kRecordsCrcOffset + 4;  // kRecordsCheckTag
inline constexpr std::size_t kSizeMarkerBytes = 6 + 4 + 8;
inline constexpr std::uint32_t kRecordsCheckTag = 0x31435243;  // "CRC1"
// Offsets within the size marker are read by every runtime ever shipped with a program:
// they never move.
static_assert(kSizeSlotOffset == 6 && kRecordsCrcOffset == 10 && kRecordsTagOffset == 14);
static_assert(kRecordsTagOffset + 4 == kSizeMarkerBytes, "the check fills the marker's further bytes exactly");
inline constexpr std::size_t kSeedMarkerBytes = 6 + 4;
inline constexpr std::size_t kMarkerNotFound = static_cast<std::size_t>(-1);

namespace marker_detail {

constexpr std::uint32_t Load16(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8;
}

constexpr std::uint32_t Load32(const std::uint8_t* p)
{
    return Load16(p) | Load16(p + 2) << 16;
}

constexpr void Store32(std::uint8_t* p, std::uint32_t value)
{
    p[0] = static_cast<std::uint8_t>(value);
    p[1] = static_cast<std::uint8_t>(value >> 8);
    p[2] = static_cast<std::uint8_t>(value >> 16);
    p[3] = static_cast<std::uint8_t>(value >> 24);
}

}  // namespace marker_detail

// The offset of the first marker with this identifier whose six bytes lie inside the
// image, or kMarkerNotFound.
constexpr std::size_t FindMarker(const std::uint8_t* image, std::size_t size, std::uint32_t id)
{
    if (size < kMarkerHeadBytes) return kMarkerNotFound;
    for (std::size_t offset = 0; offset <= size - kMarkerHeadBytes; ++offset) {
        if (marker_detail::Load16(image + offset) == kMarkerTag &&
            marker_detail::Load32(image + offset + 2) == id)
            return offset;
    }
    return kMarkerNotFound;
}

// Writes the image's length into the size slot of its size marker and leaves every other
// byte alone. False when the image has no size marker, or its size slot would run past
// the end; the image is then unchanged.
constexpr bool SetImageSize(std::uint8_t* image, std::size_t size)
{
    std::size_t offset = FindMarker(image, size, kSizeMarkerId);
    if (offset == kMarkerNotFound || size - offset < kSizeSlotOffset + 4) return false;
    marker_detail::Store32(image + offset + kSizeSlotOffset, static_cast<std::uint32_t>(size));
    return true;
}

// Writes the records' check (the CRC and the tag) into the size marker that starts at
// `sizeMarker`; the marker's other bytes stay as they are.
constexpr void StoreRecordsCheck(std::uint8_t* sizeMarker, std::uint32_t crc)
{
    marker_detail::Store32(sizeMarker + kRecordsCrcOffset, crc);
    marker_detail::Store32(sizeMarker + kRecordsTagOffset, kRecordsCheckTag);
}

// The seed the image carries, unmasked; kDefaultSeed when it has no seed marker or the
// seed bytes of the first one would run past the end.
constexpr std::uint32_t ReadSeed(const std::uint8_t* image, std::size_t size)
{
    std::size_t offset = FindMarker(image, size, kSeedMarkerId);
    if (offset == kMarkerNotFound || size - offset < kSeedMarkerBytes) return kDefaultSeed;
    return marker_detail::Load32(image + offset + kMarkerHeadBytes) ^ kSeedMask;
}

}  // namespace sw
