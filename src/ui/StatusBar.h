#pragma once

#include <QWidget>

#include <array>

class QLabel;

namespace quillmarsh {

// The five-pane status bar at the bottom of the window; panes are laid out by their right edges.
class StatusBar final : public QWidget {
    Q_OBJECT
public:
    explicit StatusBar(QWidget* parent = nullptr);

    static constexpr int kPanes = 5;
    // Sets the text of pane 0 to 4 and keeps it; any other index is ignored.
    void SetPaneText(int pane, const QString& text);
    QString PaneText(int pane) const;
    QRect PaneGeometry(int pane) const;

private:
    std::array<QLabel*, kPanes> panes_ {};
};

} // namespace quillmarsh
