#include "ui/CityComboBox.h"

#include <QLineEdit>

namespace quillmarsh {

CityComboBox::CityComboBox(QWidget* parent) : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
    connect(this, &QComboBox::activated, this, [this](int index) { selected_ = index; });
    connect(lineEdit(), &QLineEdit::textEdited, this,
        [this](const QString& text) { selected_ = findText(text, Qt::MatchExactly); });
}

void CityComboBox::Select(int index)
{
    setCurrentIndex(index);
    selected_ = index >= 0 && index < count() ? index : -1;
}

} // namespace quillmarsh
