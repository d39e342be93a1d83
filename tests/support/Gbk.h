#pragma once

#include "web/TextEncoding.h"

#include <string>

// Program text (GBK) from a UTF-8 literal, for readable test tables.
inline std::string G(std::string_view utf8) { return quillmarsh::GbkFromUtf8(utf8); }
