#include "app/DesktopFiles.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "app/ShellRules.h"

namespace sw {

namespace {

// Parts of the document template string.
constexpr int kWindowTitlePart = 0;
constexpr int kExtensionPart = 4;
constexpr int kTypeNamePart = 6;
constexpr const char* kMimeType = "application/x-setwright-settings";

std::string ReadWhole(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool WriteWhenDifferent(const std::filesystem::path& path, const std::string& text)
{
    std::error_code ignored;
    if (std::filesystem::exists(path, ignored) && ReadWhole(path) == text) return false;
    std::filesystem::create_directories(path.parent_path(), ignored);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    return static_cast<bool>(out);
}

}  // namespace

std::string DesktopEntryText(const std::string& programPath)
{
    return "[Desktop Entry]\nType=Application\nName=" + DocTemplatePart(kWindowTitlePart) + "\nExec=\"" + programPath +
           "\" %f\nMimeType=" + kMimeType + ";\nCategories=Development;\nTerminal=false\n";
}

std::string MimeTypeText()
{
    return std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                       "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                       "  <mime-type type=\"") +
           kMimeType + "\">\n    <comment>" + DocTemplatePart(kTypeNamePart) + "</comment>\n    <glob pattern=\"*" +
           DocTemplatePart(kExtensionPart) + "\"/>\n  </mime-type>\n</mime-info>\n";
}

bool RegisterSettingsFileType(const std::string& dataHome, const std::string& programPath)
{
    if (dataHome.empty()) return false;
    std::filesystem::path home(dataHome);
    bool entry = WriteWhenDifferent(home / "applications" / "setwright.desktop", DesktopEntryText(programPath));
    bool mime = WriteWhenDifferent(home / "mime" / "packages" / "setwright-settings.xml", MimeTypeText());
    return entry || mime;
}

std::string UserDataHome()
{
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg) return xdg;
    if (const char* home = std::getenv("HOME"); home && *home) return std::string(home) + "/.local/share";
    return {};
}

}  // namespace sw
