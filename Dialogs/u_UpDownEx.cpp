#include "u_UpDownEx.h"

#include <QBoxLayout>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStyle>
#include <QToolButton>
#include <QVariant>

namespace {
const char *const TextProperty = "text";
}

TUpDownEx::TUpDownEx(QWidget *parent)
    : QWidget(parent), m_next(new QToolButton(this)), m_prev(new QToolButton(this))
{
    for (QToolButton *button : {m_next, m_prev}) {
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    }
    connect(m_next, &QToolButton::clicked, this, [this] { step(true); });
    connect(m_prev, &QToolButton::clicked, this, [this] { step(false); });

    m_core.OnChanging = [this](bool &allow) {
        if (OnChanging)
            OnChanging(this, allow);
    };
    m_core.OnChangingEx = [this](bool &allow, std::int16_t value, TUpDownDirection direction) {
        if (OnChangingEx)
            OnChangingEx(this, allow, value, direction);
    };
    m_core.OnClick = [this](TUDBtnType button) {
        if (OnClick)
            OnClick(this, button);
    };

    // As wide as a scroll bar, and one and a half arrows high.
    const int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    setFixedSize(extent, extent + extent / 2);
    setArrowKeys(true);
    arrangeButtons();
}

void TUpDownEx::setArrowKeys(bool on)
{
    m_arrowKeys = on;
    setFocusPolicy(on ? Qt::StrongFocus : Qt::NoFocus);
}

void TUpDownEx::setOrientation(TUDOrientation orientation)
{
    if (orientation == m_orientation)
        return;
    m_orientation = orientation;
    setFixedSize(height(), width());
    arrangeButtons();
}

void TUpDownEx::arrangeButtons()
{
    delete layout();
    const bool vertical = m_orientation == udVertical;
    m_next->setArrowType(vertical ? Qt::UpArrow : Qt::RightArrow);
    m_prev->setArrowType(vertical ? Qt::DownArrow : Qt::LeftArrow);
    auto *box = new QBoxLayout(vertical ? QBoxLayout::TopToBottom : QBoxLayout::LeftToRight, this);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(0);
    box->addWidget(vertical ? m_next : m_prev);
    box->addWidget(vertical ? m_prev : m_next);
}

void TUpDownEx::setAssociate(QWidget *control)
{
    if (control && parentWidget()) {
        for (TUpDownEx *other : parentWidget()->findChildren<TUpDownEx *>(Qt::FindDirectChildrenOnly)) {
            if (other != this && other->Associate() == control)
                throw EInvalidOperation(QStringLiteral("%1 ist bereits mit %2 verknüpft")
                                            .arg(control->objectName(), other->objectName()));
        }
    }
    forgetAssociate();
    if (!control || control->parentWidget() != parentWidget() || qobject_cast<TUpDownEx *>(control))
        return;

    m_associate = control;
    connect(control, &QObject::destroyed, this, &TUpDownEx::forgetAssociate);
    m_core.setAssociate({[control] { return control->property(TextProperty).toString(); },
                         [control](const QString &text) { control->setProperty(TextProperty, text); }});
    // The buttons stand as high as the control they belong to.
    setFixedHeight(control->height());
    if (auto *edit = qobject_cast<QLineEdit *>(control))
        edit->setText(QString::number(m_core.Position()));
}

void TUpDownEx::forgetAssociate()
{
    if (m_associate)
        disconnect(m_associate, &QObject::destroyed, this, &TUpDownEx::forgetAssociate);
    m_associate = nullptr;
    m_core.setAssociate({});
}

void TUpDownEx::keyPressEvent(QKeyEvent *event)
{
    if (m_arrowKeys && (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down)) {
        step(event->key() == Qt::Key_Up);
        return;
    }
    QWidget::keyPressEvent(event);
}

void TUpDownEx::changeEvent(QEvent *event)
{
    // The parent switched to right-to-left: the buttons go to the other side.
    if (event->type() == QEvent::LayoutDirectionChange)
        m_align = m_align == udRight ? udLeft : udRight;
    QWidget::changeEvent(event);
}
