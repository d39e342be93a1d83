#include "support/RegexMatcher.h"

#include "web/GbkTable.h"
#include "web/TextEncoding.h"

#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>
#include <re2/re2.h>

#include <algorithm>
#include <mutex>
#include <vector>

namespace quillmarsh {

namespace {

// A search that does more work than this hands over to RE2. The limit only decides which engine
// finishes a search, never its result, so it is set low enough that a pathological page costs
// milliseconds and high enough that real pages never reach it.
constexpr uint32_t kMatchLimit = 2'000'000;
constexpr uint32_t kDepthLimit = 100'000;

struct MatchContext {
    pcre2_match_context_16* context = nullptr;
    pcre2_jit_stack_16* stack = nullptr;
    MatchContext()
    {
        context = pcre2_match_context_create_16(nullptr);
        stack = pcre2_jit_stack_create_16(64 * 1024, 8 * 1024 * 1024, nullptr);
        pcre2_set_match_limit_16(context, kMatchLimit);
        pcre2_set_depth_limit_16(context, kDepthLimit);
        pcre2_jit_stack_assign_16(context, nullptr, stack);
    }
    ~MatchContext()
    {
        pcre2_jit_stack_free_16(stack);
        pcre2_match_context_free_16(context);
    }
};

MatchContext& ThreadMatchContext()
{
    thread_local MatchContext ctx;
    return ctx;
}

bool IsHex(char16_t c) { return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F'); }

// The pattern in RE2's syntax: the "\uHHHH" escape becomes "\x{HHHH}"; the rest is common ground.
std::string Re2Pattern(std::u16string_view pattern, bool multiline)
{
    std::u16string out;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        char16_t c = pattern[i];
        if (c == u'\\' && i + 1 < pattern.size()) {
            if (pattern[i + 1] == u'u' && i + 5 < pattern.size() && IsHex(pattern[i + 2]) && IsHex(pattern[i + 3])
                && IsHex(pattern[i + 4]) && IsHex(pattern[i + 5])) {
                out += u"\\x{";
                out.append(pattern.substr(i + 2, 4));
                out += u'}';
                i += 5;
            } else {
                out += c;
                out += pattern[i + 1];
                ++i;
            }
            continue;
        }
        out += c;
    }
    std::string utf8 = Utf8FromUtf16(out);
    return multiline ? "(?m)" + utf8 : utf8;
}

} // namespace

struct RegexMatcher::Compiled {
    std::string pattern; // program text, placeholder restored
    std::u16string units;
    bool ignoreCase = false;
    bool multiline = false;
    bool global = false;
    pcre2_code_16* code = nullptr;
    int groups = 0;

    mutable std::once_flag re2Once;
    mutable std::unique_ptr<RE2> re2;

    ~Compiled() { pcre2_code_free_16(code); }

    const RE2* Fallback() const
    {
        std::call_once(re2Once, [this] {
            RE2::Options options;
            options.set_case_sensitive(!ignoreCase);
            options.set_log_errors(false);
            options.set_max_mem(int64_t {256} << 20);
            auto re = std::make_unique<RE2>(Re2Pattern(units, multiline), options);
            if (re->ok() && re->NumberOfCapturingGroups() == groups)
                re2 = std::move(re);
        });
        return re2.get();
    }
};

struct RegexMatcher::Matches {
    std::string text;     // the searched program text
    std::u16string units; // the same as UTF-16
    int groups = 0;
    std::vector<int> offsets; // per match (groups + 1) pairs of unit offsets, -1 when unset
    int Count() const { return static_cast<int>(offsets.size() / (2 * (groups + 1))); }
};

namespace {

enum class Found { Match, None, Failed };

// The searched text as UTF-8 for RE2, with the way back to unit offsets; built only when a search
// falls back.
struct Utf8View {
    std::string text;
    std::vector<int> unitAt; // UTF-8 offset -> unit offset
    std::vector<int> byteAt; // unit offset -> UTF-8 offset

