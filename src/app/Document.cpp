#include "app/Document.h"

#include "app/ShellRules.h"
#include "model/Archive.h"
#include "model/SettingsFile.h"
#include "model/SettingsVersion.h"
#include "platform/FileError.h"
#include "platform/StringTable.h"

namespace sw {

namespace {
constexpr int kDefaultDocumentNamePart = 1;
}

CKitforgeDoc::CKitforgeDoc() = default;

void CKitforgeDoc::SetModifiedFlag(bool modified)
{
    m_bModified = modified;
    if (m_onTitleChanged) m_onTitleChanged();
}

void CKitforgeDoc::OnNewDocument()
{
    m_pData = std::make_unique<CData>();
    m_strPathName.clear();
    SetModifiedFlag(false);
}

bool CKitforgeDoc::OnOpenDocument(const std::string& path, std::string& error)
{
    if (!m_pData) m_pData = std::make_unique<CData>();
    try {
        LoadSettingsFile(*m_pData, path);
    } catch (const CIncorrectVersion& e) {
        error = path + "\n" + e.what();
        return false;
    } catch (const CArchiveException& e) {
        error = LoadString(IDS_FAILED_TO_OPEN_DOCUMENT) + "\n" + path + ": " + e.what();
        return false;
    } catch (const CFileError& e) {
        error = LoadString(IDS_FAILED_TO_OPEN_DOCUMENT) + "\n" + e.what();
        return false;
    }
    m_strPathName = path;
    SetModifiedFlag(false);
    return true;
}

bool CKitforgeDoc::OnSaveDocument(const std::string& path, std::string& error)
{
    try {
        SaveSettingsFile(*m_pData, path);
    } catch (const CFileError& e) {
        error = LoadString(IDS_FAILED_TO_SAVE_DOCUMENT) + "\n" + e.what();
        return false;
    }
    m_strPathName = path;
    SetModifiedFlag(false);
    return true;
}

std::string CKitforgeDoc::GetTitle() const
{
    if (m_strPathName.empty()) return DocTemplatePart(kDefaultDocumentNamePart);
    std::size_t slash = m_strPathName.rfind('/');
    return slash == std::string::npos ? m_strPathName : m_strPathName.substr(slash + 1);
}

}  // namespace sw
