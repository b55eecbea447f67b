#pragma once

#include <QString>

// An exclusive lock on a file, taken without waiting and held until the
// object ends. The system drops it with the process however that ends (a
// crash or a kill included), so a lock is never left behind; the file itself
// stays, because removing it would let a later start lock a file that another
// start has just opened under the same name.
class ExclusiveFileLock {
public:
    enum class Result { Taken, HeldByAnother, Failed };

    ExclusiveFileLock() = default;
    ~ExclusiveFileLock();
    ExclusiveFileLock(ExclusiveFileLock &&other) noexcept;
    ExclusiveFileLock &operator=(ExclusiveFileLock &&other) noexcept;
    ExclusiveFileLock(const ExclusiveFileLock &) = delete;
    ExclusiveFileLock &operator=(const ExclusiveFileLock &) = delete;

    // Opens the file (created with mode 0600 when missing) and locks it; a
    // lock held before is given up only once the new one is taken (the file
    // this object holds already counts as held by another). Failed (with a
    // line on stderr) when the file cannot be opened or locked.
    Result tryLock(const QString &path);
    bool isLocked() const { return m_fd >= 0; }
    // Gives the lock up at once (nothing when none is held).
    void release();

private:
    int m_fd = -1;
};
