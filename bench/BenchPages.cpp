#include "BenchPages.h"

#include "SampleSite.h"
#include "web/TextEncoding.h"

namespace bench {

using quillmarsh::ResumeKind;

namespace {

std::string Decoration(int i, const std::string& n)
{
    return "<div class=\"tags\"><span class=\"tag\">沟通能力强</span><span class=\"tag\">有驾照</span>"
           "<span class=\"tag\">可出差</span></div>"
        + n + "<div class=\"ops\"><a class=\"fav\" data-id=\"" + std::to_string(100000 + i)
        + "\" href=\"javascript:void(0)\">收藏</a><a class=\"report\" href=\"/report?id=" + std::to_string(i)
        + "\">举报</a></div>" + n;
}

} // namespace

std::string RealisticPage(ResumeKind kind, int blocks, const std::string& n)
{
    const bool full = kind == ResumeKind::FullTime;
    std::string html = "<!DOCTYPE html>" + n + "<html>" + n + "<head>" + n
        + "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gbk\" />" + n + "<title>武汉求职简历</title>"
        + n;
    for (int i = 0; i < 40; ++i)
        html += "<link rel=\"stylesheet\" href=\"/static/css/part" + std::to_string(i) + ".css?v=20261201\" />" + n;
    html += "<script type=\"text/javascript\">var pageConfig = {city: 'wh', cate: 'qiuzhi', ver: 3};"
            "function track(e){ if (!e) return; (new Image()).src = '/t?e=' + e; }</script>"
        + n;
    html += "</head>" + n + "<body>" + n + "<div class=\"nav\">";
    for (int i = 0; i < 60; ++i)
        html += "<a href=\"/cate/" + std::to_string(i) + "/\">分类" + std::to_string(i) + "</a>";
    html += "</div>" + n;
    int i = 0;
    const int pages = quillmarsh::sample::LastPage(kind, "wh", "") - 1; // the full pages of the search
    for (int page = 0; i < blocks; ++page) {
        for (const auto& r : quillmarsh::sample::PageResumes(kind, "wh", page % pages + 1, "", "wh.example.com")) {
            if (i == blocks)
                break;
            if (full) {
                html += "<li class=\"resume-item\">" + n + "<div class=\"resume-info\">" + n + "<a class=\"name\">"
                    + r.name + "</a>" + n + Decoration(i, n) + "<p class=\"hope-job\">期望职位：<span>" + r.position
                    + "</span></p>" + n + "<p class=\"hope-salary\">期望月薪：<span>" + r.salary + "</span></p>" + n
                    + "<p class=\"intr-con\">" + r.intro + r.intro + "</p>" + n + "<span class=\"xw-summ\">" + r.summary
                    + "</span>" + n + "</div>" + n + Decoration(i, n) + "<dl class=\"resume-tab\">" + n
                    + "<dd class=\"w50\">" + r.sex + "</dd>" + n + "<dd class=\"w70\">" + r.age + "</dd>" + n
                    + "<dd class=\"w100\">" + r.education + "</dd>" + n + "<dd class=\"w190\" title=\"" + r.area + "\">"
                    + r.area + "</dd>" + n + "<dd class=\"w90\">" + r.updated + "</dd>" + n + "</dl>" + n
                    + Decoration(i, n) + "<a class=\"view\" href='" + r.link + "' target=\"_blank\">查看简历</a>" + n
                    + "</li>" + n;
            } else {
                html += "<dl class=\"jz-item\">" + n + "\t<dt><a class=\"name\">" + r.name
                    + "</a><span class=\"sex-age\">（" + r.sex + "，" + r.education + "，" + r.age + "）</span></dt>"
                    + n + Decoration(i, n) + "\t<dd class=\"hope-job\">期望职位：<span>" + r.position + "</span></dd>"
                    + n + "\t<dd class=\"hope-salary\">期望月薪：<span>" + r.salary + "</span></dd>" + n
                    + "\t<dd class=\"hope-address\">求职地区：<span>" + r.area + "</span></dd>" + n
                    + "\t<dd><p class=\"intr-con\">" + r.intro + r.intro + "</p></dd>" + n + Decoration(i, n)
                    + "\t<dd class=\"w140\">" + r.talentType + "</dd>" + n + "\t<dd class=\"w140\">" + r.period
                    + "</dd>" + n + "\t<dd class=\"w140\">" + r.updated + "</dd>" + n + "\t    \t\t\t\t</dl>" + n;
            }
            ++i;
        }
    }
    html += "<div class=\"pager\"><a href=\"/pn2/\">下一页</a></div>" + n;
    for (int k = 0; k < 20; ++k)
        html += "<script src=\"/static/js/mod" + std::to_string(k) + ".js\"></script>" + n;
    html += "</body>" + n + "</html>" + n;
    return quillmarsh::GbkFromUtf8(html);
}

} // namespace bench
