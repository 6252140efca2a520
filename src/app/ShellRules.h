#pragma once
// Decisions of the application shell that need no window: the command line, the frame's
// saved placement, the title, the help page of a context, the parts of the document
// template string.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sw {

// The program's command line: a settings file and a flag starting with B (/B, -b, -Build)
// that builds and exits. Other flags are ignored; a later file replaces an earlier one;
// blanks and one pair of surrounding double quotes are removed. "/" followed by another
// "/" is a path, not a flag.
struct AppCommandLine {
    std::string file;
    bool build = false;
};
AppCommandLine ParseAppCommandLine(const std::vector<std::string>& args);

// The frame's rectangle as saved in "Settings"/"Window": left, top, width, height.
struct FrameRect {
    int left, top, width, height;
};
std::optional<FrameRect> ParseFramePlacement(const std::string& text);
std::string FormatFramePlacement(const FrameRect& rect);
// Applied only when the whole rectangle lies on the screen.
bool FitsScreen(const FrameRect& rect, int screenWidth, int screenHeight);

// Window title, " - " and the document title when there is one, "*" while modified.
std::string MakeFrameTitle(const std::string& windowTitle, const std::string& docTitle, bool modified);

// Part n (0-based) of the document template string (window title, document name, ...).
std::string DocTemplatePart(int index);

// The help page of a request: for a context request, by the low 16 bits of the context
// (0x20000 + dialog number); "index.htm" for anything else.
inline constexpr std::uint32_t kHelpContextBase = 0x20000;
std::string HelpPageForContext(std::uint32_t context, bool isContextRequest);
// Every page the help table names, index.htm included: the pages installed with the program.
std::vector<std::string> AllHelpPages();

}  // namespace sw
