#include "platform/FileError.h"

#include <cstring>

#include "platform/StringFormat.h"
#include "platform/StringTable.h"

namespace sw {

namespace {

std::string ErrorText(int errnoValue)
{
    return errnoValue == kNotARegularFile ? LoadString(IDS_NOT_A_REGULAR_FILE) : std::string(std::strerror(errnoValue));
}

}  // namespace

CFileError::CFileError(std::string path, int action, int errnoValue)
    : std::runtime_error(FormatText(LoadString(action), path, ErrorText(errnoValue))),
      m_strPath(std::move(path)),
      m_nErrno(errnoValue)
{
}

}  // namespace sw
