#pragma once
// Settings files (.kft): the stored form of a project.
#include <string>
#include <string_view>

#include "model/Data.h"

namespace sw {

// Reads a settings file into the project. A file this program cannot read leaves the
// project exactly as it was and throws:
//   CFileError         the file cannot be opened or read;
//   CIncorrectVersion  the version is not one of the known ones ("Incorrect version");
//   CArchiveException  the content is cut short or malformed ("Unexpected file format.").
void LoadSettingsFile(CData& data, const std::string& path);
void LoadSettings(CData& data, std::string_view bytes);

// The bytes of the current settings file form.
std::string StoreSettings(const CData& data);
// Saves by writing a temporary file beside the target and renaming it over the target,
// so that a failed save leaves the previous file intact. Throws CFileError.
void SaveSettingsFile(const CData& data, const std::string& path);

// Settings files are small; anything larger than this is not one.
inline constexpr std::size_t kMaxSettingsFileSize = std::size_t(256) << 20;

}  // namespace sw
