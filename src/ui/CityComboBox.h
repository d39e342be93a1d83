#pragma once

#include <QComboBox>

namespace quillmarsh {

// An editable drop-down box whose selected index follows the user: choosing an item selects it,
// and typed text selects the item it names exactly, or none (-1).
class CityComboBox final : public QComboBox {
    Q_OBJECT
public:
    explicit CityComboBox(QWidget* parent = nullptr);

    int SelectedIndex() const { return selected_; }
    // Selects an item (or none with -1) and shows its text, as choosing it from the list does.
    void Select(int index);

private:
    int selected_ = -1;
};

} // namespace quillmarsh
