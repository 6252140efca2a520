// The installer runtime's Win32 front end:
//
//   Setup.exe [/S] [/LOG=FILE] [/D=DIR]
//
// Without /S it shows the installation wizard; with /S it installs unattended into DIR,
// or into the directory the wizard would propose (the previous installation's, else the
// default directory with its macros expanded). /D= takes the rest of the command line, so
// DIR may hold spaces and must come last. The program first checks its own length against
// the data it declares, before it shows or touches anything; the follow-on volumes
// SETUP.D01, ... are read from beside it when the data continues there. Exit codes are in
// ExitCodes.h. No exceptions, no iostreams, no C++ runtime beyond what the core needs.
#include <windows.h>

#include <new>

#include "ExitCodes.h"
#include "win32/Log.h"
#include "Setup.h"
#include "core/ImageMarkers.h"
#include "core/InstallFormat.h"
#include "core/ProgramLayout.h"
#include "core/WizardChecks.h"
#include "win32/FittedMessageBox.h"
#include "win32/FormatText.h"
#include "win32/Heap.h"
#include "wizard/Wizard.h"

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
using win::Allocate;
using win::Release;

bool g_silent = false;

const wchar_t kInvalidData[] = L"This file contains invalid data.";
const wchar_t kInsertDisk[] = L"Please insert disk number %d.";
const wchar_t kInvalidDirectory[] = L"Invalid directory.";
constexpr unsigned kTextInvalidDirectory = 5;  // of group 6, as the wizard's directory page shows it

// The program's own texts, for the messages shown before (or without) a CSetup: group 6
// of the wizard texts, read as soon as the records are known to lie inside the file.
struct EarlyTexts {
    std::uint8_t* group = nullptr;
    std::size_t length = 0;
    ~EarlyTexts() { Release(group); }

    void Read(const ProgramView& view)
    {
        const RecordView* texts = FindRecord(view, REC_WIZARD_TEXTS);
        const std::size_t capacity = 256 * 1024;
        group = texts ? static_cast<std::uint8_t*>(Allocate(capacity)) : nullptr;
        if (group && !ReadWizardTextGroup(texts->data, texts->size, kMessageGroup, group, capacity, length)) {
            Release(group);
            group = nullptr;
        }
    }

    wchar_t* Get(unsigned index, const wchar_t* fallback) const
    {
        const char* text = nullptr;
        std::size_t textLength = 0;
        if (group && FindTextInGroup(group, length, index, text, textLength) && textLength > 0)
            return win::WidenText(text, textLength);
        return win::CopyWide(fallback);
    }
};

// A message of the program's own texts: to the log and, unless unattended, in a message
// box. `argument` fills the first %s or %d.
void Report(const EarlyTexts& texts, unsigned index, const wchar_t* fallback, const wchar_t* argument)
{
    wchar_t* format = texts.Get(index, fallback);
    wchar_t* caption = texts.Get(0, L"Setup");
    wchar_t* message = format ? win::FormatText(format, argument) : nullptr;
    if (message) {
        LogLine("", message);
        if (!g_silent) win::FittedMessageBox(nullptr, message, caption ? caption : L"Setup", MB_OK | MB_ICONERROR);
    }
    Release(message);
    Release(caption);
    Release(format);
}

// ---- follow-on volumes -------------------------------------------------------------------

struct MappedFile {
    HANDLE file = INVALID_HANDLE_VALUE;
    HANDLE mapping = nullptr;
    const std::uint8_t* bytes = nullptr;
    std::uint64_t size = 0;

    // False when the file cannot be opened or mapped; `opened` then tells a file that is
    // there but empty (or unreadable) from one that is not there at all.
    bool Open(const wchar_t* path, bool* opened = nullptr)
    {
        file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (opened) *opened = file != INVALID_HANDLE_VALUE;
        LARGE_INTEGER length{};
        if (file == INVALID_HANDLE_VALUE || !GetFileSizeEx(file, &length) || length.QuadPart <= 0) return false;
        size = static_cast<std::uint64_t>(length.QuadPart);
        mapping = CreateFileMappingW(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
        bytes = mapping ? static_cast<const std::uint8_t*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0)) : nullptr;
        return bytes != nullptr;
    }
    void Close()
    {
        if (bytes) UnmapViewOfFile(bytes);
        if (mapping) CloseHandle(mapping);
        if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
        *this = MappedFile{};
    }
};

