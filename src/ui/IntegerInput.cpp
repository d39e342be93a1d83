#include "ui/IntegerInput.h"

#include "collect/CollectResumes.h"

#include <QInputMethodEvent>
#include <QKeyEvent>

#include <algorithm>
#include <cstdint>
#include <limits>

namespace quillmarsh {

QString NormaliseIntegerText(const QString& text)
{
    const std::int64_t value = std::clamp<std::int64_t>(
        ParseLeadingInteger(std::u16string_view(
            reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size()))),
        std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max());
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

void IntegerInput::inputMethodEvent(QInputMethodEvent* event)
{
    QString kept;
    for (QChar c : event->commitString())
        if (c == u'-' || (c >= u'0' && c <= u'9'))
            kept += c;
    if (kept == event->commitString()) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent filtered(event->preeditString(), event->attributes());
    filtered.setCommitString(kept, event->replacementStart(), event->replacementLength());
    QLineEdit::inputMethodEvent(&filtered);
}

void IntegerInput::focusOutEvent(QFocusEvent* event)
{
    const QString normal = NormaliseIntegerText(text());
    if (normal != text())
        setText(normal);
    QLineEdit::focusOutEvent(event);
}

} // namespace quillmarsh
