#pragma once

#include <functional>

// Waits the given time while the user interface keeps handling its events;
// returns early when the application is terminating.
void Delay(int milliseconds);

// Tests see each wait before it begins, with its length: a simulated device
// can then take in what the host sent before the pause, as a real line would
// have delivered it by then. An empty observer removes it.
void setDelayObserver(std::function<void(int)> observer);
