// All or nothing under allocation failure: an edit first makes every change that may throw,
// each undone by an Undo if a later one throws, and only then the changes that cannot throw.
#pragma once

#include <utility>

namespace kestrum {

template <class F>
class Undo {
public:
    explicit Undo(F undo) : m_undo(std::move(undo)) {}
    ~Undo() {
        if (m_armed) m_undo();
    }
    Undo(const Undo&) = delete;
    Undo& operator=(const Undo&) = delete;
    void dismiss() { m_armed = false; }

private:
    F m_undo;
    bool m_armed = true;
};

}  // namespace kestrum
