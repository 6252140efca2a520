// The installer runtime's Win32 front end. For now it installs unattended only:
//
//   Setup.exe /S [/LOG=FILE] [/D=DIR]
//
// /D= takes the rest of the command line, so DIR may hold spaces and must come last. It
// reads the installation program it is part of (mapped from its own file, and the follow-on
// volumes SETUP.D01, ... from beside it when the data continues there), checks its
// length against the data it declares before touching anything, and writes every file of
// the file table under DIR (or the Windows, System or Fonts directory, as its target says;
// without /D=, DIR is the default directory with its macros expanded), checking each
// against its check value. Exit codes are in
// ExitCodes.h. No exceptions, no iostreams, no C++ runtime beyond what the core needs.
#include <windows.h>

#include <shlobj.h>

#include <new>

#include "ExitCodes.h"
#include "core/ImageMarkers.h"
#include "core/InstallFormat.h"
#include "core/ProgramLayout.h"
#include "core/StreamDecoder.h"

// The markers the builder looks for. They live in initialised data that the linker keeps;
// the runtime reads them back from its own file, never from these arrays, so that it sees
// exactly what the builder wrote.
extern "C" {
__attribute__((used)) volatile const unsigned char g_sizeMarker[sw::kSizeMarkerBytes] = {
    0x77, 0x77, 0x67, 0x54, 0x29, 0x48, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
__attribute__((used)) volatile const unsigned char g_seedMarker[sw::kSeedMarkerBytes] = {
    0x77, 0x77, 0x1E, 0x9A, 0x3B, 0x5D,
    static_cast<unsigned char>((sw::kRuntimeSeed ^ sw::kSeedMask) & 0xFF),
    static_cast<unsigned char>((sw::kRuntimeSeed ^ sw::kSeedMask) >> 8 & 0xFF),
    static_cast<unsigned char>((sw::kRuntimeSeed ^ sw::kSeedMask) >> 16 & 0xFF),
    static_cast<unsigned char>((sw::kRuntimeSeed ^ sw::kSeedMask) >> 24 & 0xFF)};
}

namespace {

using namespace sw;

// ---- small helpers over the Win32 heap -------------------------------------------------

void* Allocate(std::size_t size) { return HeapAlloc(GetProcessHeap(), 0, size ? size : 1); }
void Release(void* p)
{
    if (p) HeapFree(GetProcessHeap(), 0, p);
}

std::size_t WideLength(const wchar_t* s)
{
    std::size_t n = 0;
    while (s[n]) ++n;
    return n;
}

// ---- the log (/LOG=FILE), written as UTF-8 lines ----------------------------------------

HANDLE g_log = INVALID_HANDLE_VALUE;
bool g_silent = false;

void LogBytes(const char* text, std::size_t length)
{
    if (g_log == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(g_log, text, static_cast<DWORD>(length), &written, nullptr);
}

void LogText(const char* text)
{
    std::size_t n = 0;
    while (text[n]) ++n;
    LogBytes(text, n);
}

void LogWide(const wchar_t* text)
{
    int length = static_cast<int>(WideLength(text));
    int bytes = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return;
    auto* utf8 = static_cast<char*>(Allocate(static_cast<std::size_t>(bytes)));
    if (!utf8) return;
    WideCharToMultiByte(CP_UTF8, 0, text, length, utf8, bytes, nullptr, nullptr);
    LogBytes(utf8, static_cast<std::size_t>(bytes));
    Release(utf8);
}

// ---- the installation program -----------------------------------------------------------

struct Program {
    const std::uint8_t* bytes = nullptr;
    std::uint64_t size = 0;
    ProgramView view;
    std::uint8_t* texts = nullptr;  // decoded group 6 of the wizard texts
    std::size_t textsLength = 0;
    // The data section: the part in this file, then one piece per follow-on volume.
    DataPiece* pieces = nullptr;
    std::size_t pieceCount = 0;
};

// A message of group 6 for the log and, when not silent, a message box; `name` replaces
// the first %s or %d, "%%" is a single %.
void Report(const Program& program, unsigned index, const char* fallback, const char* name)
{
    const char* text = fallback;
    std::size_t length = 0;
    if (!program.texts || !FindTextInGroup(program.texts, program.textsLength, index, text, length)) {
        text = fallback;
        while (fallback[length]) ++length;
    }
    char* message = static_cast<char*>(Allocate(length + 1024 + 2));
    if (!message) return;
    std::size_t out = 0;
    bool filled = false;
    for (std::size_t i = 0; i < length; ++i) {
        if (text[i] == '%' && i + 1 < length && text[i + 1] == '%') {
            message[out++] = '%';
            ++i;
        } else if (!filled && text[i] == '%' && i + 1 < length && (text[i + 1] == 's' || text[i + 1] == 'd')) {
            for (std::size_t j = 0; name && name[j] && j < 1000; ++j) message[out++] = name[j];
            filled = true;
            ++i;
        } else if (out < length + 1000) {
            message[out++] = text[i];
        }
    }
    message[out] = 0;
    LogBytes(message, out);
    LogText("\r\n");
    if (!g_silent) {
        int wide = MultiByteToWideChar(CP_UTF8, 0, message, -1, nullptr, 0);
        auto* w = static_cast<wchar_t*>(Allocate(static_cast<std::size_t>(wide > 0 ? wide : 1) * sizeof(wchar_t)));
        if (w && wide > 0 && MultiByteToWideChar(CP_UTF8, 0, message, -1, w, wide) > 0)
            MessageBoxW(nullptr, w, L"Setup", MB_OK | MB_ICONERROR);
        Release(w);
    }
    Release(message);
}

const char kInvalidData[] = "This file contains invalid data.";
const char kCrcError[] = "CRC error - cannot install the following file:\n%s";

// A name of the file table as UTF-16: UTF-8 when it is valid, else the ANSI code page.
// Forward slashes become backslashes.
wchar_t* WideName(const char* name, std::size_t length)
{
    UINT page = CP_UTF8;
    int count = MultiByteToWideChar(page, MB_ERR_INVALID_CHARS, name, static_cast<int>(length), nullptr, 0);
    if (count <= 0) {
        page = CP_ACP;
        count = MultiByteToWideChar(page, 0, name, static_cast<int>(length), nullptr, 0);
    }
    if (count <= 0) return nullptr;
    auto* wide = static_cast<wchar_t*>(Allocate((static_cast<std::size_t>(count) + 1) * sizeof(wchar_t)));
    if (!wide) return nullptr;
    MultiByteToWideChar(page, 0, name, static_cast<int>(length), wide, count);
    wide[count] = 0;
    for (int i = 0; i < count; ++i)
        if (wide[i] == L'/') wide[i] = L'\\';
    return wide;
}

// DIR\NAME, with every folder on the way created (those that exist are left alone).
wchar_t* MakeTargetPath(const wchar_t* dir, const wchar_t* name)
{
    std::size_t dirLength = WideLength(dir);
    while (dirLength > 0 && (dir[dirLength - 1] == L'\\' || dir[dirLength - 1] == L'/')) --dirLength;
    std::size_t nameLength = WideLength(name);
    auto* path = static_cast<wchar_t*>(Allocate((dirLength + nameLength + 2) * sizeof(wchar_t)));
    if (!path) return nullptr;
    for (std::size_t i = 0; i < dirLength; ++i) path[i] = dir[i] == L'/' ? L'\\' : dir[i];
    path[dirLength] = L'\\';
    for (std::size_t i = 0; i <= nameLength; ++i) path[dirLength + 1 + i] = name[i];
    for (std::size_t i = 1; path[i]; ++i) {
        if (path[i] != L'\\' || path[i - 1] == L':' || path[i - 1] == L'\\') continue;
        path[i] = 0;
        CreateDirectoryW(path, nullptr);
        path[i] = L'\\';
    }
    return path;
}

struct WriteContext {
    HANDLE file;
    CChecksum sum;
};

bool WriteToFile(void* context, const std::uint8_t* data, std::size_t size)
{
    auto* out = static_cast<WriteContext*>(context);
    out->sum.Add(data, size);
    DWORD written = 0;
    return WriteFile(out->file, data, static_cast<DWORD>(size), &written, nullptr) && written == size;
}

CStreamDecoder* g_decoder = nullptr;

// Decodes one file to DIR\NAME. Returns an exit code.
int InstallFile(const Program& program, const FileEntry& entry, std::uint32_t projectCheck, const wchar_t* dir)
{
    // The name for messages: zero-terminated copy.
    char* name = static_cast<char*>(Allocate(entry.nameLength + 1));
    if (!name) return kExitWriteFailed;
    for (std::size_t i = 0; i < entry.nameLength; ++i) name[i] = entry.name[i];
    name[entry.nameLength] = 0;

    CSpannedInput input(program.pieces, program.pieceCount);
    int result = kExitSuccess;
    wchar_t* wideName = WideName(entry.name, entry.nameLength);
    wchar_t* path = wideName ? MakeTargetPath(dir, wideName) : nullptr;
    HANDLE file = path ? CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)
                       : INVALID_HANDLE_VALUE;
    if (file == INVALID_HANDLE_VALUE) {
        LogText("Cannot write ");
        if (path) LogWide(path);
        LogText("\r\n");
        result = kExitWriteFailed;
    } else if (entry.dataOffset + entry.packedSize > program.view.dataSize ||
               !input.Start(entry.dataOffset, entry.packedSize)) {
        Report(program, kTextInvalidData, kInvalidData, nullptr);
        result = kExitInvalidData;
    } else {
        WriteContext out{file, CChecksum(0)};
        DecodeStatus status = g_decoder->Decode(CSpannedInput::Read, &input, WriteToFile, &out, entry.size);
        if (status == DecodeStatus::writeAborted) {
            LogText("Cannot write ");
            LogWide(path);
            LogText("\r\n");
            result = kExitWriteFailed;
        } else if (status != DecodeStatus::ok || g_decoder->InputUsed() != entry.packedSize) {
            // A damaged stream is as much a wrong check value as a wrong byte is.
            Report(program, kTextCrcError, kCrcError, name);
            result = kExitCrcError;
        } else if ((out.sum.Value() ^ projectCheck) != entry.checkValue) {
            Report(program, kTextCrcError, kCrcError, name);
            result = kExitCrcError;
        } else if (entry.hasTimes) {
            FILETIME lastWrite{static_cast<DWORD>(entry.times[2]), static_cast<DWORD>(entry.times[2] >> 32)};
            SetFileTime(file, nullptr, nullptr, &lastWrite);
        }
        CloseHandle(file);
        if (result != kExitSuccess) {
            DeleteFileW(path);
        } else {
            LogText("Installed ");
            LogWide(path);
            LogText("\r\n");
        }
    }
    Release(path);
    Release(wideName);
    Release(name);
    return result;
}

// Decodes a record's payload into a new buffer (zero-terminated for strings); nullptr when
// it is absent or damaged.
std::uint8_t* LoadPayload(const ProgramView& view, std::uint16_t id, std::uint32_t& length, bool& damaged)
{
    length = 0;
    const RecordView* record = FindRecord(view, id);
    if (!record) return nullptr;
    if (!PayloadLength(*record, length) || length > 0x7FFFFFF0u) {
        damaged = true;
        return nullptr;
    }
    auto* out = static_cast<std::uint8_t*>(Allocate(length + 1u));
    if (!out) {
        damaged = true;
        return nullptr;
    }
    if (!ReadPayload(*record, out, length)) {
        damaged = true;
        Release(out);
        return nullptr;
    }
    out[length] = 0;
    return out;
}

// The folders of the directory macros and of the file targets other than the installation
// directory, as this system names them.
struct SystemFolders {
    wchar_t windows[MAX_PATH + 1] = {};
    wchar_t system[MAX_PATH + 1] = {};
    wchar_t programFiles[MAX_PATH + 1] = {};
    wchar_t fonts[MAX_PATH + 1] = {};
};

void FindSystemFolders(SystemFolders& folders)
{
    UINT n = GetWindowsDirectoryW(folders.windows, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) folders.windows[0] = 0;
    n = GetSystemDirectoryW(folders.system, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) folders.system[0] = 0;
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_PROGRAM_FILES, nullptr, SHGFP_TYPE_CURRENT, folders.programFiles)))
        folders.programFiles[0] = 0;
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_FONTS, nullptr, SHGFP_TYPE_CURRENT, folders.fonts))) {
        // <Windows>\Fonts is where the shell keeps them when it cannot say.
        std::size_t length = WideLength(folders.windows);
        folders.fonts[0] = 0;
        if (length > 0 && length + 7 < MAX_PATH) {
            for (std::size_t i = 0; i <= length; ++i) folders.fonts[i] = folders.windows[i];
            const wchar_t tail[] = L"\\Fonts";
            for (std::size_t i = 0; i < 7; ++i) folders.fonts[length + i] = tail[i];
        }
    }
}

