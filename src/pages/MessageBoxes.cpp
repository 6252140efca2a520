#include "pages/MessageBoxes.h"

#include <wx/msgdlg.h>
#include <wx/utils.h>

#include "build/BuildHost.h"
#include "pages/WxText.h"
#include "platform/StringTable.h"

namespace sw {

namespace {
MessageBoxHook& Hook()
{
    static MessageBoxHook hook;
    return hook;
}
}  // namespace

void SetMessageBoxHook(MessageBoxHook hook) { Hook() = std::move(hook); }

int ShowMessageBox(const std::string& text, unsigned type)
{
    if (Hook()) return Hook()(text, type);
    unsigned buttons = type & 0xF;
    long style = buttons == kMbYesNoCancel ? wxYES_NO | wxCANCEL : buttons == MB_YESNO ? wxYES_NO : buttons == MB_OKCANCEL || buttons == MB_RETRYCANCEL ? wxOK | wxCANCEL : wxOK;
    if (type & MB_ICONSTOP) style |= wxICON_ERROR;
    else if (type & MB_ICONQUESTION) style |= wxICON_QUESTION;
    else if (type & MB_ICONINFORMATION) style |= wxICON_INFORMATION;
    wxMessageDialog dialog(wxGetActiveWindow(), Wx(text), Wx(LoadString(IDS_APP_NAME)), style);
    if (buttons == MB_RETRYCANCEL) dialog.SetOKCancelLabels(wxID_RETRY, wxID_CANCEL);
    switch (dialog.ShowModal()) {
    case wxID_YES: return IDYES;
    case wxID_NO: return IDNO;
    case wxID_CANCEL: return IDCANCEL;
    default: return buttons == MB_RETRYCANCEL ? IDRETRY : IDOK;
    }
}

std::string DialogFilter(std::string filter)
{
    while (!filter.empty() && filter.back() == '|') filter.pop_back();
    return filter;
}

}  // namespace sw
