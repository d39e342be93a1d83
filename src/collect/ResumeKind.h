#pragma once

#include <string_view>

namespace quillmarsh {

enum class ResumeKind { FullTime, PartTime };

// Control names of the window; both tabs have the same controls, the part-time ones with "_兼职".
namespace control {
inline constexpr std::string_view kStatusBar = "状态条1";
inline constexpr std::string_view kTabs = "选择夹1";
inline constexpr int kCollectionPane = 1;
inline constexpr int kDownloadPane = 3;
} // namespace control

// Everything that differs between the two tabs.
struct KindTraits {
    std::string_view cityBox;
    std::string_view keywordBox;
    std::string_view pageCountBox;
    std::string_view startButton;
    std::string_view downloadButton;
    std::string_view list;
    std::string_view pathBeforePage;
    std::string_view textBeforeKeyword;
    bool showsStatus;
};

inline constexpr KindTraits kFullTimeTraits {"组合框_城市", "编辑框_职位", "编辑框_采集页数", "按钮_开始采集",
    "按钮_一键下载", "超级列表框_全职", "/searchjob/pn", "/?complex=0&key=", true};
inline constexpr KindTraits kPartTimeTraits {"组合框_城市_兼职", "编辑框_职位_兼职", "编辑框_采集页数_兼职",
    "按钮_开始采集_兼职", "按钮_一键下载_兼职", "超级列表框_兼职", "/zhaojianzhi/pn", "?key=", false};

inline constexpr const KindTraits& Traits(ResumeKind kind)
{
    return kind == ResumeKind::FullTime ? kFullTimeTraits : kPartTimeTraits;
}

} // namespace quillmarsh
