#pragma once

#include "UiHooks.h"

// The core's user-interface needs, answered by message boxes and the screen cursor.
class GuiUiHooks : public UiHooks {
public:
    void showError(const QString &title, const QString &text) override;
    void showMessage(const QString &text) override;
    void setBusyCursor(bool busy) override;
};
