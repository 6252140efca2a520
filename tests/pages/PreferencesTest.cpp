#include <gtest/gtest.h>

#include "FakeProfile.h"
#include "pages/ReportLayout.h"

namespace sw {
namespace {

TEST(Preferences, FreshProfileReadsTheDefaultsAndWritesGoUnderTheirNames)
{
    test::FakeProfile profile;
    EXPECT_EQ(GeneralSettings().Read(profile, PREF_WIZARD), 1);
    EXPECT_EQ(OutputSettings().Read(profile, PREF_OUTPUT_RATIO), 1);
    EXPECT_EQ(OutputSettings().Read(profile, PREF_OUTPUT_PACKED), 1);
    EXPECT_EQ(OutputSettings().Read(profile, PREF_OUTPUT_ORIGINAL), 0);
    GeneralSettings().Write(profile, PREF_WIZARD, 0);
    OutputSettings().Write(profile, PREF_OUTPUT_ORIGINAL, 1);
    EXPECT_EQ(profile.values, (std::map<std::string, int>{{"General/wizard", 0}, {"Output/output_originalsize", 1}}));
    EXPECT_EQ(GeneralSettings().Read(profile, PREF_WIZARD), 0);
}

TEST(ReportLayout, ColumnsFollowThePreferencesAndTheFileColumnTakesTheRest)
{
    // Ten pixels per character.
    auto measure = [](const std::string& text) { return static_cast<int>(text.size()) * 10; };
    struct Case {
        int ratio, packed, original;
        ReportColumnWidths widths;
    };
    const Case cases[] = {
        {1, 1, 0, {500 - 130 - 70, 130, 0, 70}},
        {0, 0, 0, {500, 0, 0, 0}},
        {1, 1, 1, {500 - 130 - 140 - 70, 130, 140, 70}},
    };
    for (const Case& c : cases) {
        test::FakeProfile profile;
        OutputSettings().Write(profile, PREF_OUTPUT_RATIO, c.ratio);
        OutputSettings().Write(profile, PREF_OUTPUT_PACKED, c.packed);
        OutputSettings().Write(profile, PREF_OUTPUT_ORIGINAL, c.original);
        ReportColumnWidths widths = ComputeReportColumnWidths(500, profile, measure);
        EXPECT_EQ(widths.file, c.widths.file);
        EXPECT_EQ(widths.packed, c.widths.packed);
        EXPECT_EQ(widths.size, c.widths.size);
        EXPECT_EQ(widths.ratio, c.widths.ratio);
    }
}

TEST(ReportLayout, FileColumnFollowsTheListWidthOnlyWhenItHasOne)
{
    EXPECT_EQ(ResizedFileColumn(300, 500, 600), 400);
    EXPECT_EQ(ResizedFileColumn(300, 500, 450), 250);
    EXPECT_EQ(ResizedFileColumn(0, 500, 600), 0);
}

}  // namespace
}  // namespace sw
