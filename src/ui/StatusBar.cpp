#include "ui/StatusBar.h"

#include <QLabel>

namespace quillmarsh {

namespace {
constexpr std::array<int, StatusBar::kPanes> kRightEdges = {60, 360, 420, 720, 920};
}

StatusBar::StatusBar(QWidget* parent) : QWidget(parent)
{
    const std::array<QString, kPanes> texts = {QStringLiteral("采集状态："), QString(), QStringLiteral("下载状态："),
        QString(), QStringLiteral("      Lintberry欢迎你")};
    int left = 0;
    for (int i = 0; i < kPanes; ++i) {
        auto* pane = new QLabel(texts[static_cast<std::size_t>(i)], this);
        pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        pane->setTextFormat(Qt::PlainText);
        pane->setGeometry(left, 0, kRightEdges[static_cast<std::size_t>(i)] - left, 20);
        left = kRightEdges[static_cast<std::size_t>(i)];
        panes_[static_cast<std::size_t>(i)] = pane;
    }
}

void StatusBar::SetPaneText(int pane, const QString& text)
{
    if (pane < 0 || pane >= kPanes)
        return;
    panes_[static_cast<std::size_t>(pane)]->setText(text);
    panes_[static_cast<std::size_t>(pane)]->setToolTip(text);
}

QString StatusBar::PaneText(int pane) const
{
    return pane < 0 || pane >= kPanes ? QString() : panes_[static_cast<std::size_t>(pane)]->text();
}

QRect StatusBar::PaneGeometry(int pane) const
{
    return pane < 0 || pane >= kPanes ? QRect() : panes_[static_cast<std::size_t>(pane)]->geometry();
}

} // namespace quillmarsh