    explicit Utf8View(std::u16string_view units)
    {
        byteAt.resize(units.size() + 1);
        text.reserve(units.size() * 2);
        for (std::size_t i = 0; i < units.size(); ++i) {
            byteAt[i] = static_cast<int>(text.size());
            char16_t u = units[i];
            // Lone surrogates cannot come from GBK text; any that do arrive are passed as U+FFFD.
            std::string one = Utf8FromUtf16(std::u16string_view(&u, 1));
            for (std::size_t k = 0; k < one.size(); ++k)
                unitAt.push_back(static_cast<int>(i));
            text += one;
        }
        byteAt[units.size()] = static_cast<int>(text.size());
        unitAt.push_back(static_cast<int>(units.size()));
    }
};

class Searcher {
public:
    Searcher(const RegexMatcher::Compiled& c, std::u16string_view units)
        : c_(c), units_(units), data_(pcre2_match_data_create_from_pattern_16(c.code, nullptr))
    {
    }
    ~Searcher() { pcre2_match_data_free_16(data_); }
    Searcher(const Searcher&) = delete;
    Searcher& operator=(const Searcher&) = delete;

    // Finds the first match at or after `start`; its (groups + 1) offset pairs go to `out`.
    Found Next(std::size_t start, std::vector<int>& out)
    {
        if (!data_)
            return Found::Failed;
        int rc = pcre2_match_16(c_.code, reinterpret_cast<PCRE2_SPTR16>(units_.data()), units_.size(), start, 0, data_,
            ThreadMatchContext().context);
        if (rc == PCRE2_ERROR_NOMATCH)
            return Found::None;
        if (rc == PCRE2_ERROR_MATCHLIMIT || rc == PCRE2_ERROR_DEPTHLIMIT || rc == PCRE2_ERROR_HEAPLIMIT
            || rc == PCRE2_ERROR_JIT_STACKLIMIT || rc == PCRE2_ERROR_NOMEMORY)
            return NextByRe2(start, out);
        if (rc < 0)
            return Found::Failed;
        const PCRE2_SIZE* ov = pcre2_get_ovector_pointer_16(data_);
        for (int g = 0; g <= c_.groups; ++g) {
            bool set = g < rc && ov[2 * g] != PCRE2_UNSET;
            out.push_back(set ? static_cast<int>(ov[2 * g]) : -1);
            out.push_back(set ? static_cast<int>(ov[2 * g + 1]) : -1);
        }
        return Found::Match;
    }

private:
    Found NextByRe2(std::size_t start, std::vector<int>& out)
    {
        const RE2* re = c_.Fallback();
        if (!re)
            return Found::Failed;
        if (!utf8_)
            utf8_ = std::make_unique<Utf8View>(units_);
        std::vector<re2::StringPiece> groups(static_cast<std::size_t>(c_.groups) + 1);
        const std::string& t = utf8_->text;
        if (!re->Match(t, static_cast<std::size_t>(utf8_->byteAt[start]), t.size(), RE2::UNANCHORED, groups.data(),
                static_cast<int>(groups.size())))
            return Found::None;
        for (const re2::StringPiece& g : groups) {
            if (g.data() == nullptr) {
                out.push_back(-1);
                out.push_back(-1);
            } else {
                auto from = static_cast<std::size_t>(g.data() - t.data());
                out.push_back(utf8_->unitAt[from]);
                out.push_back(utf8_->unitAt[from + g.size()]);
            }
        }
        return Found::Match;
    }