struct Volumes {
    MappedFile* files = nullptr;
    std::size_t count = 0;
    DataPiece* pieces = nullptr;
    std::size_t pieceCount = 0;
    ~Volumes()
    {
        for (std::size_t i = 0; i < count; ++i) files[i].Close();
        Release(files);
        Release(pieces);
    }
};

// Maps "<program>.D01", "<program>.D02", ... from beside the program until their counts
// make up the data section, checking each before any file is written. When one is
// missing, the wizard asks for the disk (Retry looks again); unattended, nobody can insert
// a disk, so the installation ends with that text. Returns an exit code.
int OpenVolumes(const EarlyTexts& texts, const ProgramView& view, const wchar_t* self, std::size_t selfLength, Volumes& volumes)
{
    volumes.pieces = win::AllocateArray<DataPiece>(kMaxVolumes + 1);
    volumes.files = win::AllocateArray<MappedFile>(kMaxVolumes);
    std::size_t capacity = selfLength + 8;
    auto* name = win::AllocateArray<wchar_t>(capacity);
    if (!volumes.pieces || !volumes.files || !name) {
        Release(name);
        return kExitWriteFailed;
    }
    volumes.pieces[0] = DataPiece{view.data, view.dataInFile};
    volumes.pieceCount = 1;
    std::uint64_t remaining = view.dataSize - view.dataInFile;
    int result = kExitSuccess;
    for (unsigned number = 1; remaining > 0 && result == kExitSuccess; ++number) {
        if (!MakeVolumeName(self, selfLength, number, name, capacity)) {
            Report(texts, kTextInvalidData, kInvalidData, nullptr);
            result = kExitInvalidData;
            break;
        }
        MappedFile& volume = volumes.files[volumes.count++];
        bool opened = false;
        while (!volume.Open(name, &opened)) {
            volume.Close();
            // A volume that is there but empty is damaged, not missing: asking for the disk
            // again would loop for ever.
            if (opened) {
                LogLine("Empty or unreadable: ", name);
                Report(texts, kTextInvalidData, kInvalidData, nullptr);
                result = kExitInvalidData;
                break;
            }
            wchar_t disk[12];
            wsprintfW(disk, L"%u", number + 1);
            LogLine("Missing ", name);
            if (g_silent) {
                Report(texts, kTextInsertDisk, kInsertDisk, disk);
                result = kExitVolumeMissing;
                break;
            }
            wchar_t* format = texts.Get(kTextInsertDisk, kInsertDisk);
            wchar_t* caption = texts.Get(0, L"Setup");
            wchar_t* prompt = win::FormatText(format ? format : kInsertDisk, disk);
            int answer = win::FittedMessageBox(nullptr, prompt ? prompt : kInsertDisk, caption ? caption : L"Setup", MB_RETRYCANCEL | MB_ICONINFORMATION);
            Release(prompt);
            Release(caption);
            Release(format);
            if (answer != IDRETRY) {
                result = kExitVolumeMissing;
                break;
            }
        }
        if (result != kExitSuccess) break;
        const std::uint8_t* data = nullptr;
        std::uint32_t count = 0;
        if (!ReadVolume(volume.bytes, volume.size, remaining, data, count)) {
            Report(texts, kTextInvalidData, kInvalidData, nullptr);
            result = kExitInvalidData;
            break;
        }
        volumes.pieces[volumes.pieceCount++] = DataPiece{data, count};
        remaining -= count;
    }
    Release(name);
    return result;
}

// ---- unattended installation ---------------------------------------------------------------

// The answers of an installation that nobody watches: each question's safe default, and
// every question and message in the log.
class CUnattended final : public IInstallObserver {
public:
    void OnFile(const wchar_t*) override {}
    void OnProgress(std::uint64_t, std::uint64_t) override {}
    bool StopRequested() override { return false; }
    int Ask(const wchar_t* message, UINT type) override
    {
        LogLine("Unattended: ", message);
        // The engine states its default with the type's default button.
        if ((type & MB_TYPEMASK) == MB_OK) return IDOK;
        return (type & MB_DEFMASK) == MB_DEFBUTTON2 ? IDNO : IDYES;
    }
};

