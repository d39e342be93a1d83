#pragma once

#include "collect/ResumeKind.h"

#include <string>

// Search pages as the real site serves them: a whole document with navigation and scripts around
// the resume blocks, and decorative markup between each block's fields. Program text (GBK).
namespace bench {

// A full-time or part-time page of `blocks` resumes; `lineEnd` "\n" gives the LF-only kind.
std::string RealisticPage(quillmarsh::ResumeKind kind, int blocks, const std::string& lineEnd = "\r\n");

} // namespace bench
