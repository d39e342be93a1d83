#include "ui/Program.h"

#include "collect/CollectResumes.h"
#include "collect/ResumeExport.h"
#include "collect/SiteDomain.h"
#include "ui/MainWindow.h"
#include "ui/Text.h"
#include "ui/UiControls.h"
#include "web/HttpRequest.h"

#include <QApplication>
#include <QPushButton>

#include <cstdio>
#include <cstdlib>
#include <system_error>
#include <vector>

namespace quillmarsh {

namespace {

// The program's global byte buffer: made empty at start-up, released at the end.
std::vector<unsigned char>* SharedBytes = nullptr;

// The program's own start-up routine; it has nothing to prepare.
void OnProgramStart() { }

QPushButton* Button(MainWindow& window, std::string_view name) { return window.findChild<QPushButton*>(Name(name)); }

} // namespace

void WireEvents(MainWindow& window, Controls& controls, const ProgramSettings& settings)
{
    // source             event          routine
    // MainWindow         created        (none)
    // MainWindow         moved          InstallTrayIcon
    // MainWindow         tray event     OnTrayEvent
    // 按钮_开始采集       clicked        StartFullTimeCollection
    // 按钮_开始采集_兼职  clicked        StartPartTimeCollection
    // 按钮_一键下载       clicked        StartExport (full-time list)
    // 按钮_一键下载_兼职  clicked        StartExport (part-time list)
    QObject::connect(&window, &MainWindow::moved, &window, &MainWindow::InstallTrayIcon);
    QObject::connect(&window, &MainWindow::trayEvent, &window, &MainWindow::OnTrayEvent);
    for (ResumeKind kind : {ResumeKind::FullTime, ResumeKind::PartTime}) {
        const KindTraits& t = Traits(kind);
        QObject::connect(Button(window, t.startButton), &QPushButton::clicked, &window,
            [kind, &controls, domain = settings.domain] { StartCollection(kind, controls, domain); });
        QObject::connect(Button(window, t.downloadButton), &QPushButton::clicked, &window,
            [kind, &controls, dir = settings.programDir] { StartExport(kind, controls, dir); });
    }
}

void RunProgram(int argc, char** argv, const ProgramOptions& options)
{
    InitWebClient(); // before any worker can make a request
    QApplication app(argc, argv);

    const std::filesystem::path programDir = options.programDir.empty()
        ? std::filesystem::path(QCoreApplication::applicationDirPath().toStdString())
        : options.programDir;
    std::error_code ignored;
    std::filesystem::current_path(programDir, ignored);

    SharedBytes = new std::vector<unsigned char>();
    OnProgramStart();

    auto* window = new MainWindow;
    // The window's control operations outlive the window: workers still running when it closes
    // may hold them until the process ends.
    auto* controls = new UiControls(window);
    WireEvents(*window, *controls,
        ProgramSettings {options.domain.empty() ? std::string(kSiteDomain) : options.domain, programDir});
    window->RaiseStartupEvents();
    window->ShowCentred();
    if (options.afterShow)
        options.afterShow(*window);

    const int code = app.exec();

    delete SharedBytes;
    SharedBytes = nullptr;
    std::fflush(nullptr);
    // Workers still running end with the process, wherever they are.
    std::_Exit(code);
}

} // namespace quillmarsh
