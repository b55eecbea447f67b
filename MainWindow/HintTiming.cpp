#include "HintTiming.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHelpEvent>
#include <QProxyStyle>
#include <QToolTip>
#include <QWidget>

namespace {
int pauseValue = -1;  // -1: the platform style's own delay
int hidePauseValue = 0;

class HintStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override
    {
        if (hint == SH_ToolTip_WakeUpDelay && pauseValue >= 0)
            return pauseValue;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

HintTiming::ShowFunction showFunction;

void showHint(const QPoint &globalPos, const QString &text, QWidget *widget, const QRect &rect)
{
    if (showFunction)
        showFunction(globalPos, text, widget, rect, hidePauseValue);
    else
        QToolTip::showText(globalPos, text, widget, rect, hidePauseValue);
}

// An item view's tips belong to its entries, and its viewport receives the
// tip event; shown here, they stay as long as the widgets' own tips do.
bool showItemHint(QWidget *viewport, const QHelpEvent &help)
{
    auto *view = qobject_cast<QAbstractItemView *>(viewport->parentWidget());
    if (!view || view->viewport() != viewport)
        return false;
    const QModelIndex index = view->indexAt(help.pos());
    const QString text = index.data(Qt::ToolTipRole).toString();
    if (text.isEmpty())
        return false;  // the view hides a tip that no longer applies
    showHint(help.globalPos(), text, viewport, view->visualRect(index));
    return true;
}

// Shows tips for the configured time.
class HintFilter : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::ToolTip || hidePauseValue <= 0)
            return false;
        auto *widget = qobject_cast<QWidget *>(watched);
        if (!widget)
            return false;
        const auto &help = *static_cast<QHelpEvent *>(event);
        if (widget->toolTip().isEmpty())
            return showItemHint(widget, help);
        showHint(help.globalPos(), widget->toolTip(), widget, {});
        return true;
    }
};

bool installed = false;
}

namespace HintTiming {
void install()
{
    if (installed || !qApp)
        return;
    installed = true;
    pauseValue = qApp->style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay);
    QApplication::setStyle(new HintStyle(QApplication::style()->name()));
    qApp->installEventFilter(new HintFilter(qApp));
}

int pause()
{
    return pauseValue;
}

int hidePause()
{
    return hidePauseValue;
}

void setPause(int milliseconds)
{
    pauseValue = milliseconds;
}

void setHidePause(int milliseconds)
{
    hidePauseValue = milliseconds;
}

void setShowFunction(ShowFunction show)
{
    showFunction = std::move(show);
}
}
