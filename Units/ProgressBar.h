#pragma once

// The progress bar that device operations step. The main window hands in its
// own; tests hand in a recorder.
class ProgressBar {
public:
    virtual ~ProgressBar() = default;
    virtual void setMinimum(int value) = 0;
    virtual void setMaximum(int value) = 0;
    virtual void setPosition(int value) = 0;
    virtual int minimum() const = 0;
    virtual int maximum() const = 0;
    virtual int position() const = 0;
    void stepIt() { setPosition(position() + 1); }
};
