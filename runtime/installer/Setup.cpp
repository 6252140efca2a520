#include "Setup.h"

#include <shlobj.h>

#include "SystemFolders.h"
#include "core/InstallFormat.h"
#include "win32/FormatText.h"
#include "win32/Heap.h"
#include "win32/Log.h"

namespace sw {
namespace {

using win::Allocate;
using win::Release;

std::uint32_t Read32(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 | static_cast<std::uint32_t>(p[2]) << 16 |
           static_cast<std::uint32_t>(p[3]) << 24;
}

// A record's payload in a new buffer with a zero after it; nullptr when absent (damaged
// stays false) or damaged.
std::uint8_t* LoadPayload(const ProgramView& view, std::uint16_t id, std::uint32_t& length, bool& damaged)
{
    length = 0;
    const RecordView* record = FindRecord(view, id);
    if (!record) return nullptr;
    if (!PayloadLength(*record, length) || length > 0x7FFFFFF0u) {
        damaged = true;
        return nullptr;
    }
    auto* out = static_cast<std::uint8_t*>(Allocate(length + 2u));
    if (!out || !ReadPayload(*record, out, length)) {
        damaged = true;
        Release(out);
        return nullptr;
    }
    return out;
}

// A string record (stored with its zero) as UTF-16; "" when absent.
wchar_t* LoadText(const ProgramView& view, std::uint16_t id, bool& damaged)
{
    std::uint32_t length = 0;
    std::uint8_t* bytes = LoadPayload(view, id, length, damaged);
    std::size_t textLength = 0;
    while (bytes && textLength < length && bytes[textLength]) ++textLength;
    wchar_t* text = win::WidenText(reinterpret_cast<const char*>(bytes ? bytes : reinterpret_cast<const std::uint8_t*>("")), textLength);
    Release(bytes);
    if (!text) damaged = true;
    return text;
}

// A string record kept as the bytes it holds (zero-terminated); nullptr when absent.
char* LoadBytes(const ProgramView& view, std::uint16_t id, bool& damaged, std::uint32_t* payloadLength = nullptr)
{
    std::uint32_t length = 0;
    std::uint8_t* bytes = LoadPayload(view, id, length, damaged);
    if (bytes && length == 0) {
        Release(bytes);
        return nullptr;
    }
    if (payloadLength) *payloadLength = length;
    return reinterpret_cast<char*>(bytes);
}

wchar_t* EmptyText() { return win::CopyWide(L"", 0); }

}  // namespace

CSetup::~CSetup()
{
    for (unsigned g = 0; g < kWizardTextGroups; ++g) {
        for (unsigned i = 0; i < m_textCounts[g]; ++i) Release(m_texts[g][i]);
        Release(m_texts[g]);
    }
    Release(m_title);
    Release(m_backgroundTitle);
    Release(m_wizardBitmapData);
    Release(m_backgroundBitmapData);
    Release(m_dialogs);
    Release(m_proposedDir);
    Release(m_fileTable);
    Release(m_defaultDir);
    Release(m_regKey);
    Release(m_regValue);
    Release(m_iniFile);
    Release(m_iniSection);
    Release(m_iniEntry);
}

bool CSetup::Load(const ProgramView& view, const DataPiece* pieces, std::size_t pieceCount)
{
    m_view = &view;
    m_pieces = pieces;
    m_pieceCount = pieceCount;
    bool damaged = false;

    // Every text group the program carries; a group it lacks reads as blank texts.
    if (const RecordView* texts = FindRecord(view, REC_WIZARD_TEXTS)) {
        const std::size_t capacity = 1024 * 1024;
        auto* buffer = static_cast<std::uint8_t*>(Allocate(capacity));
        if (!buffer) return false;
        for (unsigned g = 0; g < kWizardTextGroups; ++g) {
            std::size_t length = 0;
            if (!ReadWizardTextGroup(texts->data, texts->size, g, buffer, capacity, length)) break;
            unsigned count = length >= 2 ? static_cast<unsigned>(buffer[0] | buffer[1] << 8) : 0;
            m_texts[g] = win::AllocateArray<wchar_t*>(count ? count : 1);
            if (!m_texts[g]) break;
            m_textCounts[g] = count;
            for (unsigned i = 0; i < count; ++i) {
                const char* text = nullptr;
                std::size_t textLength = 0;
                m_texts[g][i] = FindTextInGroup(buffer, length, i, text, textLength) ? win::WidenText(text, textLength)
                                                                                     : EmptyText();
            }
        }
        Release(buffer);
    }

    m_title = LoadText(view, REC_TITLE, damaged);
    m_backgroundTitle = LoadText(view, REC_BACKGROUND_TITLE, damaged);

    std::uint32_t length = 0;
    if (std::uint8_t* options = LoadPayload(view, REC_OPTIONS, length, damaged)) {
        if (length >= 4) m_options = Read32(options);
        Release(options);
    }
    // The title font is a 60-byte LOGFONTA: the numbers as they are, the face name widened.
    if (std::uint8_t* font = LoadPayload(view, REC_TITLE_FONT, length, damaged)) {
        if (length >= 60) {
            const std::uint8_t* p = font;
            m_titleFont.lfHeight = static_cast<LONG>(Read32(p));
            m_titleFont.lfWidth = static_cast<LONG>(Read32(p + 4));
            m_titleFont.lfEscapement = static_cast<LONG>(Read32(p + 8));
            m_titleFont.lfOrientation = static_cast<LONG>(Read32(p + 12));
            m_titleFont.lfWeight = static_cast<LONG>(Read32(p + 16));
            m_titleFont.lfItalic = p[20];
            m_titleFont.lfUnderline = p[21];
            m_titleFont.lfStrikeOut = p[22];
            m_titleFont.lfCharSet = p[23];
            m_titleFont.lfOutPrecision = p[24];
            m_titleFont.lfClipPrecision = p[25];
            m_titleFont.lfQuality = p[26];
            m_titleFont.lfPitchAndFamily = p[27];
            std::size_t face = 0;
            while (face < 31 && p[28 + face]) ++face;
            if (wchar_t* name = win::WidenText(reinterpret_cast<const char*>(p + 28), face)) {
                for (std::size_t i = 0; i < 31 && name[i]; ++i) m_titleFont.lfFaceName[i] = name[i];
                Release(name);
            }
            m_hasTitleFont = true;
        }
        Release(font);
    }

    m_wizardBitmapData = LoadPayload(view, REC_WIZARD_BITMAP, length, damaged);
    m_wizardBitmap = Bitmap{m_wizardBitmapData, m_wizardBitmapData ? length : 0};
    m_backgroundBitmapData = LoadPayload(view, REC_BACKGROUND_BITMAP, length, damaged);
    m_backgroundBitmap = Bitmap{m_backgroundBitmapData, m_backgroundBitmapData ? length : 0};

    // The dialog templates: a table of offsets, one per template, then the templates.
    m_dialogs = LoadPayload(view, REC_DIALOGS, m_dialogsSize, damaged);
    if (m_dialogs && m_dialogsSize >= 4) {
        std::uint32_t first = Read32(m_dialogs);
        if (first % 4 == 0 && first <= m_dialogsSize) m_dialogCount = first / 4;
        for (unsigned i = 0; i < m_dialogCount; ++i) {
            std::uint32_t offset = Read32(m_dialogs + 4 * i);
            if (offset % 4 != 0 || offset < first || offset + sizeof(DLGTEMPLATE) > m_dialogsSize) m_dialogCount = 0;
        }
    }

    if (std::uint32_t pageLength = 0; std::uint8_t* page = LoadPayload(view, REC_TEST_PAGE, pageLength, damaged)) {
        if (pageLength >= 2) {
            unsigned value = page[0] | page[1] << 8;
            m_testPage = value == 0xFFFF ? kTestWholeWizard : value <= 5 ? static_cast<int>(value) : kTestWholeWizard;
        }
        Release(page);
    }

    std::uint32_t dirLength = 0;
    m_defaultDir = LoadBytes(view, REC_DEFAULT_DIR, damaged, &dirLength);
    m_regKey = LoadBytes(view, REC_REG_KEY, damaged);
    m_regValue = LoadBytes(view, REC_REG_VALUE, damaged);
    if (std::uint8_t* root = LoadPayload(view, REC_REG_ROOT, length, damaged)) {
        if (length >= 4) m_regRoot = Read32(root);
        Release(root);
    }
    m_iniFile = LoadBytes(view, REC_INI_FILE, damaged);
    m_iniSection = LoadBytes(view, REC_INI_SECTION, damaged);
    m_iniEntry = LoadBytes(view, REC_INI_ENTRY, damaged);

    std::uint32_t titleLength = 0;
    std::uint8_t* backgroundTitle = LoadPayload(view, REC_BACKGROUND_TITLE, titleLength, damaged);
    m_projectCheck = ProjectCheckValue(view.seed, reinterpret_cast<const std::uint8_t*>(m_defaultDir), dirLength, m_options,
                                       backgroundTitle, titleLength);
    Release(backgroundTitle);

    // The file table: read whole and checked here, so that neither the wizard nor the
    // engine starts on a program whose table is damaged.
    m_fileTable = LoadPayload(view, REC_FILE_TABLE, m_fileTableSize, damaged);
    if (m_fileTable) {
        CFileTableReader reader(m_fileTable, m_fileTableSize);
        std::uint32_t count = 0;
        FileEntry entry;
        if (!reader.Start(count)) damaged = true;
        for (std::uint32_t i = 0; i < count && !damaged; ++i) {
            TargetFolder target;
            if (!reader.Next(entry) || entry.dataOffset + entry.packedSize > view.dataSize) {
                damaged = true;
                break;
            }
            InstallAction action = PlanFile(entry);
            if (action == InstallAction::refuseName || action == InstallAction::refuseTarget ||
                !FileTargetFolder(entry, target))
                damaged = true;
            else if (action == InstallAction::install || action == InstallAction::installUninstaller)
                m_spaceNeeded += entry.size;
        }
        if (!damaged && !reader.AtEnd()) damaged = true;
        // A file written over the uninstaller or its information would leave an uninstaller
        // that removes what another product installed: the builder never writes such a table.
        FileEntry collision;
        if (!damaged && FindUninstallerCollision(m_fileTable, m_fileTableSize, collision)) {
            if (wchar_t* name = win::WidenText(collision.name, collision.nameLength)) {
                LogLine("A file takes the place of the uninstaller or its information: ", name);
                Release(name);
            }
            damaged = true;
        }
    }

    for (unsigned g = 0; g < kWizardTextGroups; ++g)
        if (!m_texts[g]) m_texts[g] = win::AllocateArray<wchar_t*>(1);

    m_proposedDir = FindProposedDirectory(*this, m_defaultDir);
    if (!m_proposedDir) m_proposedDir = EmptyText();
    return !damaged && m_title && m_backgroundTitle && m_proposedDir;
}

const wchar_t* CSetup::Text(unsigned group, unsigned index) const
{
    if (group >= kWizardTextGroups || index >= m_textCounts[group] || !m_texts[group][index]) return L"";
    return m_texts[group][index];
}

wchar_t* CSetup::FormatText(unsigned group, unsigned index, const wchar_t* argument) const
{
    return win::FormatText(Text(group, index), argument);
}

void CSetup::SetProposedDirectory(const wchar_t* directory)
{
    if (wchar_t* copy = win::CopyWide(directory)) {
        Release(m_proposedDir);
        m_proposedDir = copy;
    }
}

const DLGTEMPLATE* CSetup::Dialog(unsigned index) const
{
    if (index >= m_dialogCount) return nullptr;
    std::uint32_t offset = Read32(m_dialogs + 4 * index);
    return reinterpret_cast<const DLGTEMPLATE*>(m_dialogs + offset);
}

InstallOutcome::~InstallOutcome()
{
    win::Release(reason);
    win::Release(viewFile);
    win::Release(runFile);
    win::Release(uninstaller);
}

}  // namespace sw
