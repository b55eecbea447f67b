#include "HintTiming.h"

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

// Shows a widget's own tool tip for the configured time.
class HintFilter : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::ToolTip || hidePauseValue <= 0)
            return false;
        auto *widget = qobject_cast<QWidget *>(watched);
        if (!widget || widget->toolTip().isEmpty())
            return false;
        auto *help = static_cast<QHelpEvent *>(event);
        QToolTip::showText(help->globalPos(), widget->toolTip(), widget, {}, hidePauseValue);
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
}
