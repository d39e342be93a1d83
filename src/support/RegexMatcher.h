#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace quillmarsh {

// The program's regular-expression matcher: one call compiles a pattern and runs it over a text,
// further calls read the matches. Patterns and texts are program text (GBK); matching works on
// the text's UTF-16 code units with the semantics of the Windows scripting engine: "." matches
// all but a line feed, "\uHHHH" names a code unit, lazy repetition, numbered groups.
//
// PCRE2 (JIT) does the matching. When it reports a resource limit on a search, RE2 finishes that
// search from the same position in linear time, so no text stalls a run and none is cut short.
//
// Copies share the compiled pattern and the matches; an instance belongs to one thread at a time.
class RegexMatcher {
public:
    RegexMatcher();
    ~RegexMatcher();
    RegexMatcher(const RegexMatcher&);
    RegexMatcher& operator=(const RegexMatcher&);
    RegexMatcher(RegexMatcher&&) noexcept;
    RegexMatcher& operator=(RegexMatcher&&) noexcept;

    // Compiles `pattern` (after restoring the quote placeholder) and runs it over `text`. With
    // `global`, every match from left to right; otherwise the first. False for an invalid pattern
    // or a failed search; a text without a match still gives true.
    bool Create(std::string_view pattern, std::string_view text, bool ignoreCase = false, bool multiline = false,
        bool global = false);

    // The pattern in use, placeholder restored; empty before the first Create.
    std::string GetPattern() const;

    // `text` with the matches of the current pattern replaced (all of them when the pattern was
    // created global, else the first). The replacement understands $1..$99, $&, $`, $' and $$.
    std::string Replace(std::string_view text, std::string_view replacement) const;

    int MatchCount() const;

    // Texts of a match and of one of its groups; numbers start at 1. Out of range, or a group
    // that took no part in the match: empty text. `position`, when given, receives the 0-based
    // byte offset of the returned text in the searched program text (unchanged when empty).
    std::string MatchText(int match, int* position = nullptr) const;
    std::string SubMatchText(int match, int group, int* position = nullptr) const;

    // The number of capture groups of the pattern; 0 when there is no match.
    int SubMatchCount() const;

    // The amount of work after which a search on this thread moves from PCRE2 to RE2 (0 restores
    // the default). Only the engine that finishes a search depends on it, never the result.
    static void SetMatchLimitForThisThread(unsigned limit);

    struct Compiled;
    struct Matches;

private:
    std::string Span(int match, int slot, int* position) const;

    std::shared_ptr<const Compiled> compiled_;
    std::shared_ptr<const Matches> matches_;
};

} // namespace quillmarsh
