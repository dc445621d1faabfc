#include "assets/tones.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numbers>

namespace assetgen {

namespace {

// A mix buffer in floating point, -1..1 full scale.
class Mix {
  public:
    explicit Mix(double seconds) : samples_(toSamples(seconds), 0.0) {}

    // A partial that starts with a 2 ms attack and decays exponentially (decay per second).
    void partial(double start, double length, double hz, double amplitude, double decay) {
        const std::size_t first = toSamples(start);
        const std::size_t count = toSamples(length);
        const double attack = 0.002 * kSampleRate;
        for (std::size_t i = 0; i < count && first + i < samples_.size(); ++i) {
            const double t = static_cast<double>(i) / kSampleRate;
            const double rise = std::min(1.0, static_cast<double>(i) / attack);
            samples_[first + i] +=
                amplitude * rise * std::exp(-decay * t) * std::sin(2.0 * std::numbers::pi * hz * t);
        }
    }

    // A burst of noise from a fixed-seed generator, so every build makes the same bytes.
    void noise(double start, double length, double amplitude, double decay, std::uint32_t seed) {
        const std::size_t first = toSamples(start);
        const std::size_t count = toSamples(length);
        std::uint32_t state = seed;
        double smooth = 0.0;
        for (std::size_t i = 0; i < count && first + i < samples_.size(); ++i) {
            state = state * 1664525u + 1013904223u;
            const double white = static_cast<double>(state >> 8) / double(1u << 23) - 1.0;
            smooth += 0.35 * (white - smooth);  // low-pass: a dull thud rather than a hiss
            const double t = static_cast<double>(i) / kSampleRate;
            samples_[first + i] += amplitude * std::exp(-decay * t) * smooth;
        }
    }

    // Fades the last 10 ms to silence and converts to 16-bit samples, clipping as a safeguard.
    std::vector<std::int16_t> finish() {
        const std::size_t fade = std::min(samples_.size(), toSamples(0.010));
        for (std::size_t i = 0; i < fade; ++i) {
            samples_[samples_.size() - 1 - i] *= static_cast<double>(i) / static_cast<double>(fade);
        }
        std::vector<std::int16_t> pcm;
        pcm.reserve(samples_.size());
        for (double s : samples_) {
            const double scaled = std::clamp(s, -1.0, 1.0) * 32767.0;
            pcm.push_back(static_cast<std::int16_t>(std::lround(scaled)));
        }
        return pcm;
    }

  private:
    static std::size_t toSamples(double seconds) {
        return static_cast<std::size_t>(std::lround(seconds * kSampleRate));
    }

    std::vector<double> samples_;
};

// A bell-like note: the fundamental with two quieter overtones that die away faster.
void bell(Mix& mix, double start, double length, double hz, double amplitude, double decay) {
    mix.partial(start, length, hz, amplitude, decay);
    mix.partial(start, length, hz * 2.0, amplitude * 0.30, decay * 1.6);
    mix.partial(start, length, hz * 3.0, amplitude * 0.12, decay * 2.4);
}

}  // namespace

std::vector<std::int16_t> synthNotify() {
    Mix mix(0.6);
    bell(mix, 0.00, 0.35, 880.00, 0.30, 9.0);   // A5
    bell(mix, 0.14, 0.46, 1318.51, 0.30, 7.0);  // E6
    return mix.finish();
}

std::vector<std::int16_t> synthDoorbell() {
    Mix mix(1.3);
    bell(mix, 0.00, 0.85, 659.26, 0.40, 3.5);  // E5: ding
    bell(mix, 0.45, 0.85, 523.25, 0.40, 3.5);  // C5: dong
    return mix.finish();
}

std::vector<std::int16_t> synthKnock() {
    Mix mix(0.6);
    for (int i = 0; i < 3; ++i) {
        const double at = 0.02 + 0.18 * i;
        mix.partial(at, 0.09, 165.0, 0.55, 45.0);
        mix.partial(at, 0.06, 410.0, 0.20, 70.0);
        mix.noise(at, 0.05, 0.45, 90.0, 0x5EED0000u + static_cast<std::uint32_t>(i));
    }
    return mix.finish();
}

}  // namespace assetgen