int Install(Program& program, const wchar_t* dirArgument)
{
    bool damaged = false;
    std::uint32_t dirLength = 0, titleLength = 0, optionsLength = 0, tableLength = 0;
    std::uint8_t* defaultDir = LoadPayload(program.view, REC_DEFAULT_DIR, dirLength, damaged);
    std::uint8_t* title = LoadPayload(program.view, REC_BACKGROUND_TITLE, titleLength, damaged);
    std::uint8_t* optionBytes = LoadPayload(program.view, REC_OPTIONS, optionsLength, damaged);
    std::uint8_t* table = LoadPayload(program.view, REC_FILE_TABLE, tableLength, damaged);
    std::uint32_t options = 0;
    if (optionBytes && optionsLength >= 4)
        options = static_cast<std::uint32_t>(optionBytes[0]) | static_cast<std::uint32_t>(optionBytes[1]) << 8 |
                  static_cast<std::uint32_t>(optionBytes[2]) << 16 | static_cast<std::uint32_t>(optionBytes[3]) << 24;
    std::uint32_t projectCheck = ProjectCheckValue(program.view.seed, defaultDir, dirLength, options, title, titleLength);

    SystemFolders folders;
    FindSystemFolders(folders);
    int result = kExitSuccess;
    wchar_t* defaultWide = nullptr;
    const wchar_t* dir = dirArgument;
    if (!dir && defaultDir && dirLength > 1) {
        // The default directory as the builder wrote it, with its directory macros
        // replaced by this system's folders.
        wchar_t* typed = WideName(reinterpret_cast<const char*>(defaultDir), dirLength - 1);
        std::size_t typedLength = typed ? WideLength(typed) : 0;
        // Each macro is at least 8 characters and becomes at most MAX_PATH.
        std::size_t capacity = (typedLength + 1) * (MAX_PATH / 8 + 1);
        defaultWide = typed ? static_cast<wchar_t*>(Allocate(capacity * sizeof(wchar_t))) : nullptr;
        const DirectoryMacroFolders<wchar_t> macros{folders.windows, folders.system, folders.programFiles};
        if (defaultWide && ExpandDirectoryMacros(typed, typedLength, macros, defaultWide, capacity) > 0) dir = defaultWide;
        Release(typed);
    }
    if (damaged) {
        Report(program, kTextInvalidData, kInvalidData, nullptr);
        result = kExitInvalidData;
    } else if (!dir) {
        LogText("No installation directory: give one with /D=DIR\r\n");
        result = kExitCancelled;
    }

    std::uint32_t count = 0;
    CFileTableReader reader(table ? table : reinterpret_cast<const std::uint8_t*>(""), table ? tableLength : 0);
    if (result == kExitSuccess && table && !reader.Start(count)) {
        Report(program, kTextInvalidData, kInvalidData, nullptr);
        result = kExitInvalidData;
    }
    // Every record is read and every name checked before the first file is written, so
    // that a damaged table installs nothing.
    if (result == kExitSuccess && table) {
        std::uint64_t dataEnd = 0;
        FileEntry entry;
        for (std::uint32_t i = 0; i < count && result == kExitSuccess; ++i) {
            if (!reader.Next(entry) || PlanFile(entry) == InstallAction::refuseName ||
                PlanFile(entry) == InstallAction::refuseTarget) {
                Report(program, kTextInvalidData, kInvalidData, nullptr);
                result = kExitInvalidData;
            }
            dataEnd = entry.dataOffset + entry.packedSize;
        }
        if (result == kExitSuccess && (!reader.AtEnd() || dataEnd != program.view.dataSize)) {
            Report(program, kTextInvalidData, kInvalidData, nullptr);
            result = kExitInvalidData;
        }
    }
    if (result == kExitSuccess && table) {
        reader.Start(count);
        FileEntry entry;
        for (std::uint32_t i = 0; i < count && result == kExitSuccess; ++i) {
            reader.Next(entry);
            TargetFolder target = TargetFolder::installation;
            if (PlanFile(entry) != InstallAction::install || !FileTargetFolder(entry, target)) continue;
            // Fonts are copied into the fonts folder; registering them (AddFontResource and
            // the Fonts registry value) comes with the wizard.
            const wchar_t* folder = target == TargetFolder::windows  ? folders.windows
                                    : target == TargetFolder::system ? folders.system
                                    : target == TargetFolder::fonts  ? folders.fonts
                                                                     : dir;
            if (!folder[0]) {
                LogText("Cannot find the target folder of a file\r\n");
                result = kExitWriteFailed;
            } else {
                result = InstallFile(program, entry, projectCheck, folder);
            }
        }
    }
    if (result == kExitSuccess) LogText("Installation complete.\r\n");
    Release(defaultWide);
    Release(table);
    Release(optionBytes);
    Release(title);
    Release(defaultDir);
    return result;
}

