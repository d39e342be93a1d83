#pragma once

#include <QWidget>

#include <string>
#include <string_view>

class QTabWidget;
class QTableView;

namespace quillmarsh {

class ResumeListModel;
class StatusBar;
class TrayIcon;

// The program's one window: the tab control with the full-time and part-time pages, the status
// bar, and the notification-area icon with its menu. Every control carries its name as object
// name. The control operations take a control by name and program text (GBK); they run on the
// window's thread (other threads go through UiControls).
class MainWindow final : public QWidget {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    static constexpr int kOuterWidth = 930;
    static constexpr int kOuterHeight = 640;

    // Raises created, moved and resized, in this order, as the window does once its controls exist.
    void RaiseStartupEvents();
    // Shows the window with its outer frame centred on the screen.
    void ShowCentred();

    // Control operations.
    int SelectedIndex(std::string_view control) const;
    std::string Text(std::string_view control) const;
    void DeleteAllRows(std::string_view list);
    int AppendRow(std::string_view list, int position, std::string_view text);
    int RowCount(std::string_view list) const;
    void SetCellText(std::string_view list, int row, int column, std::string_view text);
    std::string GetCellText(std::string_view list, int row, int column) const;
    void SetPaneText(std::string_view statusBar, int pane, std::string_view text);

    // The routines bound to the window's moved and tray events.
    void InstallTrayIcon();
    void OnTrayEvent(int code);

    TrayIcon& Tray() { return *tray_; }

signals:
    void created();
    void moved();
    void resized();
    void trayEvent(int code);

protected:
    void moveEvent(QMoveEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QTableView* AddList(QWidget* tabs, const char* name, const QStringList& titles, const QList<int>& widths);
    ResumeListModel* List(std::string_view name) const;
    // Shows the menu `托盘菜单` as a pop-up with its right edge left of the cursor.
    void PopUpTrayMenu();

    QTabWidget* tabs_ = nullptr;
    StatusBar* status_ = nullptr;
    TrayIcon* tray_ = nullptr;
    ResumeListModel* fullTime_ = nullptr;
    ResumeListModel* partTime_ = nullptr;
};

} // namespace quillmarsh
