// Synthesises the program's two sounds as 16-bit mono WAV files:
// wickedsick.wav, a bright rising chime that confirms a save, and
// HellNo.wav, a low falling buzz that refuses. Usage: wavsynth OUTPUT_DIR

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 22050;

void put(std::ofstream& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.put(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// Samples of seconds of sound, voice(t) in -1..1 at time t.
std::vector<std::int16_t> render(double seconds, const std::function<double(double)>& voice)
{
    std::vector<std::int16_t> samples(static_cast<std::size_t>(seconds * kRate));
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        samples[i] = static_cast<std::int16_t>(std::lround(std::clamp(voice(t), -1.0, 1.0) * 26000));
    }
    return samples;
}

bool writeWav(const std::string& path, const std::vector<std::int16_t>& samples)
{
    std::ofstream out(path, std::ios::binary);
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    out.write("RIFF", 4);
    put(out, 36 + dataBytes, 4);
    out.write("WAVEfmt ", 8);
    put(out, 16, 4);        // format chunk size
    put(out, 1, 2);         // PCM
    put(out, 1, 2);         // mono
    put(out, kRate, 4);     // sample rate
    put(out, kRate * 2, 4); // byte rate
    put(out, 2, 2);         // block align
    put(out, 16, 2);        // bits per sample
    out.write("data", 4);
    put(out, dataBytes, 4);
    for (const std::int16_t s : samples)
        put(out, static_cast<std::uint16_t>(s), 2);
    return static_cast<bool>(out);
}

double tone(double frequency, double t) { return std::sin(2 * std::numbers::pi * frequency * t); }

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: wavsynth OUTPUT_DIR\n");
        return 2;
    }
    const std::string dir = argv[1];

    // Three notes of a major chord, each struck a little later, ringing out.
    const auto chime = render(0.9, [](double t) {
        double sum = 0;
        const double notes[] = {659.25, 830.61, 987.77};
        for (int i = 0; i < 3; ++i) {
            const double start = 0.09 * i;
            if (t >= start)
                sum += (tone(notes[i], t) + 0.3 * tone(2 * notes[i], t)) * std::exp(-(t - start) * 5.0);
        }
        return 0.35 * sum;
    });

    // A square-ish buzz sliding down, twice.
    const auto buzz = render(0.7, [](double t) {
        const double local = std::fmod(t, 0.35);
        const double frequency = 180 - 120 * local / 0.35;
        const double wave = std::tanh(4 * tone(frequency, local));
        return 0.5 * wave * std::min(1.0, (0.35 - local) * 30);
    });

    const bool ok = writeWav(dir + "/wickedsick.wav", chime) && writeWav(dir + "/HellNo.wav", buzz);
    return ok ? 0 : 1;
}
