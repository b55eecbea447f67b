#include "HexView.h"

#include "HexContainer.h"

#include <QHeaderView>

HexView::HexView(const THexContainer &image, std::function<int()> deviceSize, QWidget *parent)
    : QTableView(parent), m_image(image), m_deviceSize(std::move(deviceSize))
{
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    verticalHeader()->hide();
}

void HexView::imageChanged()
{
    viewport()->update();
}
