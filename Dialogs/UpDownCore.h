#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

// The spin control's types.
enum TUDAlignButton { udLeft = 0, udRight = 1 };
enum TUDOrientation { udHorizontal = 0, udVertical = 1 };
enum TUpDownDirection { updNone = 0, updUp = 1, updDown = 2 };
enum TUDBtnType { btNext = 0, btPrev = 1 };

// The number behind the spin control, without any widget. It keeps two
// positions, as the arrow control it models does: the position last set or
// reported (the stored one), and the arrow control's own, which never leaves
// Min..Max. Reading Position gives the arrow control's and stores it, so a
// value set outside the range is stored as it is but reads back clamped.
// The associate's text is refreshed with Prefix and Suffix only when they
// change and after each step, never when Position is set.
class UpDownCore {
public:
    using ChangingEvent = std::function<void(bool &allowChange)>;
    using ChangingEventEx =
        std::function<void(bool &allowChange, std::int16_t newValue, TUpDownDirection direction)>;
    using ClickEvent = std::function<void(TUDBtnType button)>;

    // The associate as the core sees it: read and write its text.
    struct Associate {
        std::function<QString()> text;
        std::function<void(const QString &)> setText;
    };

    std::int16_t Min() const { return m_min; }
    std::int16_t Max() const { return m_max; }
    void setMin(std::int16_t value);
    void setMax(std::int16_t value);
    std::int32_t Increment() const { return m_increment; }
    void setIncrement(std::int32_t value) { m_increment = value; }
    bool Wrap() const { return m_wrap; }
    void setWrap(bool wrap) { m_wrap = wrap; }
    bool Thousands() const { return m_thousands; }
    void setThousands(bool thousands) { m_thousands = thousands; }

    std::int16_t Position();
    void setPosition(std::int16_t value);
    std::int16_t storedPosition() const { return m_stored; }

    QString Prefix() const { return m_prefix; }
    QString Suffix() const { return m_suffix; }
    void setPrefix(const QString &prefix);
    void setSuffix(const QString &suffix);

    // Without an associate (empty functions) nothing is shown anywhere.
    void setAssociate(Associate associate) { m_associate = std::move(associate); }
    bool hasAssociate() const { return bool(m_associate.setText); }
    // Writes Prefix + position + Suffix into the associate.
    void UpdateAssociateText();

    // One click on an arrow or one arrow key: up for the next value. The
    // change is offered to the events first; the text is refreshed either way.
    void step(bool up);

    // Asks the events whether the position may become newValue.
    bool CanChange(std::int16_t newValue, std::int16_t delta);

    ChangingEvent OnChanging;
    ChangingEventEx OnChangingEx;
    ClickEvent OnClick;

private:
    std::int16_t clamped(int value) const;
    // A plain number in the associate is where the arrow control goes on from.
    std::optional<int> associateNumber() const;
    QString bareNumber(int value) const;

    std::int16_t m_min = 0;
    std::int16_t m_max = 100;
    std::int32_t m_increment = 1;
    bool m_wrap = false;
    bool m_thousands = true;
    std::int16_t m_stored = 0;
    std::int16_t m_control = 0;  // the arrow control's position
    QString m_prefix;
    QString m_suffix;
    Associate m_associate;
};