const char kInsertDisk[] = "Please insert disk number %d.";

// The follow-on volumes, mapped like the program itself and unmapped at the end.
struct MappedVolume {
    HANDLE file;
    HANDLE mapping;
    const std::uint8_t* bytes;
};
MappedVolume* g_volumes = nullptr;
std::size_t g_volumeCount = 0;

// Maps "<program>.D01", "<program>.D02", ... from beside the program until their counts
// make up the data section, checking each before any file is written. Unattended, nobody
// can insert a disk: a missing volume ends the installation with the text that asks for
// it. Returns an exit code.
int OpenVolumes(Program& program, const wchar_t* self, std::size_t selfLength)
{
    program.pieces = static_cast<DataPiece*>(Allocate((kMaxVolumes + 1) * sizeof(DataPiece)));
    g_volumes = static_cast<MappedVolume*>(Allocate(kMaxVolumes * sizeof(MappedVolume)));
    std::size_t capacity = selfLength + 8;
    auto* name = static_cast<wchar_t*>(Allocate(capacity * sizeof(wchar_t)));
    if (!program.pieces || !g_volumes || !name) {
        Release(name);
        return kExitWriteFailed;
    }
    program.pieces[0] = DataPiece{program.view.data, program.view.dataInFile};
    program.pieceCount = 1;
    std::uint64_t remaining = program.view.dataSize - program.view.dataInFile;
    int result = kExitSuccess;
    for (unsigned number = 1; remaining > 0 && result == kExitSuccess; ++number) {
        if (!MakeVolumeName(self, selfLength, number, name, capacity)) {
            Report(program, kTextInvalidData, kInvalidData, nullptr);
            result = kExitInvalidData;
            break;
        }
        HANDLE file = CreateFileW(name, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            char disk[12];
            std::size_t n = 0;
            char reversed[12];
            for (unsigned value = number + 1; value > 0; value /= 10) reversed[n++] = static_cast<char>('0' + value % 10);
            for (std::size_t i = 0; i < n; ++i) disk[i] = reversed[n - 1 - i];
            disk[n] = 0;
            LogText("Missing ");
            LogWide(name);
            LogText("\r\n");
            Report(program, kTextInsertDisk, kInsertDisk, disk);
            result = kExitVolumeMissing;
            break;
        }
        LARGE_INTEGER size{};
        HANDLE mapping = GetFileSizeEx(file, &size) && size.QuadPart > 0
                             ? CreateFileMappingW(file, nullptr, PAGE_READONLY, 0, 0, nullptr)
                             : nullptr;
        const auto* bytes = mapping ? static_cast<const std::uint8_t*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0)) : nullptr;
        g_volumes[g_volumeCount++] = MappedVolume{file, mapping, bytes};
        const std::uint8_t* data = nullptr;
        std::uint32_t count = 0;
        if (!bytes || !ReadVolume(bytes, static_cast<std::uint64_t>(size.QuadPart), remaining, data, count)) {
            Report(program, kTextInvalidData, kInvalidData, nullptr);
            result = kExitInvalidData;
            break;
        }
        program.pieces[program.pieceCount++] = DataPiece{data, count};
        remaining -= count;
    }
    Release(name);
    return result;
}

