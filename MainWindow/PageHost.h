#pragma once

#include <QList>
#include <QWidget>

// The page area right of the navigation list. All pages lie on top of each
// other and the one raised last is in front. Full pages fill the area. A short
// page takes its own height at the top; the log panel, raised after it, takes
// the rest below it and grows with the area, never shrinking below its own
// minimum height.
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
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void place(QWidget *page);
    void placePages();
    int shortPageHeight(const QWidget *page) const;
    // The short page highest in the stacking order, the one the log lies below.
    const QWidget *frontShortPage() const;
    QList<QWidget *> m_fullPages;
    QList<QWidget *> m_shortPages;
    QWidget *m_log = nullptr;
};
