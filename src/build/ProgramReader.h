#pragma once
// Reads an installation program back as the installer runtime would: the runtime image,
// the records, the wizard texts, the file table and the data section (follow-on volumes
// joined). Used by `setwright-cli list` and `verify`, and by the tests of the builder.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace sw {

// The bytes are not an installation program, or a damaged one. what() says why.
class CProgramError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct ProgramRecord {
    std::uint16_t id = 0;
    std::uint16_t flags = 0;
    std::uint64_t offset = 0;  // of the record header in the program
    std::string raw;           // the payload as stored
    std::string payload;       // decompressed when flagged
};

struct ProgramFile {
    std::uint16_t iconIndex = 0;
    std::uint8_t options[5] = {};
    std::uint8_t flags = 0;
    std::uint32_t checkValue = 0, size = 0, packedSize = 0;
    std::uint32_t version[4] = {};
    std::uint32_t language = 0;
    std::uint64_t times[3] = {};
    std::string name, iconFolder, iconName, iconArgs, shortcutName, shortcutArgs;
    std::uint64_t dataOffset = 0;  // of its stream in the data section
};

struct InstallProgram {
    std::size_t imageSize = 0;
    std::uint32_t seed = 0;
    std::uint32_t recordsCheck = 0;      // the CRC-32 of the records, checked
    std::vector<ProgramRecord> records;  // up to and including REC_END
    std::uint32_t dataSize = 0;          // REC_END's size
    std::string data;                    // the data section, volumes joined
    std::vector<std::vector<std::string>> wizardTexts;
    std::vector<ProgramFile> files;

    const ProgramRecord* Find(std::uint16_t id) const;
    // The value every installed file's check value is XOR-ed with.
    std::uint32_t ProjectCheckValue() const;
    // Decodes a file's stream; throws CProgramError when it does not decode to its size.
    std::string FileData(const ProgramFile& file) const;
};

// volumes: the contents of the follow-on volumes, in order. The records must pass their
// check (core/ImageMarkers.h), as the runtimes require.
InstallProgram ReadInstallProgram(const std::string& program, const std::vector<std::string>& volumes = {});

// A compressed payload (32-bit length, then the stream) decoded; throws CProgramError.
std::string DecodePayload(const std::string& compressed);

const char* RecordName(std::uint16_t id);

}  // namespace sw
