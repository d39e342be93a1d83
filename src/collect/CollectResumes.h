#pragma once

#include "collect/ResumeKind.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace quillmarsh {

class Controls;

// "cs", "wh", "bj", "sh" for the four cities of the city boxes; empty for any other index.
std::string_view CityCode(int selectedIndex);

// Reads a decimal integer as a standard signed 64-bit conversion does: leading blanks, an optional
// sign, the digits up to the first other character (saturating); no digits gives 0.
std::int64_t ParseLeadingInteger(std::u16string_view text);

// The page count as typed: leading blanks, an optional sign and the digits up to the first other
// character; full-width forms count as their ASCII twins. No digits gives 0.
std::int64_t ParsePageCount(std::string_view text);

// "http://" + city + "." + domain + the kind's path + page + the kind's query + encoded keyword.
std::string SearchUrl(
    ResumeKind kind, std::string_view cityCode, std::string_view domain, std::int64_t page, std::string_view keyword);

// One collection run: reads city, page count and (for every page) keyword from the kind's
// controls, fetches the pages one after the other and lists their resumes. A full-time run ends
// by showing the number of collected resumes.
void CollectResumes(ResumeKind kind, Controls& controls, std::string_view domain);

// The start button's routine, on the window thread: starts a run on a worker, clears the list
// and (full-time) shows the start text. `controls` must outlive the worker.
void StartCollection(ResumeKind kind, Controls& controls, std::string domain);

// Status texts, program text.
std::string CollectionStartText();
std::string CollectionDoneText(int rows);

} // namespace quillmarsh
