#include "cli/ProgramCommands.h"

#include <algorithm>
#include <cstdio>

#include "build/Builder.h"
#include "build/ProgramReader.h"
#include "build/ReportColumns.h"
#include "core/InstallFormat.h"
#include "core/ProgramLayout.h"
#include "model/NameProblemText.h"
#include "platform/FileError.h"
#include "platform/Files.h"
#include "platform/StringFormat.h"
#include "platform/StringTable.h"

namespace sw {

namespace {

int Fail(const std::string& text)
{
    std::fprintf(stderr, "setwright-cli: %s\n", text.c_str());
    return 1;
}

// The program and the follow-on volumes found beside it; throws CFileError or CProgramError.
InstallProgram Load(const std::string& path)
{
    std::string bytes = ReadWholeFile(path);
    std::vector<std::string> volumes;
    for (int number = 1; number < 100; ++number) {
        std::string volume = VolumeName(path, number);
        if (!IsRegularFile(volume)) break;
        volumes.push_back(ReadWholeFile(volume));
    }
    return ReadInstallProgram(bytes, volumes);
}

}  // namespace

int ListProgram(const std::string& path)
{
    InstallProgram program;
    try {
        program = Load(path);
    } catch (const std::runtime_error& error) {
        return Fail(path + ": " + error.what());
    }
    std::printf("runtime image: %zu bytes, seed %08x\n", program.imageSize, program.seed);
    std::printf("records: CRC-32 %08x, checked\n", program.recordsCheck);
    std::printf("%-8s  %-22s %-5s %10s %10s\n", "offset", "record", "flags", "stored", "payload");
    for (const ProgramRecord& record : program.records) {
        if (record.id == REC_END) {
            std::printf("%08llx  %-22s %5u %10s %10u (data section)\n", static_cast<unsigned long long>(record.offset),
                        RecordName(record.id), record.flags, "", program.dataSize);
            continue;
        }
        std::printf("%08llx  %-22s %5u %10zu %10zu\n", static_cast<unsigned long long>(record.offset), RecordName(record.id),
                    record.flags, record.raw.size(), record.payload.size());
    }
    std::printf("\n%-40s %7s %13s %13s %6s  %-5s %8s\n", "file", "options", "size", "packed", "ratio", "flags", "check");
    for (const ProgramFile& file : program.files) {
        ResultColumns columns = FormatResultColumns(IDS_ACTION_ADD, file.size, file.packedSize);
        std::string options;
        for (std::uint8_t option : file.options) options += static_cast<char>('0' + option % 10);
        std::printf("%-40s %7s %13s %13s %6s  %-5u %08x\n", file.name.c_str(), options.c_str(), columns.size.c_str(),
                    columns.packed.c_str(), columns.ratio.c_str(), file.flags, file.checkValue);
        if (!file.iconName.empty())
            std::printf("    icon \"%s\" in \"%s\" (%s, #%u)\n", file.iconName.c_str(), file.iconFolder.c_str(), file.iconArgs.c_str(),
                        file.iconIndex);
        if (!file.shortcutName.empty())
            std::printf("    desktop shortcut \"%s\" (%s)\n", file.shortcutName.c_str(), file.shortcutArgs.c_str());
    }
    return 0;
}

int VerifyProgram(const std::string& path)
{
    InstallProgram program;
    try {
        program = Load(path);
    } catch (const std::runtime_error& error) {
        return Fail(path + ": " + error.what());
    }
    std::uint32_t project = program.ProjectCheckValue();
    int bad = 0;
    int checked = 0;
    auto report = [&bad](const std::string& name, const std::string& why) {
        ++bad;
        std::fprintf(stderr, "setwright-cli: %s\n", FormatText(LoadString(IDS_CLI_FILE_BAD), name, why).c_str());
    };
    for (const ProgramFile& file : program.files) {
        // What the installer refuses as invalid data before it writes anything.
        if (NameProblem problem = CheckInstallName(file.name.data(), file.name.size()); problem != NameProblem::none)
            report(file.name, FormatText(LoadString(IDS_CLI_NAME_LEAVES_TARGET), DescribeNameProblem(problem)));
        if (file.packedSize == 0) continue;
        ++checked;
        try {
            std::string content = program.FileData(file);
            std::uint32_t expected = AddToChecksum(0, reinterpret_cast<const std::uint8_t*>(content.data()), content.size()) ^ project;
            if (file.checkValue != expected) report(file.name, LoadString(IDS_CLI_CHECK_VALUE_WRONG));
            // The uninstaller's package is a program of its own, whose records it checks.
            if (file.flags & kFileIsUninstaller) ReadInstallProgram(content);
        } catch (const CProgramError& error) {
            report(file.name, error.what());
        }
    }
    if (const ProgramRecord* table = program.Find(REC_FILE_TABLE)) {
        FileEntry collision;
        if (FindUninstallerCollision(reinterpret_cast<const std::uint8_t*>(table->payload.data()), table->payload.size(), collision))
            report(std::string(collision.name, collision.nameLength), LoadString(IDS_CLI_NAME_OF_UNINSTALLER));
    }
    if (bad > 0) return Fail(FormatText(LoadString(IDS_CLI_NOT_VERIFIED), path, bad, checked));
    std::printf("%s\n", FormatText(LoadString(IDS_CLI_VERIFIED), path, checked).c_str());
    return 0;
}

}  // namespace sw