void CloseVolumes()
{
    for (std::size_t i = 0; i < g_volumeCount; ++i) {
        if (g_volumes[i].bytes) UnmapViewOfFile(g_volumes[i].bytes);
        if (g_volumes[i].mapping) CloseHandle(g_volumes[i].mapping);
        CloseHandle(g_volumes[i].file);
    }
    Release(g_volumes);
}

// ---- the command line --------------------------------------------------------------------

struct Arguments {
    bool silent = false;
    wchar_t* dir = nullptr;  // /D=, the rest of the line
    wchar_t* log = nullptr;  // /LOG=
};

bool StartsWith(const wchar_t* s, const wchar_t* prefix)
{
    for (; *prefix; ++s, ++prefix) {
        wchar_t a = *s, b = *prefix;
        if (a >= L'a' && a <= L'z') a = static_cast<wchar_t>(a - 32);
        if (a != b) return false;
    }
    return true;
}

wchar_t* CopyRange(const wchar_t* begin, const wchar_t* end)
{
    auto* copy = static_cast<wchar_t*>(Allocate((static_cast<std::size_t>(end - begin) + 1) * sizeof(wchar_t)));
    if (!copy) return nullptr;
    std::size_t n = 0;
    for (const wchar_t* p = begin; p < end; ++p)
        if (*p != L'"') copy[n++] = *p;
    copy[n] = 0;
    return copy;
}

