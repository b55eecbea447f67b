#pragma once

// Waits the given time while the user interface keeps handling its events;
// returns early when the application is terminating.
void Delay(int milliseconds);
