#include "HexByteEdit.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpressionValidator>

namespace {
constexpr int ByteDigits = 2;

// Accepts up to two hexadecimal digits, upper-casing them, so that paste
// meets the same rule as typing.
class HexByteValidator : public QRegularExpressionValidator {
public:
    explicit HexByteValidator(QObject *parent)
        : QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9A-F]{0,2}")), parent)
    {
    }
    State validate(QString &input, int &position) const override
    {
        input = input.toUpper();
        return QRegularExpressionValidator::validate(input, position);
    }
};

bool isHexDigit(QChar c)
{
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || (c >= QLatin1Char('A') && c <= QLatin1Char('F'))
        || (c >= QLatin1Char('a') && c <= QLatin1Char('f'));
}

// A typed character the edit refuses. Control characters (Backspace,
// shortcuts) pass.
bool refused(const QLineEdit &edit, const QString &typed)
{
    if (typed.isEmpty() || !typed[0].isPrint())
        return false;
    return !isHexDigit(typed[0]) || (edit.text().size() >= ByteDigits && !edit.hasSelectedText());
}
}

HexByteEdit::HexByteEdit(QLineEdit *edit, std::function<void()> onEnter, std::function<void()> onExit)
    : QObject(edit), m_edit(edit), m_onEnter(std::move(onEnter)), m_onExit(std::move(onExit))
{
    edit->setValidator(new HexByteValidator(edit));
    edit->installEventFilter(this);
}

bool HexByteEdit::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_edit)
        return false;
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            m_onEnter();
            return true;
        }
        return refused(*m_edit, key->text());
    }
    if (event->type() == QEvent::FocusOut && FocusMovedWithinWindow(static_cast<QFocusEvent *>(event)->reason()))
        m_onExit();
    return false;
}

bool FocusMovedWithinWindow(Qt::FocusReason reason)
{
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}
