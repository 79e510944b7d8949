#pragma once

#include <cmath>
#include <cstdint>

namespace gen {

/// A small seeded generator (xoshiro256** seeded through splitmix64) whose sequence is the
/// same on every platform, so one seed always gives the same files.
class Random {
public:
    explicit Random(std::uint64_t seed) noexcept {
        for (auto& s : m_state) {
            seed += 0x9E3779B97F4A7C15ull;
            std::uint64_t z = seed;
            z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
            z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
            s = z ^ (z >> 31);
        }
    }

    std::uint64_t next() noexcept {
        const std::uint64_t result = rotl(m_state[1] * 5, 7) * 9;
        const std::uint64_t t = m_state[1] << 17;
        m_state[2] ^= m_state[0];
        m_state[3] ^= m_state[1];
        m_state[1] ^= m_state[2];
        m_state[0] ^= m_state[3];
        m_state[2] ^= t;
        m_state[3] = rotl(m_state[3], 45);
        return result;
    }

    /// Uniform in [0, 1).
    double uniform() noexcept { return static_cast<double>(next() >> 11) * 0x1.0p-53; }
    double uniform(double lo, double hi) noexcept { return lo + (hi - lo) * uniform(); }
    /// Uniform integer in [lo, hi].
    std::int64_t integer(std::int64_t lo, std::int64_t hi) noexcept {
        const auto span = static_cast<std::uint64_t>(hi - lo) + 1;
        return lo + static_cast<std::int64_t>(next() % span);
    }
    /// Standard normal (Box-Muller, the second value kept for the next call).
    double normal() noexcept {
        if (m_haveSpare) {
            m_haveSpare = false;
            return m_spare;
        }
        double u = uniform();
        while (u <= 1e-300)
            u = uniform();
        const double v = uniform();
        const double r = std::sqrt(-2.0 * std::log(u));
        m_spare = r * std::sin(2.0 * kPi * v);
        m_haveSpare = true;
        return r * std::cos(2.0 * kPi * v);
    }

private:
    static constexpr double kPi = 3.14159265358979323846;
    static std::uint64_t rotl(std::uint64_t x, int k) noexcept {
        return (x << k) | (x >> (64 - k));
    }
    std::uint64_t m_state[4] = {};
    double m_spare = 0;
    bool m_haveSpare = false;
};

} // namespace gen
