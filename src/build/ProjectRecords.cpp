#include "build/ProjectRecords.h"

#include <memory>

#include "build/BuildHost.h"
#include "build/Compressor.h"
#include "model/WizardTexts.h"
#include "platform/FileError.h"
#include "platform/File.h"
#include "core/InstallFormat.h"

namespace sw {

namespace {

constexpr std::size_t kEndPageGroup = 5;
constexpr std::size_t kViewCaption = 5;
constexpr std::size_t kLaunchCaption = 6;

std::int32_t Read32(std::string_view bytes, std::size_t offset)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) value |= static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes[offset + i])) << (8 * i);
    return static_cast<std::int32_t>(value);
}

const CFileItem* FirstWithEndPage(const CData& data, int endPage)
{
    for (const CFileItem& item : data.m_files)
        if (item.GetOption(OPT_END_PAGE) == endPage) return &item;
    return nullptr;
}

// The whole content of a file named by the project, or nothing when it cannot be opened
// or is empty. A file that opens but cannot be read is reported and left out.
std::string ReadProjectFile(const std::string& path, IBuildHost* host)
{
    if (path.empty()) return {};
    std::unique_ptr<CDiskFile> file;
    try {
        file = std::make_unique<CDiskFile>(path, CDiskFile::Mode::read);
    } catch (const CFileError&) {
        return {};  // a file that does not open is simply left out
    }
    std::string content;
    try {
        char buffer[32768];
        while (std::size_t got = file->Read(buffer, sizeof buffer)) content.append(buffer, got);
    } catch (const CFileError& error) {
        if (host) host->MessageBox(error.what(), MB_OK | MB_ICONSTOP);
        return {};
    }
    return content;
}

bool IsBlank(const std::string& text) { return text.find_first_not_of(' ') == std::string::npos; }

}  // namespace

std::string FillCaption(std::string_view caption, std::string_view argument)
{
    std::string out;
    bool filled = false;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '%' && i + 1 < caption.size()) {
            if (caption[i + 1] == '%') {
                out += '%';
                ++i;
                continue;
            }
            if (caption[i + 1] == 's' && !filled) {
                out += argument;
                filled = true;
                ++i;
                continue;
            }
        }
        out += caption[i];
    }
    return out;
}

bool IsUsableBitmap(std::string_view file)
{
    if (file.size() < 26 || file[0] != 'B' || file[1] != 'M') return false;
    return Read32(file, 14) == 40 && Read32(file, 18) > 0 && Read32(file, 22) > 0;
}

std::vector<std::string> PrepareWizardTexts(const CData& data, std::size_t group)
{
    std::vector<std::string> texts = data.m_texts[group];
    if (group == kEndPageGroup) {
        if (texts.size() > kViewCaption) {
            const CFileItem* viewed = FirstWithEndPage(data, 1);
            if (viewed) {
                std::string_view name = viewed->m_strName;
                std::size_t slash = name.rfind('\\');
                texts[kViewCaption] = FillCaption(texts[kViewCaption], slash == std::string_view::npos ? name : name.substr(slash + 1));
            } else {
                texts[kViewCaption].clear();
            }
        }
        if (texts.size() > kLaunchCaption && !FirstWithEndPage(data, 2)) texts[kLaunchCaption].clear();
    }
    for (std::string& text : texts) {
        text = ReplaceTitleMacro(text, data.m_strTitle);
        if (IsBlank(text)) text.clear();
    }
    return texts;
}

void WriteProjectRecords(CRecordWriter& writer, const CData& data, std::span<const std::uint8_t> dialogs,
                         IBuildHost* host)
{
    if (!dialogs.empty()) {
        writer.WriteCompressedRecord(REC_DIALOGS, std::string_view(reinterpret_cast<const char*>(dialogs.data()), dialogs.size()));

        std::uint32_t options = static_cast<std::uint32_t>(data.m_nDirFlags) | (data.m_nWindowMode != 0 ? kOptionFullScreen : 0);
        writer.Write32(REC_OPTIONS, options);
        if (!data.m_strDefaultDir.empty()) writer.WriteString(REC_DEFAULT_DIR, data.m_strDefaultDir);
        if (!data.m_strRegKey.empty()) {
            writer.Write32(REC_REG_ROOT, static_cast<std::uint32_t>(data.m_nRegRoot));
            writer.WriteString(REC_REG_KEY, data.m_strRegKey);
            if (!data.m_strRegValue.empty()) writer.WriteString(REC_REG_VALUE, data.m_strRegValue);
        }
        if (!data.m_strIniFile.empty() && !data.m_strIniSection.empty() && !data.m_strIniEntry.empty()) {
            writer.WriteString(REC_INI_FILE, data.m_strIniFile);
            writer.WriteString(REC_INI_SECTION, data.m_strIniSection);
            writer.WriteString(REC_INI_ENTRY, data.m_strIniEntry);
        }
        if (!data.m_strTitle.empty()) writer.WriteString(REC_TITLE, data.m_strTitle);
        bool fullScreen = data.m_nWindowMode != 0;
        if (fullScreen && !data.m_strBackgroundTitle.empty()) {
            writer.WriteString(REC_BACKGROUND_TITLE, data.m_strBackgroundTitle);
            writer.WriteRecord(REC_TITLE_FONT, EncodeLogFont(data.m_lfTitleFont));
        }
        std::string bitmap = ReadProjectFile(data.m_strWizardBitmap, host);
        if (IsUsableBitmap(bitmap)) writer.WriteRecord(REC_WIZARD_BITMAP, bitmap);
        if (fullScreen) {
            std::string background = ReadProjectFile(data.m_strBackgroundBitmap, host);
            if (IsUsableBitmap(background)) writer.WriteRecord(REC_BACKGROUND_BITMAP, background);
        }
        std::string attached = ReadProjectFile(data.m_strAttachedFile, host);
        if (!attached.empty()) writer.WriteRecord(REC_ATTACHED_FILE, attached);
    }

    // The texts go straight to the file: per group a length and a stream of its own. The
    // last group is the uninstaller's, which travels in the uninstaller package instead.
    writer.OpenRecord(REC_WIZARD_TEXTS);
    CByteBuffer count;
    std::size_t groups = data.m_texts.empty() ? 0 : data.m_texts.size() - 1;
    count.Add16(static_cast<std::uint32_t>(groups));
    writer.File().Write(count.Bytes().data(), count.Size());
    for (std::size_t group = 0; group < groups; ++group) {
        std::vector<std::string> texts = PrepareWizardTexts(data, group);
        CByteBuffer payload;
        payload.Add16(static_cast<std::uint32_t>(texts.size()));
        for (const std::string& text : texts) payload.AddString(text);
        CByteBuffer length;
        length.Add32(static_cast<std::uint32_t>(payload.Size()));
        writer.File().Write(length.Bytes().data(), length.Size());
        CCompressor().CompressBuffer(writer.File(), payload.Bytes().data(), payload.Size());
    }
    writer.CloseRecord();
}

}  // namespace sw
