#include "platform/FileError.h"

#include <cstring>

#include "platform/StringFormat.h"
#include "platform/StringTable.h"

namespace sw {

CFileError::CFileError(std::string path, int action, int errnoValue)
    : std::runtime_error(FormatText(LoadString(action), path, std::string(std::strerror(errnoValue)))),
      m_strPath(std::move(path)),
      m_nErrno(errnoValue)
{
}

}  // namespace sw
