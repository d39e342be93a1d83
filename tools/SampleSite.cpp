#include "SampleSite.h"

#include "Loopback.h"

#include "web/TextEncoding.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cstring>

namespace quillmarsh::sample {

namespace {

std::uint64_t Hash(std::string_view text, std::uint64_t seed = 1469598103934665603ull)
{
    std::uint64_t h = seed;
    for (unsigned char c : text) {
        h ^= c;
        h *= 1099511628211ull;
    }
    return h ^ (h >> 29);
}

template <std::size_t N> const char* Pick(const char* const (&items)[N], std::uint64_t& state)
{
    state = state * 6364136223846793005ull + 1442695040888963407ull;
    return items[(state >> 33) % N];
}

const char* const kSurnames[] = {"王", "李", "张", "刘", "陈", "杨", "黄", "赵", "周", "吴", "徐", "孙", "胡", "朱",
    "高", "林", "何", "郭", "马", "罗"};
const char* const kGivenNames[]
    = {"伟", "芳", "娜", "敏", "静", "丽", "强", "磊", "洋", "艳", "勇", "军", "杰", "娟", "涛"};
const char* const kPositions[] = {"会计", "出纳", "行政助理", "销售代表", "客服专员", "前台接待", "仓库管理员", "司机",
    "厨师", "平面设计", "软件工程师", "电工"};
const char* const kSalaries[] = {"面议", "2000-3000元", "3000-5000元", "5000-8000元", "8000-12000元", "1000-2000元"};
const char* const kEducations[] = {"初中", "高中", "中专", "大专", "本科", "硕士"};
const char* const kUpdated[] = {"今天", "昨天", "2天前", "3天前", "1周前", "12-01"};
const char* const kIntros[]
    = {"工作认真负责，有团队精神。", "三年相关工作经验，能吃苦耐劳。", "性格开朗，善于沟通，学习能力强。",
        "熟悉办公软件，打字速度快。", "持有相关证书，可立即到岗。", "希望找一份稳定的工作，长期发展。"};
const char* const kExperience[] = {"1年经验", "2年经验", "3-5年经验", "5年以上经验", "应届生", "无经验"};
const char* const kAreas[] = {"市区", "开发区", "高新区", "老城区", "火车站附近", "大学城"};
const char* const kPartPositions[] = {"促销员", "传单派发", "家教", "服务员", "临时工", "模特", "礼仪"};
const char* const kPay[] = {"100元/天", "150元/天", "20元/小时", "面议", "3000元/月"};
const char* const kTalentTypes[] = {"学生", "社会人士", "自由职业"};
const char* const kPeriods[] = {"周末", "寒暑假", "工作日晚上", "随时"};
// Characters GBK cannot hold; UTF-8 pages carry some of them in names and introductions.
const char* const kOutsideGbk[] = {"😀", "₩", "鿏", "ㆍ"};

const char* CityName(const std::string& city)
{
    if (city == "cs")
        return "长沙";
    if (city == "wh")
        return "武汉";
    if (city == "bj")
        return "北京";
    if (city == "sh")
        return "上海";
    return "全国";
}

std::string Encode(const std::string& utf8, bool utf8Page) { return utf8Page ? utf8 : GbkFromUtf8(utf8); }

std::string FullTimeBlock(const Resume& r)
{
    return "<li class=\"resume-item\">\r\n"
           "<div class=\"resume-info\">\r\n"
           "<a class=\"name\">"
        + r.name
        + "</a>\r\n"
          "<p class=\"hope-job\">期望职位：<span>"
        + r.position
        + "</span></p>\r\n"
          "<p class=\"hope-salary\">期望月薪：<span>"
        + r.salary
        + "</span></p>\r\n"
          "<p class=\"intr-con\">"
        + r.intro
        + "</p>\r\n"
          "<span class=\"xw-summ\">"
        + r.summary
        + "</span>\r\n"
          "</div>\r\n"
          "<dl class=\"resume-tab\">\r\n"
          "<dd class=\"w50\">"
        + r.sex
        + "</dd>\r\n"
          "<dd class=\"w70\">"
        + r.age
        + "</dd>\r\n"
          "<dd class=\"w100\">"
        + r.education
        + "</dd>\r\n"
          "<dd class=\"w190\" title=\""
        + r.area + "\">" + r.area
        + "</dd>\r\n"
          "<dd class=\"w90\">"
        + r.updated
        + "</dd>\r\n"
          "</dl>\r\n"
          "<a class=\"view\" href='"
        + r.link
        + "' target=\"_blank\">查看简历</a>\r\n"
          "</li>\r\n";
}

std::string PartTimeBlock(const Resume& r)
{
    return "<dl class=\"jz-item\">\r\n"
           "\t<dt><a class=\"name\">"
        + r.name + "</a><span class=\"sex-age\">（" + r.sex + "，" + r.education + "，" + r.age
        + "）</span></dt>\r\n"
          "\t<dd class=\"hope-job\">期望职位：<span>"
        + r.position
        + "</span></dd>\r\n"
          "\t<dd class=\"hope-salary\">期望月薪：<span>"
        + r.salary
        + "</span></dd>\r\n"
          "\t<dd class=\"hope-address\">求职地区：<span>"
        + r.area
        + "</span></dd>\r\n"
          "\t<dd><p class=\"intr-con\">"
        + r.intro
        + "</p></dd>\r\n"
          "\t<dd class=\"w140\">"
        + r.talentType
        + "</dd>\r\n"
          "\t<dd class=\"w140\">"
        + r.period
        + "</dd>\r\n"
          "\t<dd class=\"w140\">"
        + r.updated
        + "</dd>\r\n"
          "\t    \t\t\t\t</dl>\r\n";
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::string PercentDecode(std::string_view s)
{
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size() && HexValue(s[i + 1]) >= 0 && HexValue(s[i + 2]) >= 0) {
            out += static_cast<char>(HexValue(s[i + 1]) * 16 + HexValue(s[i + 2]));
            i += 2;
        } else if (s[i] == '+') {
            out += ' ';
        } else {
            out += s[i];
        }
    }
    return out;
}

} // namespace

