#include "model/NameProblemText.h"

#include "platform/StringTable.h"

namespace sw {

std::string DescribeNameProblem(NameProblem problem)
{
    switch (problem) {
    case NameProblem::none: return {};
    case NameProblem::empty: return LoadString(IDS_NAME_PROBLEM_EMPTY);
    case NameProblem::absolute: return LoadString(IDS_NAME_PROBLEM_ABSOLUTE);
    case NameProblem::colon: return LoadString(IDS_NAME_PROBLEM_COLON);
    case NameProblem::parentPart: return LoadString(IDS_NAME_PROBLEM_PARENT);
    case NameProblem::forbiddenCharacter: return LoadString(IDS_NAME_PROBLEM_CHARACTER);
    case NameProblem::reservedName: return LoadString(IDS_NAME_PROBLEM_RESERVED);
    case NameProblem::trailingDotOrBlank: return LoadString(IDS_NAME_PROBLEM_TRAILING);
    }
    return {};
}

}  // namespace sw
