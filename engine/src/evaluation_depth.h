// A bound on nested evaluation (definitions through definitions, groups in groups), so a
// pathological database fails as corrupt instead of exhausting the stack.
#pragma once

namespace kestrum {

inline constexpr int kMaxEvaluationDepth = 1000;

class EvaluationDepth {
public:
    explicit EvaluationDepth(int& depth) : m_depth(depth) { ++m_depth; }
    ~EvaluationDepth() { --m_depth; }
    EvaluationDepth(const EvaluationDepth&) = delete;
    EvaluationDepth& operator=(const EvaluationDepth&) = delete;
    bool exceeded() const { return m_depth > kMaxEvaluationDepth; }

private:
    int& m_depth;
};

}  // namespace kestrum
