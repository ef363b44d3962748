// The member parameter file's reader for readers_fuzz, in a unit of its own:
// members/member_params.h and viewers/result_views.h both define kj::BoxText.
#include "members/member_params.h"

#include <string>

void fuzzMemberParameterFile(const std::string& text, const std::string& spans, const std::string& storeys)
{
    kj::correctMemberParameters(kj::parseMemberParameters(text, "\\gjcs-1.txt"), spans, storeys);
}
