#include "PortChooser.h"

#include "LogWriter.h"
#include "SerialPort.h"
#include "Utils.h"

namespace {
// Port names are drawn in blue (a Windows colour value).
constexpr TColor PortTextColour = clBlue;
}

PortChooser::PortChooser(QWidget *parent)
    : QComboBox(parent), m_lister([] { return SerialPort::availablePorts(); })
{
    setSizeAdjustPolicy(QComboBox::AdjustToContents);
    QPalette palette = this->palette();
    palette.setColor(QPalette::ButtonText, ColourFromBgr(PortTextColour));
    palette.setColor(QPalette::Text, ColourFromBgr(PortTextColour));
    setPalette(palette);
    connect(this, &QComboBox::activated, this, [this](int index) {
        if (index >= 0)
            CurrentComPort = itemText(index);
    });
}

void PortChooser::setPortLister(std::function<QStringList()> lister)
{
    m_lister = std::move(lister);
}

void PortChooser::setItems(const QStringList &ports)
{
    clear();
    for (const QString &port : ports) {
        addItem(port);
        setItemData(count() - 1, ColourFromBgr(PortTextColour), Qt::ForegroundRole);
    }
}

void PortChooser::refill()
{
    QStringList ports = m_lister();
    ports.sort();
    // Linux device names are case-sensitive, unlike the COM names of the design.
    if (!ports.contains(CurrentComPort))
        ports << CurrentComPort;
    setItems(ports);
}

void PortChooser::selectCurrentPort()
{
    setCurrentIndex(findText(CurrentComPort, Qt::MatchExactly | Qt::MatchCaseSensitive));
}

void PortChooser::showPopup()
{
    refill();
    setCurrentIndex(-1);
    QComboBox::showPopup();
}

void PortChooser::hidePopup()
{
    QComboBox::hidePopup();
    if (currentIndex() >= 0)
        CurrentComPort = currentText();
    else
        selectCurrentPort();
}
