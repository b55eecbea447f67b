#include "GuiUiHooks.h"

#include "ScreenCursor.h"
#include "UiServices.h"

#include <QApplication>

void GuiUiHooks::showError(const QString &title, const QString &text)
{
    uiServices().showError(QApplication::activeWindow(), title, text);
}

void GuiUiHooks::showMessage(const QString &text)
{
    uiServices().showMessage(QApplication::activeWindow(), text);
}

void GuiUiHooks::setBusyCursor(bool busy)
{
    if (busy)
        ScreenCursor::set(Qt::WaitCursor);
    else
        ScreenCursor::setDefault();
}
