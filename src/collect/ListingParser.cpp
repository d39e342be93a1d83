#include "collect/ListingParser.h"

#include "collect/Controls.h"
#include "collect/ListingPatterns.h"
#include "support/RegexMatcher.h"

#include <string>

namespace quillmarsh {

void ParseListingPage(ResumeKind kind, std::string_view page, RegexMatcher& matcher, Controls& controls)
{
    const std::string_view list = Traits(kind).list;
    matcher.Create(ListingPattern(kind), page, /*ignoreCase=*/false, /*multiline=*/false, /*global=*/true);
    const int matches = matcher.MatchCount();
    for (int i = 1; i <= matches; ++i) {
        int row = controls.AppendRow(list);
        controls.SetCellText(list, row, 1, std::to_string(controls.RowCount(list)));
        for (const CellSource& cell : RowLayout(kind))
            controls.SetCellText(list, row, cell.column, matcher.SubMatchText(i, cell.group));
    }
}

} // namespace quillmarsh
