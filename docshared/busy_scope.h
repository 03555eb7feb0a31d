#pragma once

namespace docshared {

// Counts as busy for its lifetime: a document is busy while one of its commands runs inside its
// own event pump, and the window must not close then. Scopes nest.
class BusyScope {
public:
    explicit BusyScope(int& count) : m_count(count) { ++m_count; }
    ~BusyScope() { --m_count; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    int& m_count;
};

} // namespace docshared
