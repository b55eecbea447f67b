#pragma once

// Work that may never end or may run out of memory, done in a child of the
// test process so that only the child pays: it is ended after a deadline and
// may be given a bound on its address space.
#include <QByteArray>
#include <functional>
#include <optional>

struct ChildLimits {
    // Wall-clock seconds after which the child is ended. A bound, not a
    // measure: many times what the work needs on a busy machine.
    unsigned deadlineSeconds = 60;
    // Bytes of address space the child may take beyond what it holds when it starts.
    std::optional<std::size_t> addressSpaceHeadroom;
};

// Runs work in a forked child within limits and returns the text it gave, or
// a text saying how the child ended otherwise (past its deadline, by a signal,
// or with an exception's message). The work must not touch the test's state
// that the parent relies on: its changes stay in the child.
QByteArray RunInChild(const std::function<QByteArray()> &work, const ChildLimits &limits = {});