Arguments ParseCommandLine(const wchar_t* line)
{
    Arguments args;
    // Skip the program's own name, quoted or not.
    if (*line == L'"') {
        ++line;
        while (*line && *line != L'"') ++line;
        if (*line) ++line;
    } else {
        while (*line && *line != L' ' && *line != L'\t') ++line;
    }
    for (;;) {
        while (*line == L' ' || *line == L'\t') ++line;
        if (!*line) break;
        // /D= takes the rest of the line; a launcher that quotes arguments with spaces
        // gives "/D=...", whose quotes are dropped.
        if (StartsWith(line, L"/D=") || StartsWith(line, L"\"/D=")) {
            const wchar_t* begin = line + (*line == L'"' ? 4 : 3);
            const wchar_t* end = line + WideLength(line);
            while (end > begin && (end[-1] == L' ' || end[-1] == L'\t')) --end;
            args.dir = CopyRange(begin, end);
            break;
        }
        const wchar_t* start = line;
        bool quoted = false;
        while (*line && (quoted || (*line != L' ' && *line != L'\t'))) {
            if (*line == L'"') quoted = !quoted;
            ++line;
        }
        if (line - start == 2 && StartsWith(start, L"/S"))
            args.silent = true;
        else if (StartsWith(start, L"/LOG="))
            args.log = CopyRange(start + 5, line);
        else if (StartsWith(start, L"\"/LOG="))
            args.log = CopyRange(start + 6, line);
    }
    return args;
}

