#pragma once

#include <QLineEdit>

namespace quillmarsh {

// The page-count text as the box keeps it once the focus has left: read as a signed 64-bit
// decimal (leading blanks, an optional sign, the digits up to the first other character), clamped
// to the 32-bit range, written back plainly; 0 gives empty text. "007" -> "7", "12abc" -> "12".
QString NormaliseIntegerText(const QString& text);

// An edit box for integers: typing admits only "-" and the digits (control keys work as usual;
// text an input method commits is filtered the same way),
// pasted text is left as it is until the focus leaves, and then the text is normalised.
class IntegerInput final : public QLineEdit {
    Q_OBJECT
public:
    explicit IntegerInput(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

} // namespace quillmarsh
