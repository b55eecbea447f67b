#pragma once

#include <QComboBox>
#include <QStringList>
#include <functional>

// The port chooser in the menu row. Opening it lists the system's ports
// afresh; the port in use (CurrentComPort) is always among the items. Every
// user choice, made in the open list or with keys or the wheel on the closed
// box, makes the chosen port the one in use.
class PortChooser : public QComboBox {
    Q_OBJECT
public:
    explicit PortChooser(QWidget *parent = nullptr);

    // Tests list ports of their own; the default asks the system.
    void setPortLister(std::function<QStringList()> lister);

    // The items become the sorted system ports plus CurrentComPort when missing.
    void refill();
    // Selects the item equal to CurrentComPort.
    void selectCurrentPort();

    void showPopup() override;
    void hidePopup() override;

private:
    void setItems(const QStringList &ports);
    std::function<QStringList()> m_lister;
};
