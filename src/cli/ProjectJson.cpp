#include "cli/ProjectJson.h"

#include <cstdio>
#include <cstring>

namespace sw {

namespace {

// The length of the well-formed UTF-8 sequence of two or more bytes at text[i], or 0: no
// overlong forms, no surrogates, nothing above U+10FFFF (the lead byte decides the range of
// the second byte; the others are 80-BF).
std::size_t Utf8Length(std::string_view text, std::size_t i)
{
    auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    }
    if (length == 0 || i + length > text.size() || byte(i + 1) < low || byte(i + 1) > high) return 0;
    for (std::size_t k = 2; k < length; ++k)
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
    return length;
}

class CJsonWriter {
public:
    void Key(const char* name)
    {
        Separate();
        m_out += JsonString(name) + ": ";
        m_bFresh = true;
    }
    void Value(const std::string& text)
    {
        Separate();
        m_out += JsonString(text);
    }
    void Value(long long number)
    {
        Separate();
        m_out += std::to_string(number);
    }
    void Open(char bracket)
    {
        Separate();
        m_out += bracket;
        ++m_nDepth;
        m_bFresh = true;
        m_bEmpty = true;
    }
    void Close(char bracket)
    {
        --m_nDepth;
        if (!m_bEmpty) NewLine();
        m_out += bracket;
        m_bFresh = false;
        m_bEmpty = false;
    }
    std::string Take() { return m_out + "\n"; }

private:
    void NewLine()
    {
        m_out += '\n';
        m_out.append(static_cast<std::size_t>(2 * m_nDepth), ' ');
    }
    void Separate()
    {
        if (m_bFresh && !m_bEmpty) {  // a value right after its key
            m_bFresh = false;
            return;
        }
        if (!m_bEmpty) m_out += ',';
        if (m_nDepth > 0) NewLine();
        m_bFresh = false;
        m_bEmpty = false;
    }
    std::string m_out;
    int m_nDepth = 0;
    bool m_bFresh = false;
    bool m_bEmpty = true;
};

}  // namespace

std::string JsonString(std::string_view text)
{
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size();) {
        auto c = static_cast<unsigned char>(text[i]);
        char escaped[8];
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c < 0x20) {
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (std::size_t length = Utf8Length(text, i)) {
            out.append(text.substr(i, length));
            i += length;
            continue;
        } else {
            // A byte that is not part of well-formed UTF-8 (settings files written on Windows
            // hold the system code page): the lone surrogate U+DC80-U+DCFF that stands for it,
            // as Python's surrogateescape has it. No UTF-8 text can give that escape, so the
            // bytes are kept exactly and the output stays valid UTF-8.
            std::snprintf(escaped, sizeof escaped, "\\udc%02x", c);
            out += escaped;
        }
        ++i;
    }
    return out + "\"";
}

std::string ProjectToJson(const CData& data)
{
    CJsonWriter json;
    auto str = [&json](const char* key, const std::string& value) {
        json.Key(key);
        json.Value(value);
    };
    auto num = [&json](const char* key, long long value) {
        json.Key(key);
        json.Value(value);
    };
    auto strings = [&json](const char* key, const std::vector<std::string>& values) {
        json.Key(key);
        json.Open('[');
        for (const std::string& value : values) json.Value(value);
        json.Close(']');
    };
    json.Open('{');
    str("m_strSourceDir", data.m_strSourceDir);
    num("m_bIncludeSubdirs", data.m_bIncludeSubdirs);
    json.Key("m_files");
    json.Open('[');
    for (const CFileItem& item : data.m_files) {
        json.Open('{');
        str("m_strName", item.m_strName);
        json.Key("m_nOptions");
        json.Open('[');
        for (std::int32_t option : item.m_nOptions) json.Value(option);
        json.Close(']');
        str("m_strIconFolder", item.m_strIconFolder);
        str("m_strIconName", item.m_strIconName);
        str("m_strIconArgs", item.m_strIconArgs);
        num("m_nIconIndex", item.m_nIconIndex);
        str("m_strShortcutName", item.m_strShortcutName);
        str("m_strShortcutArgs", item.m_strShortcutArgs);
        json.Close('}');
    }
    json.Close(']');
    str("m_strTitle", data.m_strTitle);
    json.Key("m_texts");
    json.Open('[');
    for (const auto& group : data.m_texts) {
        json.Open('[');
        for (const std::string& text : group) json.Value(text);
        json.Close(']');
    }
    json.Close(']');
    str("m_strWizardBitmap", data.m_strWizardBitmap);
    str("m_strBackgroundBitmap", data.m_strBackgroundBitmap);
    str("m_strAttachedFile", data.m_strAttachedFile);
    str("m_strBackgroundTitle", data.m_strBackgroundTitle);
    num("m_nWindowMode", data.m_nWindowMode);
    num("m_nDirFlags", data.m_nDirFlags);
    const LogFont& font = data.m_lfTitleFont;
    json.Key("m_lfTitleFont");
    json.Open('{');
    num("lfHeight", font.lfHeight);
    num("lfWidth", font.lfWidth);
    num("lfEscapement", font.lfEscapement);
    num("lfOrientation", font.lfOrientation);
    num("lfWeight", font.lfWeight);
    num("lfItalic", font.lfItalic);
    num("lfUnderline", font.lfUnderline);
    num("lfStrikeOut", font.lfStrikeOut);
    num("lfCharSet", font.lfCharSet);
    num("lfOutPrecision", font.lfOutPrecision);
    num("lfClipPrecision", font.lfClipPrecision);
    num("lfQuality", font.lfQuality);
    num("lfPitchAndFamily", font.lfPitchAndFamily);
    str("lfFaceName", std::string(font.lfFaceName, strnlen(font.lfFaceName, sizeof font.lfFaceName)));
    json.Close('}');
    str("m_strUninstallerName", data.m_strUninstallerName);
    str("m_strUninstallIconFolder", data.m_strUninstallIconFolder);
    str("m_strUninstallIconName", data.m_strUninstallIconName);
    strings("m_regKeysToRemove", data.m_regKeysToRemove);
    str("m_strDefaultDir", data.m_strDefaultDir);
    num("m_nRegRoot", data.m_nRegRoot);
    str("m_strRegKey", data.m_strRegKey);
    str("m_strRegValue", data.m_strRegValue);
    str("m_strIniFile", data.m_strIniFile);
    str("m_strIniSection", data.m_strIniSection);
    str("m_strIniEntry", data.m_strIniEntry);
    str("m_strOutputFile", data.m_strOutputFile);
    num("m_nPlatform", data.m_nPlatform);
    json.Close('}');
    return json.Take();
}

}  // namespace sw
