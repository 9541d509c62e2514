// Cost of the effect per stereo frame, for three contenders run alternately in one process:
// - "ModuleChain": the chain one module call at a time;
// - "FastPath": processReplacing;
// - "LaddersAlone": only the two ladders over precomputed inputs and coefficients, their state
//   in registers for the block: the recursion that bounds any implementation of the chain.
// Each on a signal with every modulation active and on silence after a signal, in blocks of
// 32, 256 and 4096 frames, for 1 instance and for 32 instances processed in turn. The ratios
// between the contenders, taken within the same run, are printed at the end. Also: creating
// one more instance, and the memory one more instance adds.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "DenormalGuard.h"
#include "EveryModulation.h"
#include "Ferrowin.h"
#include "LadderPair.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kPassFrames = 8192;  // per instance and iteration: two blocks of the largest size
constexpr int kLargestBlock = 4096;

VstIntPtr host(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
  return opcode == audioMasterVersion ? 2400 : 0;
}

// A tone under a slow level envelope, so that both followers move.
std::vector<float> signal(double hz) {
  std::vector<float> s(kPassFrames);
  for (int n = 0; n < kPassFrames; ++n) {
    const double t = n / 44100.0;
    s[static_cast<size_t>(n)] =
        static_cast<float>(0.7 * std::fabs(std::sin(2 * kPi * 6 * t)) * std::sin(2 * kPi * hz * t));
  }
  return s;
}

// As a host has them: every instance reads the same input (the instances stand on tracks
// that play the same audio) and writes into its own block buffers, which the host uses again
// for every block.
struct Buffers {
  const std::vector<float>* inLeft;
  const std::vector<float>* inRight;
  std::vector<float> outLeft, outRight;
  void process(Ferrowin& effect, bool modules, int start, int frames) {
    float* in[2] = {const_cast<float*>(inLeft->data() + start),
                    const_cast<float*>(inRight->data() + start)};
    float* out[2] = {outLeft.data(), outRight.data()};
    if (modules) {
      effect.processModuleChain(in, out, frames);
    } else {
      effect.processReplacing(in, out, frames);
    }
  }
};

void setSilence(Ferrowin& effect) {
  effect.setParameter(kOscAmount, 0.0f);  // nothing but decaying state
  effect.setParameter(kNoiseAmount, 0.0f);
  effect.setParameter(kEf1OscAm, 0.5f);
  effect.setParameter(kEf1NoiseAm, 0.5f);
}

void setCounters(benchmark::State& state, int instances) {
  const double frames = static_cast<double>(kPassFrames) * instances;
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(frames));
  state.counters["frames"] = frames;  // per iteration, for the ratios
}

// Arguments: block, silence (0 or 1), instances.
void runEffect(benchmark::State& state, bool modules,
               InstructionSet encoding = InstructionSets::best()) {
  const int block = static_cast<int>(state.range(0));
  const bool silence = state.range(1) != 0;
  const int instances = static_cast<int>(state.range(2));
  std::vector<std::unique_ptr<Ferrowin>> effects;
  std::vector<Buffers> buffers(static_cast<size_t>(instances));
  const std::vector<float> left = signal(220.0), right = signal(330.0), zero(kPassFrames, 0.0f);
  for (int i = 0; i < instances; ++i) {
    effects.push_back(std::make_unique<Ferrowin>(host));
    effects.back()->setInstructionSet(encoding);
    setEveryModulation(*effects.back());
    Buffers& b = buffers[static_cast<size_t>(i)];
    b = {&left, &right, std::vector<float>(kPassFrames), std::vector<float>(kPassFrames)};
    b.process(*effects.back(), true, 0, kPassFrames);  // the state of a signal
    b.outLeft.resize(static_cast<size_t>(block));
    b.outRight.resize(static_cast<size_t>(block));
    if (silence) {
      setSilence(*effects.back());
      b.inLeft = b.inRight = &zero;
    }
  }
  for (auto _ : state) {
    for (int start = 0; start + block <= kPassFrames; start += block)
      for (int i = 0; i < instances; ++i)
        buffers[static_cast<size_t>(i)].process(*effects[static_cast<size_t>(i)], modules, start,
                                                block);
    benchmark::ClobberMemory();
  }
  setCounters(state, instances);
}

void BM_ModuleChain(benchmark::State& state) { runEffect(state, true); }
void BM_FastPath(benchmark::State& state) { runEffect(state, false); }
// The fast path in an encoding below the processor's best (argument 3).
void BM_FastPathEncoded(benchmark::State& state) {
  runEffect(state, false, static_cast<InstructionSet>(state.range(3)));
}

