#pragma once

#include <QList>
#include <QWidget>

// The page area right of the navigation list. All pages lie on top of each
// other and the one raised last is in front. Full pages fill the area; the
// log panel fills the area below the tallest of the short pages, so that it
// shows together with a short page when it is raised after it.
class PageHost : public QWidget {
    Q_OBJECT
public:
    explicit PageHost(QWidget *parent = nullptr);
    void addFullPage(QWidget *page);
    void addShortPage(QWidget *page);
    void setLogPanel(QWidget *panel);
    // The pages from back to front.
    QList<QWidget *> stackingOrder() const;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void place(QWidget *page);
    int shortPageHeight() const;
    QList<QWidget *> m_fullPages;
    QList<QWidget *> m_shortPages;
    QWidget *m_log = nullptr;
};
