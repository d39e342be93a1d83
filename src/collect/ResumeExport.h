#pragma once

#include "collect/ResumeKind.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace quillmarsh {

class Controls;

// A file-name component made from program text: the name in the file system's encoding (UTF-8),
// with path separators, "." and "..", control characters and the characters that Windows or
// Linux file names cannot hold replaced by "_", and cut so that it stays a valid name. The result
// can never leave the folder it is put in.
std::string SafeNameComponent(std::string_view gbk);

// The folder that a download of the kind writes to: beside the program, "已下载简历" (full-time)
// or "已下载兼职简历" (part-time), then the keyword's folder (none for an empty keyword).
std::filesystem::path ExportFolder(ResumeKind kind, const std::filesystem::path& programDir, std::string_view keyword);

// File names (with ".txt") for rows with these stems, in row order: the first row of a stem keeps
// the plain name, later ones get " (2)", " (3)" ... so that no two rows of one download share a file.
std::vector<std::string> UniqueFileNames(const std::vector<std::string>& stems);

// The labelled lines of one resume file, in GBK with CR LF; `cells` are columns 2 onwards of the
// kind's list. The 手机号 and 简介 lines read "暂无" when their cell is empty.
std::string ResumeFileContent(ResumeKind kind, const std::vector<std::string>& cells);

// The download button's routine, on the window thread: creates the export folder, starts one
// worker per row of the kind's list and shows the download text. `controls` must outlive the
// workers.
void StartExport(ResumeKind kind, Controls& controls, const std::filesystem::path& programDir);

// Status texts, program text.
std::string ExportStartText();
std::string ExportDoneText(int rows);

} // namespace quillmarsh
