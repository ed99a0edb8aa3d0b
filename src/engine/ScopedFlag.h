#pragma once

namespace kestrava::engine {

// Raises a flag for as long as it is in scope, also when a failure unwinds past it:
// "a snapshot is running", "a tick is running".
class ScopedFlag {
public:
    explicit ScopedFlag(bool& flag) : flag_(flag) { flag_ = true; }
    ~ScopedFlag() { flag_ = false; }
    ScopedFlag(const ScopedFlag&) = delete;
    ScopedFlag& operator=(const ScopedFlag&) = delete;

private:
    bool& flag_;
};

}  // namespace kestrava::engine
