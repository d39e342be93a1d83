// The notification-area icon on a real X server with a tray host (see run_under_xvfb.sh).
#include "Window.h"

#include "ui/TrayIcon.h"

#include <QSystemTrayIcon>

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

using namespace quillmarsh;

namespace {

std::string Run(const std::string& command)
{
    std::string out;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    char buffer[4096];
    while (pipe && fgets(buffer, sizeof buffer, pipe.get()))
        out += buffer;
    return out;
}

// How many windows of this program the tray host holds.
int IconsInTray()
{
    const std::string tree = Run("xwininfo -root -tree");
    const std::size_t panel = tree.find("(\"panel\" \"trayer\")");
    if (panel == std::string::npos)
        return -1;
    const std::string id = tree.substr(tree.rfind('\n', panel) + 1);
    const std::string panelId = id.substr(id.find("0x"), id.find(' ', id.find("0x")) - id.find("0x"));
    const std::string inside = Run("xwininfo -tree -id " + panelId);
    const std::string me = "\"" + QCoreApplication::applicationName().toStdString() + "\"";
    int count = 0; // one line per window
    for (std::size_t at = inside.find(me); at != std::string::npos;
         at = inside.find('\n', at) == std::string::npos ? std::string::npos : inside.find(me, inside.find('\n', at)))
        ++count;
    return count;
}

bool WaitForIcons(int count)
{
    return WaitFor([count] { return IconsInTray() == count; }, 10000);
}

TEST(Tray, TheTrayHostIsThere)
{
    EXPECT_TRUE(WaitFor([] { return QSystemTrayIcon::isSystemTrayAvailable(); }, 10000));
    EXPECT_EQ(IconsInTray(), 0);
}

TEST(Tray, OneIconFromStartUpUntilTheWindowCloses)
{
    auto window = std::make_unique<MainWindow>();
    UiControls controls(window.get());
    WireEvents(*window, controls, {});
    window->RaiseStartupEvents();
    EXPECT_TRUE(window->Tray().IsInstalled()) << "before the window is first shown";
    EXPECT_EQ(window->Tray().Tip(), "程序运行中");
    EXPECT_TRUE(WaitForIcons(1));
    window->ShowCentred();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));

    for (int i = 0; i < 5; ++i) {
        window->move(100 + 40 * i, 80 + 10 * i);
        WaitFor([] { return false; }, 100);
    }
    EXPECT_TRUE(WaitForIcons(1)) << "moving the window leaves exactly one icon";
    EXPECT_EQ(IconsInTray(), 1);

    window->close();
    EXPECT_TRUE(WaitForIcons(0)) << "the icon goes with the window";
}

TEST(Tray, ClicksBecomeTrayEventCodes)
{
    auto window = std::make_unique<MainWindow>();
    window->RaiseStartupEvents();
    window->InstallTrayIcon();
    std::vector<int> codes;
    QObject::connect(window.get(), &MainWindow::trayEvent, [&codes](int code) { codes.push_back(code); });
    auto* icon = window->Tray().findChild<QSystemTrayIcon*>();
    ASSERT_NE(icon, nullptr);
    for (auto reason : {QSystemTrayIcon::Trigger, QSystemTrayIcon::DoubleClick, QSystemTrayIcon::Context,
             QSystemTrayIcon::MiddleClick, QSystemTrayIcon::Unknown})
        emit icon->activated(reason);
    EXPECT_EQ(codes, (std::vector<int> {1, 2, 3}));
}

} // namespace
