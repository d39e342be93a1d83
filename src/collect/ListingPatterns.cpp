#include "collect/ListingPatterns.h"

#include "web/TextEncoding.h"

namespace quillmarsh {

const std::string& FullTimeListingPattern()
{
    static const std::string pattern = GbkFromUtf8(
        R"re(name">(.*?)<[\s\S]*?hope-job">期望职位：.*?>(.*?)</span>[\s\S]*?期望月薪：.*?>(.*?)</span>[\s\S]*?intr-con">(.*?)</p>[\s\S]*?xw-summ">(.*?)</span>[\s\S]*?<dd class="w50">([\u4e00-\u9fa5])</dd>[\s\S]*?<dd class="w70">(.*?)</dd>[\s\S]*?<dd class="w100">(.*?)</dd>[\s\S]*?<dd class="w190" title=(.*?)</dd>[\s\S]*?<dd class="w90">(.*?)</dd>[\s\S]*?href='(.*?)')re");
    return pattern;
}

const std::string& PartTimeListingPattern()
{
    // The block ends in CR LF, a tab, four blanks, four tabs and "</dl>", written out literally.
    static const std::string pattern = GbkFromUtf8(
        R"re(name">(.*?)<[\s\S]*?sex-age">（(.*?)，[\s\S]*?，(.*?)）</span>[\s\S]*?hope-job">期望职位：.*?>(.*?)</span>[\s\S]*?期望月薪：.*?>(.*?)</span>[\s\S]*?"hope-address">求职地区：.*?>(.*?)</span>[\s\S]*?"intr-con">(.*?)</p>[\s\S]*?class="w140">(.*?)</dd>[\s\S]*?class="w140">(.*?)</dd>[\s\S]*?class="w140">(.*?)</dd>)re"
        "\r\n\t    \t\t\t\t</dl>");
    return pattern;
}

const std::string& ListingPattern(ResumeKind kind)
{
    return kind == ResumeKind::FullTime ? FullTimeListingPattern() : PartTimeListingPattern();
}

const std::vector<CellSource>& RowLayout(ResumeKind kind)
{
    // Full-time: 姓名, 性别, 年龄, 期望职位, 学历, 期望薪资, 更新时间, 简介, 链接 (手机号 stays empty).
    static const std::vector<CellSource> fullTime
        = {{2, 1}, {3, 6}, {4, 7}, {5, 2}, {6, 8}, {7, 3}, {8, 10}, {9, 4}, {11, 11}};
    // Part-time: 姓名, 性别, 年龄, 期望职位, 期望月薪, 人才类型, 求职地区, 更新时间, 简介.
    static const std::vector<CellSource> partTime
        = {{2, 1}, {3, 2}, {4, 3}, {5, 4}, {6, 5}, {7, 8}, {8, 6}, {9, 10}, {10, 7}};
    return kind == ResumeKind::FullTime ? fullTime : partTime;
}

} // namespace quillmarsh
