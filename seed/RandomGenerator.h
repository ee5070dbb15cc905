#pragma once

#include <cstdint>

/// The program's pseudo-random generator: draws in [0, 1) and a reseed that mixes a number
/// into the current state, so reseeding with the same number does not restart a sequence.
class RandomGenerator
{
public:
    explicit RandomGenerator(std::uint64_t state) : m_state(state) {}

    /// A generator starting from an unpredictable state.
    static RandomGenerator fromEntropy();

    void reseed(double number);
    /// The next number of the sequence, a single-precision value in [0, 1).
    float draw();

    std::uint64_t state() const { return m_state; }

private:
    std::uint64_t next();

    std::uint64_t m_state;
};
