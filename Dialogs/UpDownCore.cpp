#include "UpDownCore.h"

#include <QLocale>
#include <algorithm>

void UpDownCore::setMin(std::int16_t value)
{
    m_min = value;
    m_control = clamped(m_control);
}

void UpDownCore::setMax(std::int16_t value)
{
    m_max = value;
    m_control = clamped(m_control);
}

std::int16_t UpDownCore::clamped(int value) const
{
    // A range given upside down still holds the control between its two ends.
    return std::int16_t(std::clamp(value, int(std::min(m_min, m_max)), int(std::max(m_min, m_max))));
}

std::int16_t UpDownCore::Position()
{
    m_stored = m_control;
    return m_stored;
}

void UpDownCore::setPosition(std::int16_t value)
{
    if (value == m_stored)
        return;
    if (!CanChange(value, std::int16_t(value - m_stored)))
        return;
    m_stored = value;
    m_control = clamped(value);
}

void UpDownCore::setPrefix(const QString &prefix)
{
    m_prefix = prefix;
    UpdateAssociateText();
}

void UpDownCore::setSuffix(const QString &suffix)
{
    m_suffix = suffix;
    UpdateAssociateText();
}

void UpDownCore::UpdateAssociateText()
{
    if (hasAssociate())
        m_associate.setText(m_prefix + QString::number(Position()) + m_suffix);
}

bool UpDownCore::CanChange(std::int16_t newValue, std::int16_t delta)
{
    bool allowChange = true;
    TUpDownDirection direction = updNone;
    const bool pastEnd = (newValue < m_min && delta < 0) || (newValue > m_max && delta > 0);
    if (!pastEnd)
        direction = delta < 0 ? updDown : delta > 0 ? updUp : updNone;
    if (OnChanging)
        OnChanging(allowChange);
    if (OnChangingEx)
        OnChangingEx(allowChange, newValue, direction);
    return allowChange;
}

std::optional<int> UpDownCore::associateNumber() const
{
    if (!m_associate.text)
        return std::nullopt;
    const QString text = m_associate.text().trimmed();
    bool ok = false;
    const int number = m_thousands ? QLocale().toInt(text, &ok) : text.toInt(&ok);
    return ok ? std::optional<int>(number) : std::nullopt;
}

QString UpDownCore::bareNumber(int value) const
{
    return m_thousands ? QLocale().toString(value) : QString::number(value);
}

void UpDownCore::step(bool up)
{
    if (const std::optional<int> number = associateNumber())
        m_control = clamped(*number);
    const int delta = up ? m_increment : -m_increment;
    if (CanChange(std::int16_t(m_control + delta), std::int16_t(delta))) {
        const int target = m_control + delta;
        if (target > m_max)
            m_control = m_wrap ? m_min : m_max;
        else if (target < m_min)
            m_control = m_wrap ? m_max : m_min;
        else
            m_control = std::int16_t(target);
        if (hasAssociate())
            m_associate.setText(bareNumber(m_control));
    }
    // The arrow control reports where it stands, also after a refused change.
    if (m_control != m_stored && OnClick)
        OnClick(m_control > m_stored ? btNext : btPrev);
    m_stored = m_control;
    UpdateAssociateText();
}
