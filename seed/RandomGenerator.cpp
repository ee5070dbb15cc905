#include "seed/RandomGenerator.h"

#include <bit>
#include <random>

RandomGenerator RandomGenerator::fromEntropy()
{
    std::random_device device;
    return RandomGenerator((std::uint64_t(device()) << 32) ^ device());
}

void RandomGenerator::reseed(double number)
{
    m_state ^= std::bit_cast<std::uint64_t>(number) * 0x9e3779b97f4a7c15ULL;
    next();
}

float RandomGenerator::draw()
{
    // 24 random bits fill a float's mantissa exactly, so the result is never 1.
    return float(next() >> 40) * (1.0f / 16777216.0f);
}

// splitmix64: every state is valid and the output is well mixed.
std::uint64_t RandomGenerator::next()
{
    std::uint64_t z = (m_state += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}
