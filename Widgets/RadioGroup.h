#pragma once

#include <QButtonGroup>
#include <QGroupBox>
#include <QList>
#include <QRadioButton>

// A titled group of radio buttons chosen by index, -1 for none.
class RadioGroup : public QGroupBox {
    Q_OBJECT
public:
    explicit RadioGroup(QWidget *parent = nullptr);
    void addItem(const QString &text);
    int count() const { return static_cast<int>(m_buttons.size()); }
    int itemIndex() const { return m_group.checkedId(); }
    void setItemIndex(int index);
    // Replaces an item's text in place; the selection stays.
    void setItemText(int index, const QString &text);
    QString itemText(int index) const { return m_buttons.at(index)->text(); }

private:
    QButtonGroup m_group;
    QList<QRadioButton *> m_buttons;
};
