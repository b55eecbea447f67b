#include "PageHost.h"

#include <QEvent>

PageHost::PageHost(QWidget *parent) : QWidget(parent) {}

void PageHost::place(QWidget *page)
{
    page->setParent(this);
    page->setAutoFillBackground(true);
    showFrontPages();
}

void PageHost::addFullPage(QWidget *page)
{
    place(page);
    m_fullPages << page;
}

void PageHost::addShortPage(QWidget *page)
{
    place(page);
    // A new size hint (other texts) changes its height and so the log's place.
    page->installEventFilter(this);
    m_shortPages << page;
}

void PageHost::setLogPanel(QWidget *panel)
{
    m_log = panel;
    place(panel);
}

int PageHost::shortPageHeight(const QWidget *page) const
{
    const int logHeight = m_log ? m_log->minimumSizeHint().height() : 0;
    return std::min(page->sizeHint().height(), std::max(0, height() - logHeight));
}

QWidget *PageHost::frontPage() const
{
    QList<QWidget *> order = stackingOrder();
    order.removeAll(m_log);
    return order.isEmpty() ? nullptr : order.last();
}

void PageHost::showFrontPages()
{
    QWidget *front = frontPage();
    const QList<QWidget *> order = stackingOrder();
    const bool logOverFront = m_log && order.indexOf(m_log) > order.indexOf(front);
    // Shown before the others hide, so that a focus leaving a hidden page finds a shown one.
    if (front)
        front->show();
    if (m_log)
        m_log->setVisible(logOverFront);
    for (QWidget *page : order) {
        if (page != front && page != m_log)
            page->hide();
    }
}

void PageHost::bringToFront(QWidget *page)
{
    page->raise();
    showFrontPages();
    placePages();
}

void PageHost::placePages()
{
    for (QWidget *page : m_fullPages)
        page->setGeometry(rect());
    for (QWidget *page : m_shortPages)
        page->setGeometry(0, 0, width(), shortPageHeight(page));
    if (m_log) {
        const QWidget *front = frontPage();
        const int top = m_shortPages.contains(front) ? front->height() : 0;
        m_log->setGeometry(0, top, width(), height() - top);
    }
}

void PageHost::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placePages();
}

bool PageHost::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::LayoutRequest)
        placePages();
    return QWidget::eventFilter(watched, event);
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