    const RegexMatcher::Compiled& c_;
    std::u16string_view units_;
    pcre2_match_data_16* data_;
    std::unique_ptr<Utf8View> utf8_;
};

// Runs the pattern over the units: every match when global, else the first. False on failure.
bool FindAll(const RegexMatcher::Compiled& c, std::u16string_view units, std::vector<int>& offsets)
{
    Searcher searcher(c, units);
    std::size_t start = 0;
    while (start <= units.size()) {
        std::size_t before = offsets.size();
        Found f = searcher.Next(start, offsets);
        if (f == Found::Failed)
            return false;
        if (f == Found::None || !c.global)
            break;
        auto begin = static_cast<std::size_t>(offsets[before]);
        auto end = static_cast<std::size_t>(offsets[before + 1]);
        // After an empty match the next search starts one unit later, as the scripting engine does.
        start = end == begin ? end + 1 : end;
    }
    return true;
}

std::shared_ptr<RegexMatcher::Compiled> Compile(std::string_view pattern, bool ignoreCase, bool multiline, bool global)
{
    auto c = std::make_shared<RegexMatcher::Compiled>();
    c->pattern = RestoreQuotes(pattern);
    c->units = GbkToUtf16(c->pattern);
    c->ignoreCase = ignoreCase;
    c->multiline = multiline;
    c->global = global;
    uint32_t options = PCRE2_ALT_BSUX | PCRE2_ALLOW_EMPTY_CLASS | PCRE2_MATCH_UNSET_BACKREF;
    if (ignoreCase)
        options |= PCRE2_CASELESS;
    options |= multiline ? PCRE2_MULTILINE : PCRE2_DOLLAR_ENDONLY;
    pcre2_compile_context_16* cc = pcre2_compile_context_create_16(nullptr);
    pcre2_set_newline_16(cc, PCRE2_NEWLINE_LF);
    int error = 0;
    PCRE2_SIZE offset = 0;
    c->code = pcre2_compile_16(
        reinterpret_cast<PCRE2_SPTR16>(c->units.data()), c->units.size(), options, &error, &offset, cc);
    pcre2_compile_context_free_16(cc);
    if (c->code) {
        pcre2_jit_compile_16(c->code, PCRE2_JIT_COMPLETE); // without JIT the interpreter serves
        uint32_t count = 0;
        pcre2_pattern_info_16(c->code, PCRE2_INFO_CAPTURECOUNT, &count);
        c->groups = static_cast<int>(count);
    }
    return c;
}

// Compiling (JIT included) costs more than matching a whole page, and a collection run creates
// its matcher again for every page with the same pattern: each thread keeps its last few compiled
// patterns. A compiled pattern never changes once made, so sharing it is safe.
std::shared_ptr<const RegexMatcher::Compiled> CompileCached(
    std::string_view pattern, bool ignoreCase, bool multiline, bool global)
{
    struct Entry {
        std::string pattern;
        bool ignoreCase, multiline, global;
        std::shared_ptr<const RegexMatcher::Compiled> compiled;
    };
    constexpr std::size_t kEntries = 8;
    thread_local std::vector<Entry> cache;
    for (std::size_t i = 0; i < cache.size(); ++i) {
        const Entry& e = cache[i];
        if (e.pattern == pattern && e.ignoreCase == ignoreCase && e.multiline == multiline && e.global == global) {
            auto at = cache.begin() + static_cast<std::ptrdiff_t>(i);
            std::rotate(cache.begin(), at, at + 1);
            return cache.front().compiled;
        }
    }
    std::shared_ptr<const RegexMatcher::Compiled> compiled = Compile(pattern, ignoreCase, multiline, global);
    if (cache.size() == kEntries)
        cache.pop_back();
    cache.insert(cache.begin(), Entry {std::string(pattern), ignoreCase, multiline, global, compiled});
    return compiled;
}

} // namespace

void RegexMatcher::SetMatchLimitForThisThread(unsigned limit)
{
    pcre2_set_match_limit_16(ThreadMatchContext().context, limit ? limit : kMatchLimit);
}

RegexMatcher::RegexMatcher() = default;
RegexMatcher::~RegexMatcher() = default;
RegexMatcher::RegexMatcher(const RegexMatcher&) = default;
RegexMatcher& RegexMatcher::operator=(const RegexMatcher&) = default;
RegexMatcher::RegexMatcher(RegexMatcher&&) noexcept = default;
RegexMatcher& RegexMatcher::operator=(RegexMatcher&&) noexcept = default;

bool RegexMatcher::Create(std::string_view pattern, std::string_view text, bool ignoreCase, bool multiline, bool global)
{
    compiled_.reset();
    matches_.reset();
    std::shared_ptr<const Compiled> c = CompileCached(pattern, ignoreCase, multiline, global);
    compiled_ = c;
    if (!c->code)
        return false;
    auto m = std::make_shared<Matches>();
    m->text = std::string(text);
    m->units = GbkToUtf16(text);
    m->groups = c->groups;
    if (!FindAll(*c, m->units, m->offsets))
        return false;
    matches_ = std::move(m);
    return true;
}

std::string RegexMatcher::GetPattern() const { return compiled_ ? compiled_->pattern : std::string(); }

int RegexMatcher::MatchCount() const { return matches_ ? matches_->Count() : 0; }

int RegexMatcher::SubMatchCount() const { return MatchCount() > 0 ? matches_->groups : 0; }

std::string RegexMatcher::MatchText(int match, int* position) const { return Span(match, 0, position); }

std::string RegexMatcher::SubMatchText(int match, int group, int* position) const
{
    if (group < 1)
        return {};
    return Span(match, group, position);
}

std::string RegexMatcher::Span(int match, int slot, int* position) const
{
    if (!matches_ || match < 1 || match > matches_->Count() || slot > matches_->groups)
        return {};
    const Matches& m = *matches_;
    std::size_t base = static_cast<std::size_t>(match - 1) * 2 * (m.groups + 1) + 2 * static_cast<std::size_t>(slot);
    int begin = m.offsets[base], end = m.offsets[base + 1];
    if (begin < 0)
        return {};
    if (position) {
        // Unit offsets become byte offsets by walking the program text character by character,
        // exactly as it was decoded.
        const auto* s = reinterpret_cast<const unsigned char*>(m.text.data());
        std::size_t byte = 0;
        for (int unit = 0; unit < begin && byte < m.text.size(); ++unit)
            byte += static_cast<std::size_t>(gbk::CharLength(s, byte, m.text.size()));
        *position = static_cast<int>(byte);
    }
    return Utf16ToGbk(
        std::u16string_view(m.units).substr(static_cast<std::size_t>(begin), static_cast<std::size_t>(end - begin)));
}

std::string RegexMatcher::Replace(std::string_view text, std::string_view replacement) const
{
    if (!compiled_ || !compiled_->code)
        return {};
    const Compiled& c = *compiled_;
    std::u16string units = GbkToUtf16(text);
    std::u16string with = GbkToUtf16(replacement);
    std::vector<int> offsets;
    if (!FindAll(c, units, offsets))
        return {};
    std::u16string_view all(units);
    std::u16string out;
    std::size_t copied = 0;
    const std::size_t stride = 2 * static_cast<std::size_t>(c.groups + 1);
    for (std::size_t m = 0; m + stride <= offsets.size(); m += stride) {
        auto begin = static_cast<std::size_t>(offsets[m]);
        auto end = static_cast<std::size_t>(offsets[m + 1]);
        out.append(all.substr(copied, begin - copied));
        auto group = [&](int g) -> std::u16string_view {
            int b = offsets[m + 2 * static_cast<std::size_t>(g)];
            int e = offsets[m + 2 * static_cast<std::size_t>(g) + 1];
            return b < 0 ? std::u16string_view()
                         : all.substr(static_cast<std::size_t>(b), static_cast<std::size_t>(e - b));
        };
        for (std::size_t i = 0; i < with.size(); ++i) {
            char16_t ch = with[i];
            char16_t next = i + 1 < with.size() ? with[i + 1] : 0;
            if (ch != u'$' || next == 0) {
                out += ch;
            } else if (next == u'$') {
                out += u'$';
                ++i;
            } else if (next == u'&') {
                out.append(group(0));
                ++i;
            } else if (next == u'`') {
                out.append(all.substr(0, begin));
                ++i;
            } else if (next == u'\'') {
                out.append(all.substr(end));
                ++i;
            } else if (next >= u'0' && next <= u'9') {
                int one = next - u'0';
                char16_t third = i + 2 < with.size() ? with[i + 2] : 0;
                int two = (third >= u'0' && third <= u'9') ? one * 10 + (third - u'0') : -1;
                if (two >= 1 && two <= c.groups) {
                    out.append(group(two));
                    i += 2;
                } else if (one >= 1 && one <= c.groups) {
                    out.append(group(one));
                    ++i;
                } else {
                    out += ch; // "$0" and groups the pattern lacks stay as written
                }
            } else {
                out += ch;
            }
        }
        copied = end;
    }
    out.append(all.substr(copied));
    return Utf16ToGbk(out);
}

} // namespace quillmarsh
