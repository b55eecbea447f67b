#include "PageHost.h"

namespace {
// The log keeps at least this much of the area when a short page grows tall.
constexpr int MinimumLogHeight = 120;
}

PageHost::PageHost(QWidget *parent) : QWidget(parent) {}

void PageHost::place(QWidget *page)
{
    page->setParent(this);
    page->setAutoFillBackground(true);
}

void PageHost::addFullPage(QWidget *page)
{
    place(page);
    m_fullPages << page;
}

void PageHost::addShortPage(QWidget *page)
{
    place(page);
    m_shortPages << page;
}

void PageHost::setLogPanel(QWidget *panel)
{
    place(panel);
    m_log = panel;
}

int PageHost::shortPageHeight() const
{
    int height = 0;
    for (const QWidget *page : m_shortPages)
        height = std::max(height, page->sizeHint().height());
    return std::min(height, std::max(0, this->height() - MinimumLogHeight));
}

void PageHost::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    for (QWidget *page : m_fullPages)
        page->setGeometry(rect());
    for (QWidget *page : m_shortPages)
        page->setGeometry(rect());
    if (m_log) {
        const int top = shortPageHeight();
        m_log->setGeometry(0, top, width(), height() - top);
    }
}

QList<QWidget *> PageHost::stackingOrder() const
{
    QList<QWidget *> order;
    for (QObject *child : children()) {
        if (auto *widget = qobject_cast<QWidget *>(child))
            order << widget;
    }
    return order;
}
