#pragma once

#include <functional>

// A plain sleep of the calling thread. Tests replace it to run start-up
// pauses and power cycles without waiting.
void SleepMs(int milliseconds);
void setSleepFunction(std::function<void(int)> sleeper);  // empty restores the real sleep
