#include "collect/ResumeExport.h"

#include "collect/Controls.h"
#include "support/Worker.h"
#include "web/TextEncoding.h"

#include <fstream>
#include <memory>
#include <set>
#include <system_error>

namespace quillmarsh {

namespace {

// Longest name component, in UTF-8 bytes, left for a stem: a suffix and ".txt" still fit in the
// 255 bytes that file systems allow.
constexpr std::size_t kMaxStemBytes = 200;

struct Labels {
    std::vector<std::string> labels; // one per column from 2 on, GBK
    int phoneColumn;
    int introColumn;
};

const Labels& LabelsOf(ResumeKind kind)
{
    auto make = [](std::initializer_list<const char*> titles, int phone, int intro) {
        Labels l {{}, phone, intro};
        for (const char* title : titles)
            l.labels.push_back(GbkFromUtf8(std::string(title) + "："));
        return l;
    };
    static const Labels fullTime
        = make({"姓名", "性别", "年龄", "期望职位", "学历", "期望薪资", "更新时间", "简介", "手机号", "链接"}, 10, 9);
    static const Labels partTime = make(
        {"姓名", "性别", "年龄", "期望职位", "期望月薪", "人才类型", "求职地区", "更新时间", "简介", "手机号", "链接"},
        11, 10);
    return kind == ResumeKind::FullTime ? fullTime : partTime;
}

std::u16string_view TopFolder(ResumeKind kind)
{
    return kind == ResumeKind::FullTime ? u"已下载简历" : u"已下载兼职简历";
}

// What every worker of one download shares: where its files go.
struct Download {
    ResumeKind kind;
    std::filesystem::path folder;
};

void ExportResumes(const Download& d, int row, const std::string& fileName, Controls& controls)
{
    const KindTraits& t = Traits(d.kind);
    const int rows = controls.RowCount(t.list);
    std::vector<std::string> cells;
    const std::size_t columns = LabelsOf(d.kind).labels.size();
    for (std::size_t c = 0; c < columns; ++c)
        cells.push_back(controls.GetCellText(t.list, row, static_cast<int>(c) + 2));
    const std::string content = ResumeFileContent(d.kind, cells);
    {
        // A file that cannot be written is not reported: the row simply has no file.
        std::ofstream file(d.folder / fileName, std::ios::binary | std::ios::trunc);
        file.write(content.data(), static_cast<std::streamsize>(content.size()));
    }
    controls.SetPaneText(control::kStatusBar, control::kDownloadPane, ExportDoneText(rows));
}

} // namespace

std::string SafeNameComponent(std::string_view gbk)
{
    std::u16string units = GbkToUtf16(gbk);
    for (char16_t& u : units) {
        bool bad = u < 0x20 || u == 0x7F || u == u'/' || u == u'\\' || u == u'<' || u == u'>' || u == u':' || u == u'"'
            || u == u'|' || u == u'?' || u == u'*';
        if (bad)
            u = u'_';
    }
    std::string name = Utf8FromUtf16(units);
    if (name.size() > kMaxStemBytes) {
        std::size_t cut = kMaxStemBytes;
        while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80)
            --cut; // never split a character
        name.resize(cut);
    }
    if (name == "." || name == "..")
        name.assign(name.size(), '_');
    return name;
}

std::filesystem::path ExportFolder(ResumeKind kind, const std::filesystem::path& programDir, std::string_view keyword)
{
    std::filesystem::path folder = programDir / std::filesystem::path(Utf8FromUtf16(TopFolder(kind)));
    std::string component = SafeNameComponent(keyword);
    if (!component.empty())
        folder /= component;
    return folder;
}

std::vector<std::string> UniqueFileNames(const std::vector<std::string>& stems)
{
    std::set<std::string> used;
    std::vector<std::string> names;
    names.reserve(stems.size());
    for (const std::string& raw : stems) {
        std::string stem = SafeNameComponent(raw);
        if (stem.empty())
            stem.push_back('_'); // a row without a name still gets a file
        std::string name = stem;
        for (int k = 2; used.count(name) != 0; ++k)
            name = stem + " (" + std::to_string(k) + ")";
        used.insert(name);
        names.push_back(name + ".txt");
    }
    return names;
}

std::string ResumeFileContent(ResumeKind kind, const std::vector<std::string>& cells)
{
    static const std::string kNone = GbkFromUtf8("暂无");
    const Labels& l = LabelsOf(kind);
    std::string content;
    for (std::size_t i = 0; i < l.labels.size(); ++i) {
        const int column = static_cast<int>(i) + 2;
        std::string_view value = i < cells.size() ? std::string_view(cells[i]) : std::string_view();
        if (value.empty() && (column == l.phoneColumn || column == l.introColumn))
            value = kNone;
        content += l.labels[i];
        content.append(value);
        content += "\r\n";
    }
    return content;
}

std::string ExportStartText() { return GbkFromUtf8("   正在下载简历,请稍等..."); }

std::string ExportDoneText(int rows)
{
    return GbkFromUtf8("   下载简历完成,共下载了") + std::to_string(rows) + GbkFromUtf8("份简历！");
}

void StartExport(ResumeKind kind, Controls& controls, const std::filesystem::path& programDir)
{
    const KindTraits& t = Traits(kind);
    // The keyword is read once, at the press: every file of this download goes to the folder made
    // now, whatever the keyword box holds later.
    auto download
        = std::make_shared<Download>(Download {kind, ExportFolder(kind, programDir, controls.Text(t.keywordBox))});
    std::error_code ignored;
    std::filesystem::create_directories(download->folder, ignored);

    const int rows = controls.RowCount(t.list);
    std::vector<std::string> stems;
    stems.reserve(static_cast<std::size_t>(rows > 0 ? rows : 0));
    for (int r = 0; r < rows; ++r)
        stems.push_back(controls.GetCellText(t.list, r, 2)); // the stem is the 姓名 cell
    std::vector<std::string> names = UniqueFileNames(stems);
    for (int r = 0; r < rows; ++r) {
        StartWorker([download, r, name = std::move(names[static_cast<std::size_t>(r)]), &controls] {
            ExportResumes(*download, r, name, controls);
        });
    }
    controls.SetPaneText(control::kStatusBar, control::kDownloadPane, ExportStartText());
    if (rows == 0)
        controls.SetPaneText(control::kStatusBar, control::kDownloadPane, ExportDoneText(0));
}

} // namespace quillmarsh