int Run()
{
    Arguments args = ParseCommandLine(GetCommandLineW());
    g_silent = args.silent;
    if (args.log) {
        g_log = CreateFileW(args.log, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    }

    Program program;
    int result = kExitInvalidData;
    wchar_t self[MAX_PATH * 2];
    DWORD selfLength = GetModuleFileNameW(nullptr, self, MAX_PATH * 2);
    HANDLE file = selfLength > 0 && selfLength < MAX_PATH * 2
                      ? CreateFileW(self, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)
                      : INVALID_HANDLE_VALUE;
    HANDLE mapping = nullptr;
    LARGE_INTEGER size{};
    if (file != INVALID_HANDLE_VALUE && GetFileSizeEx(file, &size) && size.QuadPart > 0)
        mapping = CreateFileMappingW(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
    if (mapping) {
        program.bytes = static_cast<const std::uint8_t*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0));
        program.size = static_cast<std::uint64_t>(size.QuadPart);
    }
    if (program.bytes) {
        LayoutStatus status = ReadProgramLayout(program.bytes, program.size, program.view);
        // The messages come from the program's own texts, once its records are known to
        // lie inside the file.
        if (status == LayoutStatus::ok || status == LayoutStatus::needsVolumes) {
            if (const RecordView* texts = FindRecord(program.view, REC_WIZARD_TEXTS)) {
                const std::size_t capacity = 256 * 1024;
                program.texts = static_cast<std::uint8_t*>(Allocate(capacity));
                if (program.texts &&
                    !ReadWizardTextGroup(texts->data, texts->size, kMessageGroup, program.texts, capacity, program.textsLength)) {
                    Release(program.texts);
                    program.texts = nullptr;
                }
            }
        }
        DataPiece whole{program.view.data, program.view.dataInFile};
        if (status == LayoutStatus::ok || status == LayoutStatus::needsVolumes) {
            if (status == LayoutStatus::ok) {
                program.pieces = &whole;
                program.pieceCount = 1;
                result = kExitSuccess;
            } else {
                result = OpenVolumes(program, self, selfLength);
            }
            void* memory = result == kExitSuccess ? Allocate(sizeof(CStreamDecoder)) : nullptr;
            if (memory) {
                g_decoder = new (memory) CStreamDecoder;
                result = Install(program, args.dir);
            } else if (result == kExitSuccess) {
                result = kExitWriteFailed;
            }
            CloseVolumes();
            if (program.pieces != &whole) Release(program.pieces);
        } else {
            Report(program, kTextInvalidData, kInvalidData, nullptr);
        }
        UnmapViewOfFile(program.bytes);
    } else {
        Report(program, kTextInvalidData, kInvalidData, nullptr);
    }
    if (mapping) CloseHandle(mapping);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    if (g_log != INVALID_HANDLE_VALUE) CloseHandle(g_log);
    return result;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    // System DLLs only from the system folder: a DLL planted beside a downloaded
    // installer is never loaded.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    // Volatile reads tie the marker arrays to the code, so that dropping unused sections
    // at link time keeps them.
    if (g_sizeMarker[0] != g_seedMarker[0]) return kExitInvalidData;
    return Run();
}
