#include "PortChooser.h"

#include "LogWriter.h"
#include "SerialPort.h"
#include "Utils.h"

#include <QEvent>
#include <QMenuBar>

namespace {
// Port names are drawn in blue (a Windows colour value).
constexpr TColor PortTextColour = clBlue;
// The design's width, kept while every port name fits.
constexpr int DesignWidth = 145;
// Room above and below the chooser in the menu bar's row.
constexpr int RowGap = 1;
}

PortChooser::PortChooser(QWidget *parent)
    : QComboBox(parent), m_lister([] { return SerialPort::availablePorts(); })
{
    setSizeAdjustPolicy(QComboBox::AdjustToContents);
    setMinimumWidth(DesignWidth);
    // Blue while usable; a disabled chooser keeps the style's disabled colours.
    QPalette palette = this->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
        for (QPalette::ColorRole role : {QPalette::ButtonText, QPalette::Text})
            palette.setColor(group, role, ColourFromBgr(PortTextColour));
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
    place();
}

void PortChooser::anchorTo(QMenuBar *bar)
{
    m_bar = bar;
    bar->installEventFilter(this);
    parentWidget()->installEventFilter(this);
    place();
}

bool PortChooser::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::Resize:
    case QEvent::Move:
    case QEvent::LayoutRequest:
        place();
        break;
    default:
        break;
    }
    return QComboBox::eventFilter(watched, event);
}

void PortChooser::place()
{
    if (!m_bar)
        return;
    const QSize size = sizeHint().expandedTo(minimumSize());
    m_bar->setMinimumHeight(size.height() + 2 * RowGap);
    const int top = m_bar->y() + (m_bar->height() - size.height()) / 2;
    setGeometry(parentWidget()->width() - size.width() - RightMargin, std::max(0, top),
                size.width(), size.height());
    raise();
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
