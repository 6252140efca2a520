#include "StandInImages.h"

#include <stdexcept>

#include "core/ImageMarkers.h"

namespace sw::resgen {
namespace {

constexpr std::size_t kNoteOffset = 0x40;  // behind where a DOS header would end
constexpr std::size_t kImageSize = 256;

void PutMarkerHead(std::vector<std::uint8_t>& image, std::size_t offset, std::uint32_t id)
{
    image[offset] = static_cast<std::uint8_t>(kMarkerTag);
    image[offset + 1] = static_cast<std::uint8_t>(kMarkerTag >> 8);
    marker_detail::Store32(image.data() + offset + 2, id);
}

std::size_t AlignUp16(std::size_t value)
{
    return (value + 15) / 16 * 16;
}

}  // namespace

std::vector<std::uint8_t> MakeStandInImage(const std::string& note, std::optional<std::uint32_t> seed)
{
    std::size_t sizeMarker = AlignUp16(kNoteOffset + note.size() + 1);
    std::size_t seedMarker = AlignUp16(sizeMarker + kSizeMarkerBytes);
    std::size_t end = seed ? seedMarker + kSeedMarkerBytes : sizeMarker + kSizeMarkerBytes;
    if (end > kImageSize) throw std::invalid_argument("the note of a stand-in image is too long: " + note);

    std::vector<std::uint8_t> image(kImageSize, 0);
    image[0] = 'M';
    image[1] = 'Z';
    for (std::size_t i = 0; i < note.size(); ++i) image[kNoteOffset + i] = static_cast<std::uint8_t>(note[i]);
    PutMarkerHead(image, sizeMarker, kSizeMarkerId);
    if (seed) {
        PutMarkerHead(image, seedMarker, kSeedMarkerId);
        marker_detail::Store32(image.data() + seedMarker + 6, *seed ^ kSeedMask);
    }

    // The note must not hold the start of a marker that a scan would find first.
    if (FindMarker(image.data(), image.size(), kSizeMarkerId) != sizeMarker ||
        (seed && FindMarker(image.data(), image.size(), kSeedMarkerId) != seedMarker))
        throw std::logic_error("a stand-in image holds a marker in front of its own");
    return image;
}

std::string CheckRuntimeImage(const std::vector<std::uint8_t>& image)
{
    std::size_t offset = FindMarker(image.data(), image.size(), kSizeMarkerId);
    if (offset == kMarkerNotFound) return "it has no size marker";
    if (image.size() - offset < kSizeMarkerBytes) return "its size marker runs past its end";
    if (marker_detail::Load32(image.data() + offset + kSizeSlotOffset) != 0)
        return "the size slot of its size marker is not zero";
    return {};
}

}  // namespace sw::resgen
