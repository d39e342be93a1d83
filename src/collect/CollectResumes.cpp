#include "collect/CollectResumes.h"

#include "collect/Controls.h"
#include "collect/ListingParser.h"
#include "support/RegexMatcher.h"
#include "support/Worker.h"
#include "web/HttpRequest.h"
#include "web/TextEncoding.h"

#include <limits>

namespace quillmarsh {

std::string_view CityCode(int selectedIndex)
{
    static constexpr std::string_view kCodes[] = {"cs", "wh", "bj", "sh"};
    return selectedIndex >= 0 && selectedIndex < 4 ? kCodes[selectedIndex] : std::string_view();
}

std::int64_t ParseLeadingInteger(std::u16string_view text)
{
    std::size_t i = 0;
    auto blank = [](char16_t u) { return u == u' ' || (u >= u'\t' && u <= u'\r'); };
    while (i < text.size() && blank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        negative = text[i++] == u'-';
    std::int64_t value = 0;
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        const int digit = text[i] - u'0';
        value = value > (kMax - digit) / 10 ? kMax : value * 10 + digit;
    }
    return negative ? -value : value;
}

std::int64_t ParsePageCount(std::string_view text)
{
    std::u16string units = GbkToUtf16(text);
    for (char16_t& u : units) {
        if (u >= 0xFF01 && u <= 0xFF5E)
            u = static_cast<char16_t>(u - 0xFEE0); // full-width forms count as their ASCII twins
        else if (u == 0x3000)
            u = u' ';
    }
    return ParseLeadingInteger(units);
}

std::string SearchUrl(
    ResumeKind kind, std::string_view cityCode, std::string_view domain, std::int64_t page, std::string_view keyword)
{
    const KindTraits& t = Traits(kind);
    std::string url = "http://";
    url.append(cityCode);
    url += '.';
    url.append(domain);
    url.append(t.pathBeforePage);
    url += std::to_string(page);
    url.append(t.textBeforeKeyword);
    url += UrlEncode(keyword);
    return url;
}

std::string CollectionStartText() { return GbkFromUtf8("   正在采集简历..."); }

std::string CollectionDoneText(int rows)
{
    return GbkFromUtf8("   采集简历完成共采集") + std::to_string(rows) + GbkFromUtf8("份简历！");
}

void CollectResumes(ResumeKind kind, Controls& controls, std::string_view domain)
{
    const KindTraits& t = Traits(kind);
    std::string_view city;
    for (int index = 0; index < 4; ++index)
        if (controls.SelectedIndex(t.cityBox) == index)
            city = CityCode(index);

    const std::int64_t pages = ParsePageCount(controls.Text(t.pageCountBox));
    RegexMatcher matcher; // one per run, re-created for every page
    for (std::int64_t page = 1; page <= pages; ++page) {
        HttpRequestOptions request;
        request.url = SearchUrl(kind, city, domain, page, controls.Text(t.keywordBox));
        HttpResponse response = HttpRequest(request);
        ParseListingPage(kind, response.text, matcher, controls);
    }
    if (t.showsStatus)
        controls.SetPaneText(
            control::kStatusBar, control::kCollectionPane, CollectionDoneText(controls.RowCount(t.list)));
}

void StartCollection(ResumeKind kind, Controls& controls, std::string domain)
{
    const KindTraits& t = Traits(kind);
    StartWorker([kind, &controls, domain = std::move(domain)] { CollectResumes(kind, controls, domain); });
    controls.DeleteAllRows(t.list);
    if (t.showsStatus)
        controls.SetPaneText(control::kStatusBar, control::kCollectionPane, CollectionStartText());
}

} // namespace quillmarsh
