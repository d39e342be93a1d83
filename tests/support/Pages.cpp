#include "support/Pages.h"

#include "web/TextEncoding.h"

namespace fixture {

std::string FullTimeBlock(const FullTimeResume& r, const std::string& n)
{
    return "<li>" + n + "<a class=\"name\">" + r.name + "</a>" + n + "<p class=\"hope-job\">期望职位：<span>"
        + r.position + "</span></p>" + n + "<p class=\"hope-salary\">期望月薪：<span>" + r.salary + "</span></p>" + n
        + "<p class=\"intr-con\">" + r.intro + "</p>" + n + "<span class=\"xw-summ\">" + r.summary + "</span>" + n
        + "<dd class=\"w50\">" + r.sex + "</dd>" + n + "<dd class=\"w70\">" + r.age + "</dd>" + n
        + "<dd class=\"w100\">" + r.education + "</dd>" + n + "<dd class=\"w190\" title=\"" + r.area + "\">" + r.area
        + "</dd>" + n + "<dd class=\"w90\">" + r.updated + "</dd>" + n + "<a href='" + r.link + "'>查看</a>" + n
        + "</li>" + n;
}

std::string PartTimeBlock(const PartTimeResume& r, const std::string& n)
{
    return "<dl>" + n + "\t<dt><a class=\"name\">" + r.name + "</a><span class=\"sex-age\">（" + r.sex + "，"
        + r.education + "，" + r.age + "）</span></dt>" + n + "\t<dd class=\"hope-job\">期望职位：<span>" + r.position
        + "</span></dd>" + n + "\t<dd class=\"hope-salary\">期望月薪：<span>" + r.pay + "</span></dd>" + n
        + "\t<dd class=\"hope-address\">求职地区：<span>" + r.area + "</span></dd>" + n + "\t<dd><p class=\"intr-con\">"
        + r.intro + "</p></dd>" + n + "\t<dd class=\"w140\">" + r.type + "</dd>" + n + "\t<dd class=\"w140\">"
        + r.period + "</dd>" + n + "\t<dd class=\"w140\">" + r.updated + "</dd>" + n + "\t    \t\t\t\t</dl>" + n;
}

std::string Page(const std::string& blocks)
{
    return quillmarsh::GbkFromUtf8("<html>\r\n<head><meta charset=\"gbk\"><title>简历</title></head>\r\n<body>\r\n"
        + blocks + "</body>\r\n</html>\r\n");
}

} // namespace fixture