namespace sw {

int SplitProgram(const std::string& path, std::uint64_t bytes)
{
    std::string head;
    InstallProgram program;
    try {
        program = Load(path);
        // Everything up to REC_END's header stays as it is; only the data section moves.
        std::string whole = ReadWholeFile(path);
        head = whole.substr(0, static_cast<std::size_t>(program.records.back().offset) + kRecordHeaderSize);
    } catch (const std::runtime_error& error) {
        return Fail(path + ": " + error.what());
    }
    auto piece = [&](std::size_t at) {
        std::string part = program.data.substr(at, static_cast<std::size_t>(std::min<std::uint64_t>(bytes, program.data.size() - at)));
        std::uint32_t count = static_cast<std::uint32_t>(part.size());
        std::string counted{static_cast<char>(count), static_cast<char>(count >> 8), static_cast<char>(count >> 16),
                            static_cast<char>(count >> 24)};
        return counted + part;
    };
    std::vector<std::string> volumes;
    for (std::size_t at = static_cast<std::size_t>(std::min<std::uint64_t>(bytes, program.data.size())); at < program.data.size();
         at += static_cast<std::size_t>(std::min<std::uint64_t>(bytes, program.data.size() - at)))
        volumes.push_back(piece(at));
    if (volumes.size() > 99) return Fail(FormatText(LoadString(IDS_CLI_SPLIT_TOO_MANY), path));
    try {
        // The program last, so that it never declares volumes that are not written yet.
        for (std::size_t i = 0; i < volumes.size(); ++i) WriteFileReplacing(VolumeName(path, static_cast<int>(i + 1)), volumes[i]);
        WriteFileReplacing(path, program.dataSize > 0 ? head + piece(0) : head);
    } catch (const CFileError& error) {
        return Fail(error.what());
    }
    // Volumes of an earlier split that lie past the new last one would be read as more data.
    for (int number = static_cast<int>(volumes.size()) + 1; number < 100 && IsRegularFile(VolumeName(path, number)); ++number)
        std::remove(VolumeName(path, number).c_str());
    std::printf("%s\n", FormatText(LoadString(IDS_CLI_SPLIT_DONE), path,
                                   static_cast<int>(std::min<std::uint64_t>(bytes, program.data.size())),
                                   static_cast<int>(volumes.size()))
                            .c_str());
    return 0;
}

}  // namespace sw
