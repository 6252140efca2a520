#pragma once
// The desktop's knowledge of settings files: a MIME type for ".kft" (shared-mime-info) and
// a desktop entry that opens them with this program, per user under the XDG data folder.
#include <string>

namespace sw {

std::string DesktopEntryText(const std::string& programPath);
std::string MimeTypeText();

// Writes both files under dataHome (applications/setwright.desktop and
// mime/packages/setwright-settings.xml) when missing or different. Returns true when a
// file was written, so that the caller can refresh the desktop's databases.
bool RegisterSettingsFileType(const std::string& dataHome, const std::string& programPath);

// $XDG_DATA_HOME, or ~/.local/share; empty when neither is known.
std::string UserDataHome();

}  // namespace sw
