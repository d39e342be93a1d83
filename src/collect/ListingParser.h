#pragma once

#include "collect/ResumeKind.h"

#include <string_view>

namespace quillmarsh {

class Controls;
class RegexMatcher;

// Cuts every resume out of one search page with the kind's pattern and appends one row per
// resume to the kind's list: the serial number (the list's row count) and nine group texts.
void ParseListingPage(ResumeKind kind, std::string_view page, RegexMatcher& matcher, Controls& controls);

} // namespace quillmarsh
