#pragma once

#include <QObject>

#include <string_view>

class QSystemTrayIcon;

namespace quillmarsh {

// The program's icon in the notification area. It only reports clicks (as tray event codes
// 1 = left click, 2 = double click, 3 = context request); the window decides what they do.
class TrayIcon final : public QObject {
    Q_OBJECT
public:
    explicit TrayIcon(QObject* parent = nullptr);
    ~TrayIcon() override;

    // With an image (icon-file bytes): adds the icon, or replaces image and tip of the one there.
    // Without one, or with bytes that are no icon: removes the icon. The tip (program text) is cut
    // to its first 62 bytes.
    void Set(const unsigned char* iconFile, std::size_t size, std::string_view tip);
    void Remove();

    bool IsInstalled() const;
    QString Tip() const;

signals:
    void trayEvent(int code);

private:
    QSystemTrayIcon* icon_ = nullptr;
};

} // namespace quillmarsh