int LastPage(ResumeKind kind, const std::string& city, const std::string& keyword)
{
    return 5 + static_cast<int>(Hash(keyword, Hash(city, kind == ResumeKind::FullTime ? 11 : 17)) % 6);
}

bool IsUtf8Page(ResumeKind kind, const std::string& city, int page)
{
    return (page + static_cast<int>(Hash(city) % 3) + (kind == ResumeKind::PartTime ? 1 : 0)) % 3 == 0;
}

std::vector<Resume> PageResumes(
    ResumeKind kind, const std::string& city, int page, const std::string& keyword, const std::string& host)
{
    std::vector<Resume> resumes;
    if (page < 1 || page > LastPage(kind, city, keyword))
        return resumes;
    const bool utf8 = IsUtf8Page(kind, city, page);
    std::uint64_t state
        = Hash(keyword, Hash(city, static_cast<std::uint64_t>(page) * 7919 + (kind == ResumeKind::FullTime ? 1 : 2)));
    const int count = page == LastPage(kind, city, keyword) ? 12 : 30;
    for (int i = 0; i < count; ++i) {
        Resume r;
        const bool female = (Hash(std::to_string(i), state) & 1) != 0;
        const std::uint64_t nameStyle = (state >> 40) % 10;
        r.name = Pick(kSurnames, state);
        if (nameStyle < 7)
            r.name += female ? "女士" : "先生"; // the site masks most names
        else
            r.name += Pick(kGivenNames, state);
        if (utf8 && i % 7 == 3)
            r.name += Pick(kOutsideGbk, state);
        r.sex = female ? "女" : "男";
        r.age = std::to_string(18 + (state >> 20) % 30) + "岁";
        r.education = Pick(kEducations, state);
        r.updated = Pick(kUpdated, state);
        r.intro = Pick(kIntros, state);
        if (utf8 && i % 5 == 1)
            r.intro += std::string("喜欢") + Pick(kOutsideGbk, state);
        r.area = std::string(CityName(city)) + "-" + Pick(kAreas, state);
        if (kind == ResumeKind::FullTime) {
            r.position = keyword.empty() ? Pick(kPositions, state) : keyword;
            r.salary = Pick(kSalaries, state);
            r.summary = Pick(kExperience, state);
            r.link = "http://" + host + "/resume/" + std::to_string(page) + "-" + std::to_string(i + 1) + ".html";
        } else {
            r.position = keyword.empty() ? Pick(kPartPositions, state) : keyword;
            r.salary = Pick(kPay, state);
            r.talentType = Pick(kTalentTypes, state);
            r.period = Pick(kPeriods, state);
            r.link = "http://" + host + "/jianzhi/" + std::to_string(page) + "-" + std::to_string(i + 1) + ".html";
        }
        resumes.push_back(std::move(r));
    }
    return resumes;
}

