#pragma once

#include <filesystem>
#include <functional>
#include <string>

namespace quillmarsh {

class Controls;
class MainWindow;

struct ProgramSettings {
    std::string domain;               // the resume site's domain
    std::filesystem::path programDir; // the folder the exports go beside
};

// Binds the window's events and the buttons' clicks to the program's routines.
void WireEvents(MainWindow& window, Controls& controls, const ProgramSettings& settings);

struct ProgramOptions {
    std::string domain;                         // empty: the domain the program was built for
    std::filesystem::path programDir;           // empty: the folder of the program file
    std::function<void(MainWindow&)> afterShow; // runs once the window is shown (tests drive it)
};

// The program: start-up, the message loop until the window is closed, the end. Never returns: the
// process ends with the loop's exit code, workers still running included.
[[noreturn]] void RunProgram(int argc, char** argv, const ProgramOptions& options = {});

} // namespace quillmarsh