// The ladders' inputs and coefficients of a frame, as the chain would compute them: the
// input through the level scale, the cutoff gliding under a modulation.
std::vector<LadderPair::Frame> ladderFrames(bool silence) {
  MoogFilter filter;
  filter.setResonance(0.8f);
  filter.setCutoff(0.55f);
  const std::vector<float> left = signal(220.0), right = signal(330.0);
  std::vector<LadderPair::Frame> frames(kLargestBlock);
  for (int n = 0; n < kLargestBlock; ++n) {
    filter.updateCoefficients(filter.cutoff + 0.2f * std::fabs(left[static_cast<size_t>(n)]));
    const float l = silence ? 0.0f : left[static_cast<size_t>(n)] / 3.0f;
    const float r = silence ? 0.0f : right[static_cast<size_t>(n)] / 3.0f;
    frames[static_cast<size_t>(n)] = {
        sample::pair(l, r),
        {sample::Lanes(filter.stageGain), sample::Lanes(filter.stageFeedback),
         sample::Lanes(filter.feedback)}};
  }
  return frames;
}

void BM_LaddersAlone(benchmark::State& state) {
  const int block = static_cast<int>(state.range(0));
  const bool silence = state.range(1) != 0;
  const int instances = static_cast<int>(state.range(2));
  const std::vector<LadderPair::Frame> frames = ladderFrames(silence);
  const __m128 levelScale = _mm_set1_ps(3.0f);
  std::vector<LadderPair> ladders(static_cast<size_t>(instances));  // silent
  std::vector<std::vector<float>> out(static_cast<size_t>(instances),
                                      std::vector<float>(2 * static_cast<size_t>(block)));
  const DenormalGuard guard;
  for (auto _ : state) {
    for (int start = 0; start + block <= kPassFrames; start += block) {
      const LadderPair::Frame* in = frames.data() + start % kLargestBlock;
      for (int i = 0; i < instances; ++i) {
        LadderPair ladder = ladders[static_cast<size_t>(i)];
        float* o = out[static_cast<size_t>(i)].data();
        for (int n = 0; n < block; ++n) {
          const __m128 y = _mm_mul_ps(ladder.step<MoogFilter::kLowPass>(in[n]), levelScale);
          _mm_storel_pi(reinterpret_cast<__m64*>(o + 2 * n), y);
        }
        ladders[static_cast<size_t>(i)] = ladder;
      }
    }
    benchmark::ClobberMemory();
  }
  setCounters(state, instances);
}

// The contenders one after another for each case, so that they run close together in time.
void registerContenders() {
  for (int block : {32, 256, 4096})
    for (int silence : {0, 1})
      for (int instances : {1, 32})
        for (auto [name, function] : {std::pair{"BM_ModuleChain", &BM_ModuleChain},
                                      {"BM_FastPath", &BM_FastPath},
                                      {"BM_LaddersAlone", &BM_LaddersAlone}})
          benchmark::RegisterBenchmark(name, function)
              ->Args({block, silence, instances})
              ->ArgNames({"block", "silence", "instances"})
              ->Unit(benchmark::kMicrosecond);
  // Each encoding below the best, beside the best, on a signal and one instance.
  for (int block : {32, 256, 4096})
    for (int k = 0; k < static_cast<int>(InstructionSets::best()); ++k) {
      const std::string name =
          std::string("BM_FastPath_") + InstructionSets::name(static_cast<InstructionSet>(k));
      benchmark::RegisterBenchmark(name.c_str(), &BM_FastPathEncoded)
          ->Args({block, 0, 1, k})
          ->ArgNames({"block", "silence", "instances", "encoding"})
          ->Unit(benchmark::kMicrosecond);
    }
}

// One more instance once the shared tables exist.
void BM_NewInstance(benchmark::State& state) {
  { Ferrowin warmUp(host); }
  for (auto _ : state) {
    auto effect = std::make_unique<Ferrowin>(host);
    benchmark::DoNotOptimize(effect.get());
  }
}
BENCHMARK(BM_NewInstance)->Unit(benchmark::kMicrosecond);

// Heap bytes that one more instance adds, from the allocator's own count.
void BM_InstanceMemory(benchmark::State& state) {
  { Ferrowin warmUp(host); }
  constexpr int kInstances = 64;
  size_t perInstance = 0;
  for (auto _ : state) {
    const size_t before = mallinfo2().uordblks;
    std::vector<std::unique_ptr<Ferrowin>> effects;
    effects.reserve(kInstances);
    const size_t afterReserve = mallinfo2().uordblks;
    for (int i = 0; i < kInstances; ++i) effects.push_back(std::make_unique<Ferrowin>(host));
    perInstance = (mallinfo2().uordblks - afterReserve) / kInstances;
    benchmark::DoNotOptimize(before);
  }
  state.counters["bytes_per_instance"] = static_cast<double>(perInstance);
  state.counters["sizeof_effect"] = static_cast<double>(sizeof(Ferrowin));
}
BENCHMARK(BM_InstanceMemory)->Iterations(3);

