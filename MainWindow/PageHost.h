#pragma once

#include <QList>
#include <QWidget>

// The page area right of the navigation list. The pages lie on top of each
// other; only the one in front is shown, the others are hidden, so that
// neither the keyboard nor assistive tools reach a page that cannot be seen.
// Full pages fill the area. A short page takes its own height at the top; the
// log panel, brought to the front after it, shows in the rest below it and
// grows with the area, never shrinking below its own minimum height.
// A page added is in front until another is brought there.
class PageHost : public QWidget {
    Q_OBJECT
public:
    explicit PageHost(QWidget *parent = nullptr);
    void addFullPage(QWidget *page);
    void addShortPage(QWidget *page);
    void setLogPanel(QWidget *panel);
    // Puts the page (or the log panel) over all others and shows what is in front.
    void bringToFront(QWidget *page);
    // The pages from back to front.
    QList<QWidget *> stackingOrder() const;

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void place(QWidget *page);
    void placePages();
    // Shows the front page, and the log when it lies over it; hides all others.
    void showFrontPages();
    int shortPageHeight(const QWidget *page) const;
    // The page highest in the stacking order, the log panel aside.
    QWidget *frontPage() const;
    QList<QWidget *> m_fullPages;
    QList<QWidget *> m_shortPages;
    QWidget *m_log = nullptr;
};
