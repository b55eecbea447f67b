#pragma once

#include "Exceptions.h"
#include "UpDownCore.h"

#include <QPointer>
#include <QWidget>

class QToolButton;

// Raised when a control is made the associate of a second spin control.
class EInvalidOperation : public Exception {
public:
    using Exception::Exception;
};

// A pair of auto-repeating arrow buttons that steps a number between Min and
// Max and shows it in a neighbouring control, its associate, as
// Prefix + number + Suffix. The rules live in UpDownCore; this widget adds the
// buttons, the arrow keys and the association with a sibling control.
// Unlike a spin box it neither clamps what the caller sets nor rewrites the
// associate when Position is set: the caller writes that text itself.
class TUpDownEx : public QWidget {
    Q_OBJECT
public:
    explicit TUpDownEx(QWidget *parent = nullptr);

    TUDAlignButton AlignButton() const { return m_align; }
    void setAlignButton(TUDAlignButton align) { m_align = align; }
    bool ArrowKeys() const { return m_arrowKeys; }
    void setArrowKeys(bool on);
    TUDOrientation Orientation() const { return m_orientation; }
    void setOrientation(TUDOrientation orientation);

    QWidget *Associate() const { return m_associate; }
    // Raises EInvalidOperation when a sibling spin control already shows its
    // number there. A control of another parent, or another spin control, is
    // silently not associated, and the old association is gone all the same.
    void setAssociate(QWidget *control);

    std::int16_t Min() const { return m_core.Min(); }
    std::int16_t Max() const { return m_core.Max(); }
    void setMin(std::int16_t value) { m_core.setMin(value); }
    void setMax(std::int16_t value) { m_core.setMax(value); }
    std::int32_t Increment() const { return m_core.Increment(); }
    void setIncrement(std::int32_t value) { m_core.setIncrement(value); }
    std::int16_t Position() { return m_core.Position(); }
    void setPosition(std::int16_t value) { m_core.setPosition(value); }
    QString Prefix() const { return m_core.Prefix(); }
    QString Suffix() const { return m_core.Suffix(); }
    void setPrefix(const QString &prefix) { m_core.setPrefix(prefix); }
    void setSuffix(const QString &suffix) { m_core.setSuffix(suffix); }
    bool Thousands() const { return m_core.Thousands(); }
    void setThousands(bool on) { m_core.setThousands(on); }
    bool Wrap() const { return m_core.Wrap(); }
    void setWrap(bool on) { m_core.setWrap(on); }

    // The events, given the spin control as sender.
    std::function<void(TUpDownEx *sender, bool &allowChange)> OnChanging;
    std::function<void(TUpDownEx *sender, bool &allowChange, std::int16_t newValue,
                       TUpDownDirection direction)> OnChangingEx;
    std::function<void(TUpDownEx *sender, TUDBtnType button)> OnClick;

    // One step, as a click on the next (up) or previous (down) arrow.
    void step(bool up) { m_core.step(up); }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void arrangeButtons();
    void forgetAssociate();

    UpDownCore m_core;
    QPointer<QWidget> m_associate;
    QToolButton *m_next;
    QToolButton *m_prev;
    TUDAlignButton m_align = udRight;
    TUDOrientation m_orientation = udVertical;
    bool m_arrowKeys = true;
};
