#include "PageHost.h"

#include <QEvent>

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
    // Raising a short page moves the log; a new size hint (other texts) changes its height.
    page->installEventFilter(this);
    m_shortPages << page;
}

void PageHost::setLogPanel(QWidget *panel)
{
    place(panel);
    m_log = panel;
}

int PageHost::shortPageHeight(const QWidget *page) const
{
    const int logHeight = m_log ? m_log->minimumSizeHint().height() : 0;
    return std::min(page->sizeHint().height(), std::max(0, height() - logHeight));
}

const QWidget *PageHost::frontShortPage() const
{
    const QList<QWidget *> order = stackingOrder();
    for (auto page = order.crbegin(); page != order.crend(); ++page) {
        if (m_shortPages.contains(*page))
            return *page;
    }
    return nullptr;
}

void PageHost::placePages()
{
    for (QWidget *page : m_fullPages)
        page->setGeometry(rect());
    for (QWidget *page : m_shortPages)
        page->setGeometry(0, 0, width(), shortPageHeight(page));
    if (m_log) {
        const QWidget *front = frontShortPage();
        const int top = front ? front->height() : 0;
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
    if (event->type() == QEvent::ZOrderChange || event->type() == QEvent::LayoutRequest)
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
