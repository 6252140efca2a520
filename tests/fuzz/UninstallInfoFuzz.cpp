// Feeds arbitrary bytes to what the uninstaller reads before it removes anything: the
// uninstall information, its own texts and its registry keys. The readers may refuse the
// bytes, never read outside them, and every text they hand out lies inside the input.
// Random bytes seldom hold a record whose check values match, so the input also becomes
// a well-formed file (its bytes as the texts of records) that is then cut and flipped,
// as an interrupted installation or a damaged disk leaves it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "core/UninstallInfo.h"
#include "core/UninstallerRecords.h"

namespace {

void CheckInside(const std::uint8_t* data, std::size_t size, const char* text, std::size_t length)
{
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text);
    if (length > 0 && (bytes < data || bytes + length > data + size)) std::abort();
}

// Reads every record; returns whether the reader called the file damaged.
bool ReadInformation(const std::uint8_t* data, std::size_t size)
{
    sw::CUninstallInfoReader reader(data, size);
    sw::UninstallRecord record{};
    while (reader.Next(record)) {
        CheckInside(data, size, record.text[0], record.length[0]);
        CheckInside(data, size, record.text[1], record.length[1]);
        sw::IsActionableRecord(record);
    }
    if (reader.Next(record)) std::abort();  // a reader that stopped stays stopped
    return reader.Damaged();
}

// The input's bytes as records, as the installer writes them: each piece up to a 0xFF
// byte is one record's text, its first byte choosing the kind. The first four input bytes say where to cut the file and
// which byte to flip; `flipped` tells whether one was.
std::vector<std::uint8_t> WellFormed(const std::uint8_t* data, std::size_t size, bool& flipped)
{
    flipped = false;
    std::vector<std::uint8_t> file(sw::kUninstallInfoHeaderSize);
    sw::UninstallInfoHeader(file.data(), file.size());
    if (size < 4) return file;
    std::size_t cut = static_cast<std::size_t>(data[0] | data[1] << 8);
    std::size_t flip = static_cast<std::size_t>(data[2] | data[3] << 8);
    for (std::size_t start = 4; start < size;) {
        std::size_t end = start;
        while (end < size && data[end] != 0xFF) ++end;
        if (end == start) {  // the installer never lists an empty text
            start = end + 1;
            continue;
        }
        sw::UninstallRecord record{static_cast<sw::UninstallItem>(1 + data[start] % 7), data[start],
                                   {reinterpret_cast<const char*>(data + start), nullptr}, {end - start, 0}};
        std::vector<std::uint8_t> bytes(end - start + sw::kUninstallRecordFixedSize);
        std::size_t length = sw::EncodeUninstallRecord(record, bytes.data(), bytes.size());
        if (length != bytes.size()) std::abort();
        file.insert(file.end(), bytes.begin(), bytes.end());
        start = end + 1;
    }
    flipped = flip < file.size();
    if (flipped) file[flip] ^= 0x5A;
    if (cut > 0 && cut < file.size()) file.resize(file.size() - cut);
    return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ReadInformation(data, size);
    bool flipped = false;
    std::vector<std::uint8_t> file = WellFormed(data, size, flipped);
    // Cut short only, the file is what an interrupted installation leaves: never damaged.
    if (ReadInformation(file.data(), file.size()) && !flipped) std::abort();

    sw::TextView texts[sw::kUninstTextCount];
    if (sw::ReadUninstallerTexts(data, size, texts))
        for (const sw::TextView& text : texts) CheckInside(data, size, text.text, text.length);

    sw::CUninstallKeyReader keys(data, size);
    std::uint32_t count = 0;
    if (keys.Start(count)) {
        for (std::uint32_t i = 0; i < count; ++i) {
            sw::RegistryKeyView key{};
            keys.Next(key);
            CheckInside(data, size, key.text, key.length);
            sw::RemovableKeyLength(key.root, key.text, key.length);
        }
    }
    return 0;
}
