#pragma once

#include "collect/ResumeKind.h"

#include <string>
#include <vector>

namespace quillmarsh {

// The two patterns that cut resumes out of a search page, as program text.
const std::string& FullTimeListingPattern();
const std::string& PartTimeListingPattern();
const std::string& ListingPattern(ResumeKind kind);

// Which group of the kind's pattern fills which column of its list, in the order the cells are set.
struct CellSource {
    int column;
    int group;
};
const std::vector<CellSource>& RowLayout(ResumeKind kind);

} // namespace quillmarsh
