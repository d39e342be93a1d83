// The matcher on any pattern and text; and on the two listing patterns, PCRE2 and RE2 must agree.
#include "collect/ListingPatterns.h"
#include "support/RegexMatcher.h"

#include <cstdlib>
#include <string>
#include <vector>

using namespace quillmarsh;

namespace {

std::vector<std::string> Everything(const RegexMatcher& m)
{
    std::vector<std::string> all;
    for (int i = 1; i <= m.MatchCount(); ++i) {
        int position = -1;
        all.push_back(m.MatchText(i, &position) + "@" + std::to_string(position));
        for (int g = 1; g <= m.SubMatchCount(); ++g)
            all.push_back(m.SubMatchText(i, g));
    }
    return all;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size)
{
    if (size < 2 || size > 8192)
        return 0;
    const unsigned flags = data[0];
    const std::string input(reinterpret_cast<const char*>(data + 1), size - 1);

    // 1. A pattern of the input's first line over the rest.
    const std::size_t newline = input.find('\n');
    if (newline != std::string::npos && newline <= 128) {
        RegexMatcher m;
        m.Create(input.substr(0, newline), input.substr(newline + 1), flags & 1, flags & 2, flags & 4);
        (void)Everything(m);
        (void)m.Replace(input.substr(newline + 1), input.substr(0, newline));
        RegexMatcher copy = m;
        (void)copy.GetPattern();
    }

    // 2. The listing patterns over the whole input through both engines.
    const std::string& pattern = (flags & 8) ? PartTimeListingPattern() : FullTimeListingPattern();
    RegexMatcher pcre2;
    pcre2.Create(pattern, input, false, false, true);
    RegexMatcher::SetMatchLimitForThisThread(1);
    RegexMatcher re2;
    re2.Create(pattern, input, false, false, true);
    RegexMatcher::SetMatchLimitForThisThread(0);
    if (Everything(pcre2) != Everything(re2))
        std::abort();
    return 0;
}