int InstallUnattended(const EarlyTexts& texts, const CSetup& setup, const wchar_t* given)
{
    if (!given || !given[0]) {
        LogText("No installation directory: give one with /D=DIR\r\n");
        return kExitCancelled;
    }
    // The rule the wizard's directory page applies, so that what one refuses the other
    // refuses too, and the stored paths are the canonical ones the uninstaller reads.
    wchar_t directory[MAX_PATH + 1];
    std::size_t length = win::WideLength(given);
    for (std::size_t i = 0; i <= length && i <= MAX_PATH; ++i) directory[i] = given[i];
    directory[MAX_PATH] = 0;
    if (length > MAX_PATH || !CanonicalDirectoryPath(directory) || !IsValidDirectoryPath(directory, MAX_PATH)) {
        LogLine("Installation directory: ", given);
        Report(texts, kTextInvalidDirectory, kInvalidDirectory, nullptr);
        return kExitInvalidDirectory;
    }
    CUnattended observer;
    InstallOutcome outcome;
    RunInstall(setup, directory, observer, outcome);
    if (outcome.exitCode == kExitSuccess && outcome.restartNeeded) return kExitRebootNeeded;
    return outcome.exitCode;
}

// ---- the command line --------------------------------------------------------------------

struct Arguments {
    bool silent = false;
    wchar_t* dir = nullptr;  // /D=, the rest of the line
    wchar_t* log = nullptr;  // /LOG=
    ~Arguments()
    {
        Release(dir);
        Release(log);
    }
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
    auto* copy = win::AllocateArray<wchar_t>(static_cast<std::size_t>(end - begin) + 1);
    if (!copy) return nullptr;
    std::size_t n = 0;
    for (const wchar_t* p = begin; p < end; ++p)
        if (*p != L'"') copy[n++] = *p;
    copy[n] = 0;
    return copy;
}

void ParseCommandLine(const wchar_t* line, Arguments& args)
{
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
            const wchar_t* end = line + win::WideLength(line);
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
}

int Run(HINSTANCE instance)
{
    Arguments args;
    ParseCommandLine(GetCommandLineW(), args);
    g_silent = args.silent;
    if (args.log) OpenLog(args.log);

    EarlyTexts texts;
    int result = kExitInvalidData;
    wchar_t self[MAX_PATH * 2];
    DWORD selfLength = GetModuleFileNameW(nullptr, self, MAX_PATH * 2);
    MappedFile program;
    if (selfLength == 0 || selfLength >= MAX_PATH * 2 || !program.Open(self)) {
        Report(texts, kTextInvalidData, kInvalidData, nullptr);
        program.Close();
        return result;
    }
    // The view is large (it holds the record table): kept off the stack.
    auto* view = static_cast<ProgramView*>(Allocate(sizeof(ProgramView)));
    LayoutStatus status = view ? ReadProgramLayout(program.bytes, program.size, *view) : LayoutStatus::invalid;
    if (status == LayoutStatus::ok || status == LayoutStatus::needsVolumes) {
        texts.Read(*view);
        Volumes volumes;
        DataPiece whole{view->data, view->dataInFile};
        result = status == LayoutStatus::ok ? kExitSuccess : OpenVolumes(texts, *view, self, selfLength, volumes);
        const DataPiece* pieces = status == LayoutStatus::ok ? &whole : volumes.pieces;
        std::size_t pieceCount = status == LayoutStatus::ok ? 1 : volumes.pieceCount;
        if (result == kExitSuccess) {
            auto* setup = new (Allocate(sizeof(CSetup))) CSetup;
            if (!setup->Load(*view, pieces, pieceCount)) {
                Report(texts, kTextInvalidData, kInvalidData, nullptr);
                result = kExitInvalidData;
            } else if (args.silent) {
                result = setup->IsTest() ? kExitSuccess : InstallUnattended(texts, *setup, args.dir ? args.dir : setup->ProposedDirectory());
            } else {
                if (args.dir) setup->SetProposedDirectory(args.dir);
                result = RunWizard(*setup, instance);
            }
            setup->~CSetup();
            Release(setup);
        }
    } else {
        Report(texts, kTextInvalidData, kInvalidData, nullptr);
    }
    Release(view);
    program.Close();
    CloseLog();
    return result;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    // System DLLs only from the system folder: a DLL planted beside a downloaded
    // installer is never loaded.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    // Volatile reads tie the marker arrays to the code, so that dropping unused sections
    // at link time keeps them.
    if (g_sizeMarker[0] != g_seedMarker[0]) return kExitInvalidData;
    return Run(instance);
}
