#pragma once
// The document: the one project of the window, carried through New, Open and Save, with
// its modified flag and title. Window-free; the frame shows its failures.
#include <functional>
#include <memory>
#include <string>

#include "model/Data.h"

namespace sw {

class CKitforgeDoc {
public:
    CKitforgeDoc();

    // Null only before the first New.
    CData* GetData() { return m_pData.get(); }

    bool IsModified() const { return m_bModified; }
    // Stores the flag and tells the frame at once, so the "*" of the title follows.
    void SetModifiedFlag(bool modified = true);
    std::function<void()> m_onTitleChanged;

    // A fresh project with every default; not modified.
    void OnNewDocument();
    // Loads the settings file into the project (a failed load leaves it as it was).
    // Returns false with the message to show in `error`.
    bool OnOpenDocument(const std::string& path, std::string& error);
    bool OnSaveDocument(const std::string& path, std::string& error);

    // The settings file's path, empty for a project never saved.
    const std::string& GetPathName() const { return m_strPathName; }
    // "Install" for a new project, else the file's name.
    std::string GetTitle() const;

private:
    std::unique_ptr<CData> m_pData;
    std::string m_strPathName;
    bool m_bModified = false;
};

}  // namespace sw