std::string PageBytes(
    ResumeKind kind, const std::string& city, int page, const std::string& keyword, const std::string& host)
{
    const bool utf8 = IsUtf8Page(kind, city, page);
    const bool full = kind == ResumeKind::FullTime;
    std::string html;
    html += "<!DOCTYPE html>\r\n<html>\r\n<head>\r\n";
    html += utf8 ? "<meta charset=\"utf-8\">\r\n"
                 : "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gbk\" />\r\n";
    html += "<title>" + std::string(CityName(city)) + (full ? "求职简历" : "兼职简历") + " " + keyword + " - 第"
        + std::to_string(page) + "页</title>\r\n";
    html += "<link rel=\"stylesheet\" href=\"/css/list.css\" />\r\n</head>\r\n<body>\r\n";
    html += "<div class=\"header\"><a href=\"/\">" + std::string(CityName(city)) + "分类信息</a></div>\r\n";
    html += full ? "<ul class=\"resume-list\">\r\n" : "<div class=\"jz-list\">\r\n";
    for (const Resume& r : PageResumes(kind, city, page, keyword, host))
        html += full ? FullTimeBlock(r) : PartTimeBlock(r);
    html += full ? "</ul>\r\n" : "</div>\r\n";
    html += "<div class=\"pager\"><a href=\"?page=" + std::to_string(page + 1) + "\">下一页</a></div>\r\n";
    html += "</body>\r\n</html>\r\n";
    return Encode(html, utf8);
}

std::vector<std::vector<std::string>> ExpectedCells(ResumeKind kind, const std::vector<Resume>& resumes)
{
    std::vector<std::vector<std::string>> rows;
    for (const Resume& r : resumes) {
        std::vector<std::string> cells;
        if (kind == ResumeKind::FullTime)
            cells = {r.name, r.sex, r.age, r.position, r.education, r.salary, r.updated, r.intro, "", r.link};
        else
            cells = {r.name, r.sex, r.age, r.position, r.salary, r.talentType, r.area, r.updated, r.intro, "", ""};
        for (std::string& c : cells)
            c = GbkFromUtf8(c);
        rows.push_back(std::move(cells));
    }
    return rows;
}

