#include "app/TestLauncher.h"

#include <wx/filefn.h>
#include <wx/log.h>
#include <wx/utils.h>

#include "build/Builder.h"
#include "build/RuntimeResources.h"
#include "pages/WxText.h"
#include "platform/StringFormat.h"
#include "platform/StringTable.h"

namespace sw {

namespace {
constexpr const char* kWine = "wine";
}  // namespace

int TestRuntimeId() { return FindRuntimeResource(RES_INSTALLER_64).empty() ? RES_INSTALLER : RES_INSTALLER_64; }

std::string RunWizardTest(const CData& data, const std::string& path, IBuildHost& host, int startPage)
{
    if (!CBuilder(host).TestWizard(data, path, startPage, TestRuntimeId())) return {};
    wxPathList folders;
    folders.AddEnvList("PATH");
    wxString wine = folders.FindAbsoluteValidPath(kWine);
    if (wine.empty()) return LoadString(IDS_TEST_NO_WINE);
    wxString command = "\"" + wine + "\" \"" + Wx(path) + "\"";
    wxLogNull quiet;  // the failure is told in the program's own words below
    if (wxExecute(command, wxEXEC_ASYNC) <= 0) return FormatText(LoadString(IDS_TEST_START_FAILED), Std(command));
    return {};
}

}  // namespace sw
