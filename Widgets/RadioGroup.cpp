#include "RadioGroup.h"

#include <QVBoxLayout>

RadioGroup::RadioGroup(QWidget *parent) : QGroupBox(parent)
{
    new QVBoxLayout(this);
}

void RadioGroup::addItem(const QString &text)
{
    auto *button = new QRadioButton(text, this);
    m_group.addButton(button, static_cast<int>(m_buttons.size()));
    m_buttons << button;
    layout()->addWidget(button);
}

void RadioGroup::setItemIndex(int index)
{
    if (index >= 0 && index < count()) {
        m_buttons.at(index)->setChecked(true);
        return;
    }
    // An exclusive group cannot be emptied by unchecking its one checked button.
    m_group.setExclusive(false);
    for (QRadioButton *button : m_buttons)
        button->setChecked(false);
    m_group.setExclusive(true);
}

void RadioGroup::setItemText(int index, const QString &text)
{
    m_buttons.at(index)->setText(text);
}
