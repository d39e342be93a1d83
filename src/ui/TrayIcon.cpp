#include "ui/TrayIcon.h"

#include "ui/IconData.h"
#include "ui/Text.h"
#include "web/GbkTable.h"

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QSystemTrayIcon>

namespace quillmarsh {

namespace {
constexpr std::size_t kMaxTipBytes = 62;

std::string_view CutTip(std::string_view tip)
{
    if (tip.size() <= kMaxTipBytes)
        return tip;
    // Cut on a character boundary, so that no half character is left at the end.
    const auto* s = reinterpret_cast<const unsigned char*>(tip.data());
    std::size_t end = 0;
    while (end < tip.size()) {
        std::size_t next = end + static_cast<std::size_t>(gbk::CharLength(s, end, tip.size()));
        if (next > kMaxTipBytes)
            break;
        end = next;
    }
    return tip.substr(0, end);
}
} // namespace

TrayIcon::TrayIcon(QObject* parent) : QObject(parent) { }

TrayIcon::~TrayIcon() { Remove(); }

void TrayIcon::Set(const unsigned char* iconFile, std::size_t size, std::string_view tip)
{
    const QImage image = ImageFromIconFile(iconFile, size);
    if (image.isNull()) {
        Remove();
        return;
    }
    if (!icon_) {
        icon_ = new QSystemTrayIcon(this);
        connect(icon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
            switch (reason) {
            case QSystemTrayIcon::Trigger:
                emit trayEvent(1);
                break;
            case QSystemTrayIcon::DoubleClick:
                emit trayEvent(2);
                break;
            case QSystemTrayIcon::Context:
                emit trayEvent(3);
                break;
            default:
                break; // other actions raise no tray event
            }
        });
    }
    icon_->setIcon(QIcon(QPixmap::fromImage(image)));
    icon_->setToolTip(ToQString(CutTip(tip)));
    icon_->show();
}

void TrayIcon::Remove()
{
    if (!icon_)
        return;
    icon_->hide();
    delete icon_;
    icon_ = nullptr;
}

bool TrayIcon::IsInstalled() const { return icon_ != nullptr; }

QString TrayIcon::Tip() const { return icon_ ? icon_->toolTip() : QString(); }

} // namespace quillmarsh
