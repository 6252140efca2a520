#include "build/UninstallerPackage.h"

#include "build/RecordWriter.h"
#include "model/WizardTexts.h"
#include "platform/StringTable.h"
#include "core/ImageMarkers.h"
#include "core/InstallFormat.h"
#include "core/ProgramLayout.h"

namespace sw {

namespace {
constexpr std::size_t kUninstallerGroup = 8;

// Texts and keys carry a 16-bit length: anything longer is cut rather than written with a
// length that would not match its bytes.
std::string Limited(std::string text)
{
    if (text.size() > 0xFFFF) text.resize(0xFFFF);
    return text;
}
}  // namespace

std::pair<std::uint32_t, std::string> SplitRegistryKey(const std::string& key)
{
    std::size_t separator = key.find('\\');
    if (separator == std::string::npos) separator = key.find('/');
    if (separator == std::string::npos) return {0, key};
    const std::pair<int, std::uint32_t> roots[] = {{IDS_HKEY_CLASSES_ROOT, kRootClassesRoot},
                                                   {IDS_HKEY_CURRENT_USER, kRootCurrentUser},
                                                   {IDS_HKEY_LOCAL_MACHINE, kRootLocalMachine},
                                                   {IDS_HKEY_USERS, kRootUsers}};
    std::string_view root(key.data(), separator);
    for (auto [nameId, code] : roots)
        if (SameFileName(root, LoadString(nameId))) return {code, key.substr(separator + 1)};
    return {0, key};
}

std::string BuildUninstallerPackage(std::span<const std::uint8_t> runtimeImage, const CData& data)
{
    std::string image(reinterpret_cast<const char*>(runtimeImage.data()), runtimeImage.size());
    SetImageSize(reinterpret_cast<std::uint8_t*>(image.data()), image.size());
    CMemFile package(image);
    package.Seek(image.size());
    CRecordWriter writer(package);

    CByteBuffer texts;
    texts.Add16(1);
    const std::vector<std::string> empty;
    const std::vector<std::string>& group = data.m_texts.size() > kUninstallerGroup ? data.m_texts[kUninstallerGroup] : empty;
    texts.Add16(static_cast<std::uint32_t>(group.size()));
    for (const std::string& text : group) {
        std::string expanded = Limited(ReplaceTitleMacro(text, data.m_strTitle));
        texts.Add16(static_cast<std::uint32_t>(expanded.size()));
        texts.AddBytes(expanded);
    }
    writer.OpenRecord(REC_UNINST_TEXTS);
    package.Write(texts.Bytes().data(), texts.Size());
    writer.CloseRecord();

    CByteBuffer keys;
    keys.Add32(static_cast<std::uint32_t>(data.m_regKeysToRemove.size()));
    for (const std::string& key : data.m_regKeysToRemove) {
        auto [root, fullRest] = SplitRegistryKey(key);
        std::string rest = Limited(fullRest);
        keys.Add32(root);
        keys.Add16(static_cast<std::uint32_t>(rest.size()));
        keys.AddBytes(rest);
    }
    writer.OpenRecord(REC_UNINST_KEYS);
    package.Write(keys.Bytes().data(), keys.Size());
    writer.CloseRecord();

    writer.WriteHeader(REC_END, 0, 0);
    // The uninstaller checks its own records before it trusts them, as the installer does.
    std::string bytes = package.Data();
    SealProgramRecords(reinterpret_cast<std::uint8_t*>(bytes.data()), bytes.size());
    return bytes;
}

}  // namespace sw
