#pragma once

#include <string>

// Small search-page fixtures in the site's markup, as program text (GBK), CR LF line ends.
namespace fixture {

struct FullTimeResume {
    std::string name = "王女士", position = "会计", salary = "3000-5000元", intro = "工作认真负责。",
                summary = "3年经验", sex = "女", age = "28岁", education = "本科", area = "武汉-洪山", updated = "今天",
                link = "http://wh.example/resume/1.html";
};

struct PartTimeResume {
    std::string name = "李先生", sex = "男", education = "大专", age = "22岁", position = "促销员", pay = "100元/天",
                area = "洪山", intro = "周末有空。", type = "学生", period = "周末", updated = "3天前";
};

// One block each, UTF-8; `lineEnd` lets a fixture use bare line feeds.
std::string FullTimeBlock(const FullTimeResume& r, const std::string& lineEnd = "\r\n");
std::string PartTimeBlock(const PartTimeResume& r, const std::string& lineEnd = "\r\n");
// A whole page around the blocks, converted to GBK.
std::string Page(const std::string& blocksUtf8);

} // namespace fixture