// The console report, followed by the ratios between contenders of the same run: per-frame
// CPU times, median over the repetitions (minimum over them in brackets).
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
      const auto frames = run.counters.find("frames");
      if (frames == run.counters.end()) continue;
      const std::string name = run.benchmark_name();
      const size_t slash = name.find('/');
      perFrame[name.substr(slash + 1)][name.substr(0, slash)].push_back(run.GetAdjustedCPUTime() /
                                                                        frames->second.value);
    }
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("\nFast path encoding: %s\n", InstructionSets::name(InstructionSets::best()));
    std::printf("Per-frame CPU time ratios, median of the repetitions (minimum):\n");
    std::printf("%-42s %18s %18s\n", "case", "fast/module", "fast/ladders");
    for (const auto& [config, contenders] : perFrame) {
      if (config.find("encoding") != std::string::npos) continue;
      std::printf("%-42s %18s %18s\n", config.c_str(),
                  ratio(config, "BM_FastPath", config, "BM_ModuleChain").c_str(),
                  ratio(config, "BM_FastPath", config, "BM_LaddersAlone").c_str());
    }
    // An encoding that is not at least 3 % faster than SSE2 at some block size is not worth
    // its code.
    const int best = static_cast<int>(InstructionSets::best());
    if (best > 0) std::printf("\nFast path in each encoding / in SSE2 (signal, 1 instance):\n");
    for (int k = 1; k <= best; ++k) {
      const std::string name = InstructionSets::name(static_cast<InstructionSet>(k));
      for (const char* block : {"32", "256", "4096"}) {
        const std::string config = std::string("block:") + block + "/silence:0/instances:1";
        const std::string encoded = config + "/encoding:";
        std::printf("%-42s %18s\n", (name + ", " + config).c_str(),
                    (k == best ? ratio(config, "BM_FastPath", encoded + "0", "BM_FastPath_SSE2")
                               : ratio(encoded + std::to_string(k), ("BM_FastPath_" + name).c_str(),
                                       encoded + "0", "BM_FastPath_SSE2"))
                        .c_str());
      }
    }
    std::printf("\nFast path: silence/signal and 32 instances/1 instance:\n");
    for (const char* block : {"32", "256", "4096"}) {
      const std::string b = std::string("block:") + block;
      for (const char* instances : {"1", "32"}) {
        const std::string tail = std::string("/instances:") + instances;
        std::printf(
            "%-42s %18s\n", (b + "/silence vs signal" + tail).c_str(),
            ratio(b + "/silence:1" + tail, "BM_FastPath", b + "/silence:0" + tail, "BM_FastPath")
                .c_str());
      }
      for (const char* silence : {"0", "1"}) {
        const std::string head = b + "/silence:" + silence;
        std::printf(
            "%-42s %18s\n", (head + "/32 vs 1 instances").c_str(),
            ratio(head + "/instances:32", "BM_FastPath", head + "/instances:1", "BM_FastPath")
                .c_str());
      }
    }
  }

 private:
  static double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t m = v.size() / 2;
    return v.size() % 2 == 1 ? v[m] : 0.5 * (v[m - 1] + v[m]);
  }

  std::string ratio(const std::string& configA, const char* a, const std::string& configB,
                    const char* b) {
    const std::vector<double>& x = perFrame[configA][a];
    const std::vector<double>& y = perFrame[configB][b];
    if (x.empty() || y.empty()) return "-";
    char text[48];
    std::snprintf(text, sizeof text, "%.3f (%.3f)", median(x) / median(y),
                  *std::min_element(x.begin(), x.end()) / *std::min_element(y.begin(), y.end()));
    return text;
  }

  // Case -> contender -> per-frame CPU time of each repetition.
  std::map<std::string, std::map<std::string, std::vector<double>>> perFrame;
};

}  // namespace

// Unless told otherwise: five repetitions of every contender, interleaved in random order.
int main(int argc, char** argv) {
  std::vector<char*> args(argv, argv + argc);
  static char repetitions[] = "--benchmark_repetitions=5";
  static char interleaving[] = "--benchmark_enable_random_interleaving=true";
  args.insert(args.begin() + 1, {repetitions, interleaving});  // later flags override these
  int count = static_cast<int>(args.size());
  registerContenders();
  benchmark::Initialize(&count, args.data());
  if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
