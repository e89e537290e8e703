#include "mixing_random_source.h"

#include <cstring>
#include <random>

namespace hashigoro {

namespace {

constexpr std::uint64_t kGolden = 0x9E3779B97F4A7C15ULL;

// The SplitMix64 finaliser: a bijection of 64-bit words with good avalanche.
std::uint64_t Mix64(std::uint64_t z) {
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

}  // namespace

MixingRandomSource::MixingRandomSource(std::uint64_t seed) : state_(seed) {}

MixingRandomSource MixingRandomSource::FromEntropy() {
    std::random_device entropy;
    const std::uint64_t high = entropy();
    const std::uint64_t low = entropy();
    return MixingRandomSource((high << 32) ^ low);
}

void MixingRandomSource::Reseed(float seed) {
    // Mix64 is a bijection, so for any fixed seed value distinct states stay distinct: the same
    // clock reading twice in a row moves the state on instead of collapsing it.
    std::uint32_t bits = 0;
    static_assert(sizeof bits == sizeof seed);
    std::memcpy(&bits, &seed, sizeof bits);  // the float's own bits, as bit_cast would give
    const std::uint64_t time = bits;
    state_ = Mix64(state_ ^ Mix64(time + kGolden));
}

float MixingRandomSource::Next() {
    state_ += kGolden;
    // The top 24 bits fill a float's mantissa exactly, so the result is uniform on a grid of
    // 2^-24 and never rounds up to 1.
    const auto bits = static_cast<std::uint32_t>(Mix64(state_) >> 40);
    return static_cast<float>(bits) * 0x1p-24f;
}

}  // namespace hashigoro
