#include "build/ProgramReader.h"

#include "core/ImageMarkers.h"
#include "core/InstallFormat.h"
#include "core/ProgramLayout.h"
#include "core/StreamDecoder.h"
#include "platform/StringFormat.h"
#include "platform/StringTable.h"

namespace sw {

namespace {

[[noreturn]] void Damaged(const char* what) { throw CProgramError(FormatText(LoadString(IDS_PROGRAM_DAMAGED), std::string(what))); }

// A bounded reader over bytes; running past the end is damage.
struct Cursor {
    const std::string& bytes;
    std::size_t pos = 0;

    std::uint64_t Get(int count)
    {
        if (pos + static_cast<std::size_t>(count) > bytes.size()) Damaged("cut short");
        std::uint64_t value = 0;
        for (int i = 0; i < count; ++i) value |= static_cast<std::uint64_t>(static_cast<std::uint8_t>(bytes[pos++])) << (8 * i);
        return value;
    }
    std::string Take(std::size_t count)
    {
        if (count > bytes.size() - pos) Damaged("cut short");
        std::string out = bytes.substr(pos, count);
        pos += count;
        return out;
    }
    std::string String()
    {
        std::size_t end = bytes.find('\0', pos);
        if (end == std::string::npos) Damaged("a string without its end");
        std::string out = bytes.substr(pos, end - pos);
        pos = end + 1;
        return out;
    }
};

std::string DecodeTo(std::string_view stream, std::size_t size, std::size_t* used = nullptr)
{
    std::string out(size, '\0');
    DecodeResult result = DecodeStream(reinterpret_cast<const std::uint8_t*>(stream.data()), stream.size(),
                                       reinterpret_cast<std::uint8_t*>(out.data()), size);
    if (result.status != DecodeStatus::ok) Damaged(DecodeStatusName(result.status));
    if (used) *used = result.inputUsed;
    return out;
}

// Payloads claim their own length; a claim far beyond what any stream could hold is damage.
std::size_t CheckedLength(std::uint64_t length, std::size_t streamSize)
{
    if (length > static_cast<std::uint64_t>(streamSize) * 1032 + 1024) Damaged("a length its stream cannot hold");
    return static_cast<std::size_t>(length);
}

void ReadWizardTexts(InstallProgram& program, const std::string& raw)
{
    Cursor in{raw};
    auto groups = static_cast<std::size_t>(in.Get(2));
    for (std::size_t g = 0; g < groups; ++g) {
        std::size_t length = CheckedLength(in.Get(4), raw.size() - in.pos);
        std::size_t used = 0;
        std::string group = DecodeTo(std::string_view(raw).substr(in.pos), length, &used);
        in.pos += used;
        Cursor items{group};
        std::vector<std::string> list(static_cast<std::size_t>(items.Get(2)));
        for (std::string& text : list) text = items.String();
        program.wizardTexts.push_back(std::move(list));
    }
}

void ReadFileTable(InstallProgram& program, const std::string& table)
{
    Cursor in{table};
    auto count = static_cast<std::size_t>(in.Get(4));
    if (count > table.size() / kFileRecordFixedSize) Damaged("a file count the table cannot hold");
    std::uint64_t dataPos = 0;
    for (std::size_t i = 0; i < count; ++i) {
        std::size_t start = in.pos;
        ProgramFile file;
        auto length = static_cast<std::size_t>(in.Get(4));
        in.Get(2);
        file.iconIndex = static_cast<std::uint16_t>(in.Get(2));
        for (std::uint8_t& option : file.options) option = static_cast<std::uint8_t>(in.Get(1));
        file.flags = static_cast<std::uint8_t>(in.Get(1));
        file.checkValue = static_cast<std::uint32_t>(in.Get(4));
        file.size = static_cast<std::uint32_t>(in.Get(4));
        file.packedSize = static_cast<std::uint32_t>(in.Get(4));
        if (file.flags & (kFileHasVersion | kFileHasLanguage)) {
            for (std::uint32_t& value : file.version) value = static_cast<std::uint32_t>(in.Get(4));
            file.language = static_cast<std::uint32_t>(in.Get(4));
        }
        if (file.flags & kFileHasTimes)
            for (std::uint64_t& time : file.times) time = in.Get(8);
        for (std::string* text : {&file.name, &file.iconFolder, &file.iconName, &file.iconArgs, &file.shortcutName,
                                  &file.shortcutArgs})
            *text = in.String();
        if (in.pos - start != length) Damaged("a file record of the wrong length");
        file.dataOffset = dataPos;
        dataPos += file.packedSize;
        program.files.push_back(std::move(file));
    }
    if (in.pos != table.size()) Damaged("bytes after the file table");
    if (dataPos != program.data.size()) Damaged("a data section of the wrong length");
}

}  // namespace

const char* RecordName(std::uint16_t id)
{
    switch (id) {
    case REC_OPTIONS: return "REC_OPTIONS";
    case REC_DEFAULT_DIR: return "REC_DEFAULT_DIR";
    case REC_WIZARD_BITMAP: return "REC_WIZARD_BITMAP";
    case REC_BACKGROUND_BITMAP: return "REC_BACKGROUND_BITMAP";
    case REC_TITLE: return "REC_TITLE";
    case REC_BACKGROUND_TITLE: return "REC_BACKGROUND_TITLE";
    case REC_WIZARD_TEXTS: return "REC_WIZARD_TEXTS";
    case REC_ATTACHED_FILE: return "REC_ATTACHED_FILE";
    case REC_REG_ROOT: return "REC_REG_ROOT";
    case REC_REG_KEY: return "REC_REG_KEY";
    case REC_REG_VALUE: return "REC_REG_VALUE";
    case REC_INI_FILE: return "REC_INI_FILE";
    case REC_INI_SECTION: return "REC_INI_SECTION";
    case REC_INI_ENTRY: return "REC_INI_ENTRY";
    case REC_DIALOGS: return "REC_DIALOGS";
    case REC_FILE_TABLE: return "REC_FILE_TABLE";
    case REC_TEST_PAGE: return "REC_TEST_PAGE";
    case REC_TITLE_FONT: return "REC_TITLE_FONT";
    case REC_END: return "REC_END";
    default: return "?";
    }
}

std::string DecodePayload(const std::string& compressed)
{
    Cursor cursor{compressed};
    std::size_t length = CheckedLength(cursor.Get(4), compressed.size() - 4);
    return DecodeTo(std::string_view(compressed).substr(4), length);
}

const ProgramRecord* InstallProgram::Find(std::uint16_t id) const
{
    for (const ProgramRecord& record : records)
        if (record.id == id) return &record;
    return nullptr;
}

std::uint32_t InstallProgram::ProjectCheckValue() const
{
    std::uint32_t check = seed;
    auto add = [&check](const ProgramRecord* record) {
        if (record && !record->payload.empty())
            check = AddToChecksum(check, reinterpret_cast<const std::uint8_t*>(record->payload.data()), record->payload.size() - 1);
    };
    add(Find(REC_DEFAULT_DIR));
    const ProgramRecord* options = Find(REC_OPTIONS);
    if (options && options->payload.size() >= 4 && (static_cast<std::uint8_t>(options->payload[0]) & kOptionFullScreen))
        add(Find(REC_BACKGROUND_TITLE));
    return check;
}

std::string InstallProgram::FileData(const ProgramFile& file) const
{
    if (file.dataOffset + file.packedSize > data.size()) Damaged("cut short");
    std::size_t size = CheckedLength(file.size, file.packedSize);
    std::size_t used = 0;
    std::string content = DecodeTo(std::string_view(data).substr(static_cast<std::size_t>(file.dataOffset), file.packedSize), size, &used);
    if (used != file.packedSize) Damaged("a stream of the wrong length");
    return content;
}

InstallProgram ReadInstallProgram(const std::string& bytes, const std::vector<std::string>& volumes)
{
    InstallProgram program;
    const auto* image = reinterpret_cast<const std::uint8_t*>(bytes.data());
    std::size_t marker = FindMarker(image, bytes.size(), kSizeMarkerId);
    if (marker == kMarkerNotFound) throw CProgramError(LoadString(IDS_NOT_AN_INSTALL_PROGRAM));
    if (bytes.size() - marker < kSizeMarkerBytes) Damaged("cut short");
    Cursor cursor{bytes, marker + kSizeSlotOffset};
    program.imageSize = static_cast<std::size_t>(cursor.Get(4));
    if (program.imageSize > bytes.size()) Damaged("cut short");
    if (program.imageSize < marker + kSizeMarkerBytes) Damaged("an image size that ends inside its own size marker");
    program.seed = ReadSeed(image, program.imageSize);
    cursor.pos = program.imageSize;
    for (;;) {
        ProgramRecord record;
        record.offset = cursor.pos;
        record.id = static_cast<std::uint16_t>(cursor.Get(2));
        record.flags = static_cast<std::uint16_t>(cursor.Get(2));
        auto size = static_cast<std::size_t>(cursor.Get(4));
        if (record.id == REC_END) {
            program.dataSize = static_cast<std::uint32_t>(size);
            program.records.push_back(std::move(record));
            break;
        }
        record.raw = cursor.Take(size);
        program.records.push_back(std::move(record));
    }
    // Checked before any payload is decoded: what fails the check is damage, whatever it decodes to.
    const std::uint8_t* sizeMarker = image + marker;
    if (marker_detail::Load32(sizeMarker + kRecordsTagOffset) != kRecordsCheckTag)
        Damaged("its records carry no check value (written by an older builder, or altered)");
    if (!RecordsCheckHolds(sizeMarker, image + program.imageSize, cursor.pos - program.imageSize))
        Damaged("its records do not match their check value");
    program.recordsCheck = marker_detail::Load32(sizeMarker + kRecordsCrcOffset);
    for (ProgramRecord& record : program.records)
        if (record.id != REC_END) record.payload = (record.flags & kRecordCompressed) ? DecodePayload(record.raw) : record.raw;
    if (program.dataSize > 0) {
        program.data = cursor.Take(static_cast<std::size_t>(cursor.Get(4)));
        for (const std::string& volume : volumes) {
            Cursor part{volume};
            program.data += part.Take(static_cast<std::size_t>(part.Get(4)));
            if (part.pos != volume.size()) Damaged("bytes after the data of a volume");
        }
        if (program.data.size() != program.dataSize) Damaged("a data section of the wrong length");
    }
    if (cursor.pos != bytes.size()) Damaged("bytes after the data section");
    if (const ProgramRecord* texts = program.Find(REC_WIZARD_TEXTS)) ReadWizardTexts(program, texts->raw);
    if (const ProgramRecord* table = program.Find(REC_FILE_TABLE)) ReadFileTable(program, table->payload);
    return program;
}

}  // namespace sw
