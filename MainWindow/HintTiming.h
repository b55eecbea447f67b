#pragma once

#include <QObject>

// The application's tool-tip delays: how long the mouse must rest before a
// tip shows, and how long it stays. Installed once; values in milliseconds.
namespace HintTiming {
void install();
int pause();
int hidePause();
void setPause(int milliseconds);
void setHidePause(int milliseconds);  // 0 leaves Qt's own display time
}
