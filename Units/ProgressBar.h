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

// Sets a bar up for a run of steps and returns it to 0 however the run ends.
// Without a bar (no main window to show one) it does nothing.
class ProgressRun {
public:
    ProgressRun(ProgressBar *bar, int steps) : m_bar(bar)
    {
        if (m_bar) {
            m_bar->setMinimum(0);
            m_bar->setMaximum(steps);
            m_bar->setPosition(0);
        }
    }
    ~ProgressRun()
    {
        if (m_bar)
            m_bar->setPosition(0);
    }
    ProgressRun(const ProgressRun &) = delete;
    ProgressRun &operator=(const ProgressRun &) = delete;

    void step()
    {
        if (m_bar)
            m_bar->stepIt();
    }
    void done(int steps)
    {
        if (m_bar)
            m_bar->setPosition(steps);
    }

private:
    ProgressBar *m_bar;
};
