#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

// The bytes of a file, empty when it cannot be read.
inline std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}
