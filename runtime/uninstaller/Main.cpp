// The uninstaller runtime's Win32 front end:
//
//   Uninstal.exe [/S] [/LOG=FILE]
//
// It reads its texts and the registry keys to remove from the records after its own image,
// and the uninstall information that the installer wrote beside it ("<name>.dat"). Once
// every record names only what its installation may own (Scope.h), it asks for
// confirmation (not with /S), removes everything the information lists, newest first,
// then the registry keys, says that it is done, and has a copy of itself remove the
// uninstaller and its information once it has exited (SelfRemoval.h). Exit codes are in
// ExitCodes.h. No exceptions, no iostreams, no C++ runtime beyond what the core needs.
#include <windows.h>

#include <objbase.h>
#include <shellapi.h>

#include "ExitCodes.h"
#include "win32/Log.h"
#include "Messages.h"
#include "Removal.h"
#include "Scope.h"
#include "SelfRemoval.h"
#include "core/ImageMarkers.h"
#include "core/InstallFormat.h"
#include "core/ProgramLayout.h"
#include "core/UninstallInfo.h"
#include "core/UninstallerRecords.h"
#include "win32/FittedMessageBox.h"
#include "win32/FormatText.h"
#include "win32/Heap.h"
#include "win32/WholeFile.h"

// The marker the builder fills in with the image's length. It lives in initialised data
// that the linker keeps; the runtime reads its own file, never this array, so that it
// sees what the builder wrote.
extern "C" {
__attribute__((used)) volatile const unsigned char g_sizeMarker[sw::kSizeMarkerBytes] = {
    0x77, 0x77, 0x67, 0x54, 0x29, 0x48, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
}

namespace {

using namespace sw;

// Larger files are not an uninstaller package or an uninstall information file.
constexpr std::size_t kMaxFileSize = 256u * 1024 * 1024;

struct Arguments {
    bool silent = false;
    wchar_t* log = nullptr;  // full path
    bool cleanup = false;
    CleanupArguments cleanupArguments;
};

bool HasPrefix(const wchar_t* text, const wchar_t* prefix)
{
    for (; *prefix; ++text, ++prefix) {
        wchar_t c = *text;
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
        if (c != *prefix) return false;
    }
    return true;
}

unsigned long long Number(const wchar_t* text)
{
    unsigned long long value = 0;
    for (; *text >= L'0' && *text <= L'9'; ++text) value = value * 10 + static_cast<unsigned>(*text - L'0');
    return value;
}

wchar_t* FullPath(const wchar_t* path)
{
    DWORD length = GetFullPathNameW(path, 0, nullptr, nullptr);
    wchar_t* full = length ? win::AllocateArray<wchar_t>(length + 1) : nullptr;
    if (full && GetFullPathNameW(path, length + 1, full, nullptr) == 0) {
        win::Release(full);
        full = nullptr;
    }
    return full;
}

// The arguments point into `argv`, which lives as long as the process.
Arguments ParseArguments(wchar_t** argv, int argc)
{
    Arguments args;
    for (int i = 1; i < argc; ++i) {
        const wchar_t* arg = argv[i];
        if ((arg[0] == L'/' || arg[0] == L'-') && (arg[1] == L's' || arg[1] == L'S') && !arg[2])
            args.silent = true;
        else if (HasPrefix(arg, L"/LOG="))
            args.log = FullPath(arg + 5);
        else if (HasPrefix(arg, L"/CLEANUP=")) {
            args.cleanup = true;
            args.cleanupArguments.original = reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(Number(arg + 9)));
        } else if (HasPrefix(arg, L"/LEVELS="))
            args.cleanupArguments.levels = static_cast<unsigned>(Number(arg + 8));
        else if (HasPrefix(arg, L"/ORIGINAL="))
            args.cleanupArguments.originalPath = arg + 10;
    }
    return args;
}

// The records of the uninstaller package: its texts and the keys to remove.
struct Package {
    win::WholeFile file;
    ProgramView view;
    TextView texts[kUninstTextCount];
    CUninstallKeyReader keys{nullptr, 0};
    std::uint32_t keyCount = 0;
};

bool ReadPackage(const wchar_t* self, Package& package)
{
    if (!win::ReadWholeFile(self, kMaxFileSize, package.file) ||
        ReadProgramLayout(package.file.bytes, package.file.size, package.view) != LayoutStatus::ok)
        return false;
    const RecordView* texts = FindRecord(package.view, REC_UNINST_TEXTS);
    const RecordView* keys = FindRecord(package.view, REC_UNINST_KEYS);
    // The builder writes both records as they are, never compressed.
    if (!texts || !keys || texts->flags != 0 || keys->flags != 0 ||
        !ReadUninstallerTexts(texts->data, texts->size, package.texts))
        return false;
    package.keys = CUninstallKeyReader(keys->data, keys->size);
    return package.keys.Start(package.keyCount);
}

// The uninstall information: every record read, to be checked (Scope.h) before anything is removed.
struct Information {
    win::WholeFile file;
    UninstallRecord* records = nullptr;
    std::size_t count = 0;
};

bool ReadInformation(const wchar_t* path, Information& info)
{
    if (!win::ReadWholeFile(path, kMaxFileSize, info.file)) {
        LogLine("Cannot read the uninstall information ", path);
        return false;
    }
    CUninstallInfoReader counter(info.file.bytes, info.file.size);
    UninstallRecord record;
    while (counter.Next(record)) ++info.count;
    if (!counter.HeaderOk() || counter.Damaged()) {
        LogLine("The uninstall information is damaged: ", path);
        return false;
    }
    info.records = win::AllocateArray<UninstallRecord>(info.count);
    if (!info.records) return false;
    CUninstallInfoReader reader(info.file.bytes, info.file.size);
    for (std::size_t i = 0; i < info.count; ++i) reader.Next(info.records[i]);
    return true;
}

// The uninstaller's own path, long names and all, as the installer wrote the paths in its
// information (started through a short name, GetModuleFileName gives that one).
bool OwnPath(wchar_t (&self)[MAX_PATH * 2], DWORD& length)
{
    wchar_t started[MAX_PATH * 2];
    DWORD startedLength = GetModuleFileNameW(nullptr, started, MAX_PATH * 2);
    if (startedLength == 0 || startedLength >= MAX_PATH * 2) return false;
    length = GetLongPathNameW(started, self, MAX_PATH * 2);
    if (length > 0 && length < MAX_PATH * 2) return true;
    for (DWORD i = 0; i <= startedLength; ++i) self[i] = started[i];
    length = startedLength;
    return true;
}

std::size_t ParentLength(const wchar_t* path, std::size_t length)
{
    for (std::size_t i = length; i > 0; --i)
        if (path[i - 1] == L'\\') return i - 1;
    return 0;
}

// How many folders, from the uninstaller's own upwards, the installation created: they
// can go only after the uninstaller has.
unsigned CreatedFoldersAroundSelf(const wchar_t* self, const Information& info)
{
    wchar_t* folder = win::CopyWide(self);
    if (!folder) return 0;
    unsigned levels = 0;
    for (std::size_t length = ParentLength(folder, win::WideLength(folder)); length > 0;
         length = ParentLength(folder, length), ++levels) {
        folder[length] = 0;
        bool created = false;
        for (std::size_t i = 0; i < info.count && !created; ++i) {
            const UninstallRecord& record = info.records[i];
            if (record.kind != UninstallItem::folder) continue;
            wchar_t* listed = win::WidenText(record.text[0], record.length[0]);
            created = listed && CompareStringOrdinal(listed, -1, folder, -1, TRUE) == CSTR_EQUAL;
            win::Release(listed);
        }
        if (!created) break;
    }
    win::Release(folder);
    return levels;
}

int Uninstall(const Arguments& args, CMessages& messages)
{
    wchar_t self[MAX_PATH * 2];
    DWORD selfLength = 0;
    wchar_t infoPath[MAX_PATH * 2 + 8];
    Package package;
    Information info;
    wchar_t* installation = nullptr;
    bool valid = OwnPath(self, selfLength);
    if (valid && !ReadPackage(self, package)) {
        LogLine("The uninstaller's own records are damaged: ", self);
        valid = false;
    }
    if (valid && !messages.Load(package.texts)) {
        messages.Show(kUninstOutOfMemory, nullptr, MB_OK | MB_ICONSTOP, IDOK);
        return kUninstallIncomplete;
    }
    valid = valid && MakeUninstallInfoName(self, selfLength, infoPath, MAX_PATH * 2 + 8) > 0 &&
            ReadInformation(infoPath, info);
    // Information that names what its installation cannot own was altered: nothing in it
    // can be trusted, so nothing is removed.
    if (valid && !(installation = CheckInformationScope(self, info.records, info.count))) {
        LogLine("The uninstall information lists what its installation does not own: ", infoPath);
        valid = false;
    }
    int result = kUninstallDone;
    if (!valid) {
        messages.Show(kUninstInvalidInfo, nullptr, MB_OK | MB_ICONSTOP, IDOK);
        result = kUninstallInvalidInfo;
    } else if (messages.Show(kUninstConfirm, nullptr, MB_OKCANCEL | MB_ICONQUESTION, IDOK) != IDOK) {
        LogText("Cancelled.\r\n");
        result = kUninstallCancelled;
    } else {
        // Controls unregister themselves through COM.
        bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
        CRemoval removal(messages, installation);
        removal.RemoveRecords(info.records, info.count);
        removal.RemoveKeys(package.keys, package.keyCount);
        if (com) CoUninitialize();
        if (removal.Incomplete()) {
            // The uninstaller and its information stay, so that it can run again once
            // whatever held things is gone.
            result = kUninstallIncomplete;
            LogText("Uninstallation incomplete.\r\n");
            if (!messages.Silent()) {
                const wchar_t* first = removal.FirstFailure();
                // The uninstaller's texts have none for this.
                wchar_t* text = win::FormatText(L"Some items could not be removed. The first one:\n%s", first ? first : self);
                win::FittedMessageBox(nullptr, text ? text : L"Some items could not be removed.", messages.Text(kUninstTitle),
                            MB_OK | MB_ICONWARNING);
                win::Release(text);
            }
        } else {
            if (removal.RestartNeeded()) LogText("Restart needed: files in use go at the next start of Windows.\r\n");
            LogText("Uninstallation complete.\r\n");
            messages.Show(kUninstDone, nullptr, MB_OK | MB_ICONINFORMATION, IDOK);
            // Last, so that the copy that removes the uninstaller does not wait for the
            // user to close the message.
            if (!StartSelfRemoval(self, CreatedFoldersAroundSelf(self, info), args.log)) result = kUninstallIncomplete;
        }
    }
    win::Release(installation);
    win::Release(info.records);
    win::Release(info.file.bytes);
    win::Release(package.file.bytes);
    return result;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    // System DLLs only from the system folder: a DLL planted beside the uninstaller (or in
    // the temporary folder of its cleanup copy) is never loaded.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    // A volatile read ties the marker array to the code, so that dropping unused sections
    // at link time keeps it.
    if (g_sizeMarker[0] != 0x77) return kUninstallInvalidInfo;
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    Arguments args = argv ? ParseArguments(argv, argc) : Arguments{};
    if (args.log) OpenLog(args.log, args.cleanup);
    CMessages messages;
    messages.SetSilent(args.silent || args.cleanup);
    int result = args.cleanup ? RunSelfRemoval(args.cleanupArguments) : Uninstall(args, messages);
    CloseLog();
    return result;
}
