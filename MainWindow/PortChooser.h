#pragma once

#include <QComboBox>
#include <QStringList>
#include <functional>

class QMenuBar;

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

    // Keeps the chooser whole in the menu bar's row, as wide as its longest port
    // and RightMargin pixels inside the right edge of its parent window.
    static constexpr int RightMargin = 16;
    void anchorTo(QMenuBar *bar);

    void showPopup() override;
    void hidePopup() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setItems(const QStringList &ports);
    void place();
    std::function<QStringList()> m_lister;
    QMenuBar *m_bar = nullptr;
};
