#include "ui/IntegerInput.h"

#include <QKeyEvent>

#include <cstdint>
#include <limits>

namespace quillmarsh {

QString NormaliseIntegerText(const QString& text)
{
    qsizetype i = 0;
    auto blank = [](QChar c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); };
    while (i < text.size() && blank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        negative = text[i++] == u'-';
    std::int64_t value = 0;
    constexpr std::int64_t kLimit = std::int64_t{1} << 32; // beyond the clamp; no need to count further
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i)
        value = value >= kLimit ? kLimit : value * 10 + (text[i].unicode() - u'0');
    if (negative)
        value = -value;
    value = std::max<std::int64_t>(std::numeric_limits<std::int32_t>::min(),
                                   std::min<std::int64_t>(std::numeric_limits<std::int32_t>::max(), value));
    return value == 0 ? QString() : QString::number(value);
}

IntegerInput::IntegerInput(QWidget* parent) : QLineEdit(parent) { setAlignment(Qt::AlignCenter); }

void IntegerInput::keyPressEvent(QKeyEvent* event)
{
    const QString typed = event->text();
    if (!typed.isEmpty() && typed[0].isPrint() && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        for (QChar c : typed) {
            if (c != u'-' && !(c >= u'0' && c <= u'9')) {
                event->accept(); // dropped
                return;
            }
        }
    }
    QLineEdit::keyPressEvent(event);
}

void IntegerInput::focusOutEvent(QFocusEvent* event)
{
    const QString normal = NormaliseIntegerText(text());
    if (normal != text())
        setText(normal);
    QLineEdit::focusOutEvent(event);
}

} // namespace quillmarsh
