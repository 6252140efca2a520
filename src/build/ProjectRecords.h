#pragma once
// The records that describe a project to the installer: the dialog templates, the
// options, directory, titles, font, bitmaps, attached file and the wizard texts. A build
// and the wizard test write them alike.
#include <cstdint>
#include <span>
#include <string>

#include "build/RecordWriter.h"
#include "model/Data.h"

namespace sw {

class IBuildHost;

// The wizard texts of one group as the installer receives them: the View caption filled
// with the viewed file's name (or emptied), the Launch caption emptied without a file to
// run, the title macro replaced, and texts of blanks only made empty.
std::vector<std::string> PrepareWizardTexts(const CData& data, std::size_t group);

// Writes REC_DIALOGS from `dialogs` (stored form), the project records and
// REC_WIZARD_TEXTS. Without dialog templates, only REC_WIZARD_TEXTS is written. host
// (may be null) hears of read errors of the bitmaps and the attached file, which are then
// left out.
void WriteProjectRecords(CRecordWriter& writer, const CData& data, std::span<const std::uint8_t> dialogs,
                         IBuildHost* host);

// The .bmp test of the bitmap records: a 40-byte info header, width and height above 0.
bool IsUsableBitmap(std::string_view file);

// Replaces the first %s of a caption with the argument and %% with %; other % sequences
// stay as they are. Captions are written by authors: they are never used as a format.
std::string FillCaption(std::string_view caption, std::string_view argument);

}  // namespace sw
