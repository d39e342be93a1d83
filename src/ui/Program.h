#pragma once

#include <filesystem>
#include <functional>
#include <string>

namespace quillmarsh {

class Controls;
class MainWindow;

struct ProgramSettings {
    std::string domain;                 // the resume site's domain
    std::filesystem::path programDir;   // the folder the exports go beside
};

// Binds the window's events and the buttons' clicks to the program's routines.
void WireEvents(MainWindow& window, Controls& controls, const ProgramSettings& settings);

// The program: start-up, the message loop until the window is closed, the end. `afterShow`, when
// given, runs once the window is shown (tests drive the window from there). Never returns: the
// process ends with the loop's exit code, workers still running included.
[[noreturn]] void RunProgram(int argc, char** argv, std::function<void(MainWindow&)> afterShow = {});

} // namespace quillmarsh
