// A small stereo room reverb (parallel combs into series all-passes) for the music.
#include "reverb.h"

#include <array>
#include <cstddef>

namespace synth {
namespace {

// Delay lengths in samples at 44100 Hz; the right channel's are longer by StereoSpread.
constexpr std::array<int, 8> CombLengths = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
constexpr std::array<int, 4> AllPassLengths = {556, 441, 341, 225};
constexpr int StereoSpread = 23;
constexpr double InputGain = 0.015;

class Comb {
  public:
    explicit Comb(int length) : line_(length, 0.0) {}
    double Process(double x, double feedback, double damp) {
        double y = line_[pos_];
        filtered_ = y * (1.0 - damp) + filtered_ * damp;
        line_[pos_] = x + filtered_ * feedback;
        pos_ = (pos_ + 1) % line_.size();
        return y;
    }

  private:
    std::vector<double> line_;
    size_t pos_ = 0;
    double filtered_ = 0.0;
};

class AllPass {
  public:
    explicit AllPass(int length) : line_(length, 0.0) {}
    double Process(double x) {
        double delayed = line_[pos_];
        line_[pos_] = x + delayed * 0.5;
        pos_ = (pos_ + 1) % line_.size();
        return delayed - x;
    }

  private:
    std::vector<double> line_;
    size_t pos_ = 0;
};

// One channel of the room: its combs and all-passes, `spread` samples longer than the base.
class Channel {
  public:
    explicit Channel(int spread) {
        for (int length : CombLengths) combs_.emplace_back(length + spread);
        for (int length : AllPassLengths) allPasses_.emplace_back(length + spread);
    }
    double Process(double x, double feedback, double damp) {
        double sum = 0.0;
        for (Comb& comb : combs_) sum += comb.Process(x, feedback, damp);
        for (AllPass& allPass : allPasses_) sum = allPass.Process(sum);
        return sum;
    }

  private:
    std::vector<Comb> combs_;
    std::vector<AllPass> allPasses_;
};

}  // namespace

void AddReverb(std::vector<float>& mix, const std::vector<float>& send, double room, double damp,
               double wet) {
    Channel left(0), right(StereoSpread);
    double feedback = 0.7 + 0.28 * room;
    double damping = 0.4 * damp;
    for (size_t i = 0; i < send.size() && 2 * i + 1 < mix.size(); ++i) {
        double x = send[i] * InputGain;
        mix[2 * i] += static_cast<float>(left.Process(x, feedback, damping) * wet);
        mix[2 * i + 1] += static_cast<float>(right.Process(x, feedback, damping) * wet);
    }
}

}  // namespace synth
