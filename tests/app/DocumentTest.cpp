#include <gtest/gtest.h>

#include <fstream>

#include "app/Document.h"
#include "support/TempDir.h"

namespace sw {
namespace {

TEST(Document, NewProjectIsUnmodifiedAndCalledInstall)
{
    CKitforgeDoc doc;
    EXPECT_EQ(doc.GetData(), nullptr);
    int titleChanges = 0;
    doc.m_onTitleChanged = [&titleChanges] { ++titleChanges; };
    doc.OnNewDocument();
    ASSERT_NE(doc.GetData(), nullptr);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.GetTitle(), "Install");
    doc.SetModifiedFlag();
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(titleChanges, 2);
}

TEST(Document, SaveAndOpenKeepTheProjectAndNameTheDocumentAfterTheFile)
{
    test::TempDir dir;
    CKitforgeDoc doc;
    doc.OnNewDocument();
    doc.GetData()->m_strTitle = "Acme";
    doc.SetModifiedFlag();
    std::string error;
    ASSERT_TRUE(doc.OnSaveDocument(dir / "acme.kft", error)) << error;
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.GetTitle(), "acme.kft");

    CKitforgeDoc other;
    other.OnNewDocument();
    ASSERT_TRUE(other.OnOpenDocument(dir / "acme.kft", error)) << error;
    EXPECT_EQ(other.GetData()->m_strTitle, "Acme");
    EXPECT_EQ(other.GetPathName(), dir / "acme.kft");
}

TEST(Document, FailedOpenSaysWhyAndLeavesTheProject)
{
    test::TempDir dir;
    std::ofstream(dir / "bad.kft") << "not a settings file";
    struct Case {
        std::string path;
        std::string message;
    };
    const Case cases[] = {
        {dir / "missing.kft", "Failed to open document.\nCannot open " + (dir / "missing.kft")},
        {dir / "bad.kft", "bad.kft"},
    };
    for (const Case& c : cases) {
        CKitforgeDoc doc;
        doc.OnNewDocument();
        doc.GetData()->m_strTitle = "Kept";
        std::string error;
        EXPECT_FALSE(doc.OnOpenDocument(c.path, error));
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
        EXPECT_EQ(doc.GetData()->m_strTitle, "Kept");
        EXPECT_EQ(doc.GetTitle(), "Install");
    }
}

TEST(Document, FailedSaveSaysWhy)
{
    CKitforgeDoc doc;
    doc.OnNewDocument();
    std::string error;
    EXPECT_FALSE(doc.OnSaveDocument("/nonexistent-folder/x.kft", error));
    EXPECT_EQ(error.rfind("Failed to save document.\n", 0), 0u) << error;
}

}  // namespace
}  // namespace sw
