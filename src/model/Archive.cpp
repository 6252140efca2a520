#include "model/Archive.h"

#include <cstring>

#include "platform/StringTable.h"

namespace sw {

CArchiveException::CArchiveException(Cause cause)
    : std::runtime_error(LoadString(IDS_UNEXPECTED_FILE_FORMAT)), m_cause(cause)
{
}

CArchive::CArchive() : m_bStoring(true) {}

CArchive::CArchive(std::string_view loadFrom) : m_bStoring(false), m_load(loadFrom) {}

void CArchive::WriteBytes(const void* data, std::size_t size)
{
    m_buffer.append(static_cast<const char*>(data), size);
}

void CArchive::WriteInt(std::int32_t value)
{
    auto bits = static_cast<std::uint32_t>(value);
    char bytes[4] = {static_cast<char>(bits & 0xFF), static_cast<char>((bits >> 8) & 0xFF),
                     static_cast<char>((bits >> 16) & 0xFF), static_cast<char>((bits >> 24) & 0xFF)};
    WriteBytes(bytes, 4);
}

namespace {
void AppendWord(std::string& out, std::uint32_t value)
{
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}
}  // namespace

void CArchive::WriteCount(std::size_t count)
{
    if (count < 0xFFFF) {
        AppendWord(m_buffer, static_cast<std::uint32_t>(count));
    } else {
        AppendWord(m_buffer, 0xFFFF);
        WriteInt(static_cast<std::int32_t>(static_cast<std::uint32_t>(count)));
    }
}

void CArchive::WriteString(std::string_view text)
{
    std::size_t length = text.size();
    if (length < 0xFF) {
        m_buffer += static_cast<char>(length);
    } else if (length < 0xFFFE) {
        m_buffer += '\xFF';
        AppendWord(m_buffer, static_cast<std::uint32_t>(length));
    } else {
        m_buffer += '\xFF';
        AppendWord(m_buffer, 0xFFFF);
        WriteInt(static_cast<std::int32_t>(static_cast<std::uint32_t>(length)));
    }
    m_buffer.append(text);
}

void CArchive::WriteStringArray(const std::vector<std::string>& strings)
{
    WriteCount(strings.size());
    for (const std::string& text : strings) WriteString(text);
}

void CArchive::Need(std::size_t bytes) const
{
    if (bytes > Remaining()) throw CArchiveException(CArchiveException::endOfFile);
}

void CArchive::ReadBytes(void* data, std::size_t size)
{
    Need(size);
    std::memcpy(data, m_load.data() + m_nPos, size);
    m_nPos += size;
}

std::uint8_t CArchive::ReadByte()
{
    Need(1);
    return static_cast<std::uint8_t>(m_load[m_nPos++]);
}

std::uint16_t CArchive::ReadWord()
{
    std::uint16_t low = ReadByte();
    std::uint16_t high = ReadByte();
    return static_cast<std::uint16_t>(low | (high << 8));
}

std::uint32_t CArchive::ReadDword()
{
    std::uint32_t low = ReadWord();
    std::uint32_t high = ReadWord();
    return low | (high << 16);
}

std::int32_t CArchive::ReadInt() { return static_cast<std::int32_t>(ReadDword()); }

std::size_t CArchive::ReadCount(std::size_t minElementSize)
{
    std::size_t count = ReadWord();
    if (count == 0xFFFF) count = ReadDword();
    if (minElementSize != 0 && count > Remaining() / minElementSize)
        throw CArchiveException(CArchiveException::badFormat);
    return count;
}

std::size_t CArchive::ReadLengthAfterMarker(std::uint16_t word)
{
    return word == 0xFFFF ? ReadDword() : word;
}

std::string CArchive::ReadString()
{
    std::size_t length = ReadByte();
    bool wide = false;
    if (length == 0xFF) {
        std::uint16_t word = ReadWord();
        if (word == 0xFFFE) {
            // The wide form: the marker, then a length in the same scheme, then UTF-16 units.
            wide = true;
            length = ReadByte();
            if (length == 0xFF) {
                word = ReadWord();
                if (word == 0xFFFE) throw CArchiveException(CArchiveException::badFormat);
                length = ReadLengthAfterMarker(word);
            }
        } else {
            length = ReadLengthAfterMarker(word);
        }
    }
    if (!wide) {
        Need(length);
        std::string text(m_load.substr(m_nPos, length));
        m_nPos += length;
        return text;
    }
    if (length > Remaining() / 2) throw CArchiveException(CArchiveException::endOfFile);
    std::u16string units(length, u'\0');
    for (char16_t& unit : units) unit = ReadWord();
    return WideToNarrow(units);
}

std::vector<std::string> CArchive::ReadStringArray()
{
    std::size_t count = ReadCount(1);
    std::vector<std::string> strings;
    strings.reserve(count);
    for (std::size_t i = 0; i < count; ++i) strings.push_back(ReadString());
    return strings;
}

std::string WideToNarrow(const std::u16string& wide)
{
    std::string out;
    out.reserve(wide.size());
    auto put = [&out](std::uint32_t cp) {
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    };
    for (std::size_t i = 0; i < wide.size(); ++i) {
        std::uint32_t unit = wide[i];
        if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 && wide[i + 1] < 0xE000) {
            put(0x10000 + ((unit - 0xD800) << 10) + (wide[i + 1] - 0xDC00u));
            ++i;
        } else if (unit >= 0xD800 && unit < 0xE000) {
            put(0xFFFD);
        } else {
            put(unit);
        }
    }
    return out;
}

}  // namespace sw
