#include "cli/ProjectSummary.h"

#include "model/NameProblemText.h"
#include "platform/StringFormat.h"
#include "platform/StringTable.h"

namespace sw {

namespace {

std::string OrNone(const std::string& value) { return value.empty() ? LoadString(IDS_CLI_NONE) : value; }

std::string PlatformName(int platform)
{
    switch (platform) {
    case 0: return LoadString(IDS_CLI_PLATFORM_WIN31);
    case 1: return LoadString(IDS_CLI_PLATFORM_WIN32);
    case 2: return LoadString(IDS_CLI_PLATFORM_WIN64);
    default: return FormatText(LoadString(IDS_CLI_PLATFORM_UNKNOWN), platform);
    }
}

}  // namespace

std::string ProjectSummary(const CData& data, const std::string& settingsFile)
{
    std::string out;
    auto line = [&out](const std::string& text) { out += text + "\n"; };
    line(FormatText(LoadString(IDS_CLI_SUMMARY_PROJECT), settingsFile));
    line(FormatText(LoadString(IDS_CLI_SUMMARY_TITLE), data.m_strTitle));
    line(FormatText(LoadString(IDS_CLI_SUMMARY_SOURCE), OrNone(data.m_strSourceDir)));
    line(FormatText(LoadString(IDS_CLI_SUMMARY_SUBDIRS), LoadString(data.m_bIncludeSubdirs ? IDS_CLI_YES : IDS_CLI_NO)));
    line(FormatText(LoadString(IDS_CLI_SUMMARY_DEFAULT_DIR), OrNone(data.m_strDefaultDir)));
    line(FormatText(LoadString(IDS_CLI_SUMMARY_WINDOW),
                    LoadString(data.m_nWindowMode == 0 ? IDS_CLI_WINDOW_SMALL : IDS_CLI_WINDOW_NORMAL)));
    line(FormatText(LoadString(IDS_CLI_SUMMARY_UNINSTALLER), OrNone(data.m_strUninstallerName)));
    line(FormatText(LoadString(IDS_CLI_SUMMARY_OUTPUT), OrNone(data.m_strOutputFile)));
    line(FormatText(LoadString(IDS_CLI_SUMMARY_PLATFORM), PlatformName(data.m_nPlatform)));
    line(FormatText(LoadString(IDS_CLI_SUMMARY_FILES), static_cast<int>(data.m_files.size())));
    for (const CFileItem& item : data.m_files) line("  " + item.GetOptionsCode() + "  " + item.m_strName);
    for (const CFileItem& item : data.m_files)
        if (item.HasUnsafeName())
            line(FormatText(LoadString(IDS_CLI_SUMMARY_UNSAFE), item.m_strName, DescribeNameProblem(item.GetNameProblem())));
    return out;
}

}  // namespace sw