bool ParseSearchTarget(const std::string& target, ResumeKind& kind, int& page, std::string& keyword)
{
    std::string_view t = target;
    std::string_view rest;
    if (t.substr(0, 13) == "/searchjob/pn") {
        kind = ResumeKind::FullTime;
        rest = t.substr(13);
    } else if (t.substr(0, 15) == "/zhaojianzhi/pn") {
        kind = ResumeKind::PartTime;
        rest = t.substr(15);
    } else {
        return false;
    }
    std::size_t digits = 0;
    while (digits < rest.size() && rest[digits] >= '0' && rest[digits] <= '9' && digits < 9)
        ++digits;
    if (digits == 0)
        return false;
    page = std::stoi(std::string(rest.substr(0, digits)));
    rest.remove_prefix(digits);
    std::string_view query = kind == ResumeKind::FullTime ? "/?complex=0&key=" : "?key=";
    if (rest.substr(0, query.size()) != query)
        return false;
    keyword = Utf8FromGbk(PercentDecode(rest.substr(query.size())));
    return true;
}

Server::Server(std::uint16_t port) : port_(port) { }

Server::~Server() { Stop(); }

bool Server::Start()
{
    listener_ = ListenOnLoopback(port_, &port_);
    if (listener_ < 0)
        return false;
    running_ = true;
    thread_ = std::thread([this] { Serve(); });
    return true;
}

void Server::Stop()
{
    if (!running_.exchange(false))
        return;
    shutdown(listener_, SHUT_RDWR);
    if (thread_.joinable())
        thread_.join();
    close(listener_);
    listener_ = -1;
}

std::vector<Request> Server::Requests() const
{
    std::lock_guard lock(mutex_);
    return requests_;
}

void Server::SetOverride(std::function<std::optional<std::string>(const Request&)> override)
{
    std::lock_guard lock(mutex_);
    override_ = std::move(override);
}

void Server::Serve()
{
    while (running_) {
        pollfd p {listener_, POLLIN, 0};
        if (poll(&p, 1, 200) <= 0)
            continue;
        int client = accept(listener_, nullptr, nullptr);
        if (client < 0)
            continue;
        timeval timeout {5, 0};
        setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
        setsockopt(client, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
        Handle(client);
        close(client);
    }
}

void Server::Handle(int client)
{
    std::string head;
    char buffer[4096];
    while (head.find("\r\n\r\n") == std::string::npos && head.size() < 64 * 1024) {
        ssize_t n = recv(client, buffer, sizeof buffer, 0);
        if (n <= 0)
            return;
        head.append(buffer, static_cast<std::size_t>(n));
    }
    Request request;
    std::size_t lineEnd = head.find("\r\n");
    std::string line = head.substr(0, lineEnd);
    std::size_t sp1 = line.find(' '), sp2 = line.rfind(' ');
    if (sp1 == std::string::npos || sp2 == sp1)
        return;
    request.method = line.substr(0, sp1);
    request.target = line.substr(sp1 + 1, sp2 - sp1 - 1);
    for (std::size_t at = lineEnd + 2; at < head.size();) {
        std::size_t end = head.find("\r\n", at);
        if (end == std::string::npos || end == at)
            break;
        std::string header = head.substr(at, end - at);
        if (header.size() > 5 && strncasecmp(header.c_str(), "host:", 5) == 0)
            request.host = header.substr(header.find_first_not_of(' ', 5));
        at = end + 2;
    }
    std::function<std::optional<std::string>(const Request&)> override;
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(request);
        override = override_;
    }

    std::string status = "200 OK";
    std::string body;
    std::optional<std::string> replaced = override ? override(request) : std::nullopt;
    ResumeKind kind;
    int page = 0;
    std::string keyword;
    if (replaced) {
        body = std::move(*replaced);
    } else if (ParseSearchTarget(request.target, kind, page, keyword)) {
        std::string city = request.host.substr(0, request.host.find('.'));
        body = PageBytes(kind, city, page, keyword, request.host);
    } else {
        status = "404 Not Found";
        body = "<html><body>404</body></html>";
    }
    std::string response = "HTTP/1.1 " + status + "\r\nContent-Type: text/html\r\nContent-Length: "
        + std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n";
    if (request.method != "HEAD")
        response += body;
    SendAll(client, response);
}

} // namespace quillmarsh::sample
