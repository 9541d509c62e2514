// Cost of the effect: processing per stereo frame with every modulation active, the same on
// silence after a signal, creating one more instance, and the memory one more instance adds.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cmath>
#include <memory>
#include <vector>

#include "EveryModulation.h"
#include "Ferrowin.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kSignalFrames = 44100;

VstIntPtr host(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
  return opcode == audioMasterVersion ? 2400 : 0;
}

std::vector<float> signal(double hz) {
  std::vector<float> s(kSignalFrames);
  for (int n = 0; n < kSignalFrames; ++n) {
    const double t = n / 44100.0;
    s[static_cast<size_t>(n)] =
        static_cast<float>(0.7 * std::fabs(std::sin(2 * kPi * 2 * t)) * std::sin(2 * kPi * hz * t));
  }
  return s;
}

void processBlocks(benchmark::State& state, bool silenceAfterSignal) {
  const int block = static_cast<int>(state.range(0));
  Ferrowin effect(host);
  setEveryModulation(effect);
  const std::vector<float> left = signal(220.0), right = signal(330.0);
  std::vector<float> outLeft(kSignalFrames), outRight(kSignalFrames);
  auto runThrough = [&](const std::vector<float>& l, const std::vector<float>& r) {
    for (int start = 0; start + block <= kSignalFrames; start += block) {
      float* in[2] = {const_cast<float*>(&l[static_cast<size_t>(start)]),
                      const_cast<float*>(&r[static_cast<size_t>(start)])};
      float* out[2] = {&outLeft[static_cast<size_t>(start)], &outRight[static_cast<size_t>(start)]};
      effect.processReplacing(in, out, block);
    }
  };
  runThrough(left, right);  // the filters and followers carry a signal's state
  const std::vector<float> silence(kSignalFrames, 0.0f);
  const std::vector<float>& feedLeft = silenceAfterSignal ? silence : left;
  const std::vector<float>& feedRight = silenceAfterSignal ? silence : right;
  if (silenceAfterSignal) {
    effect.setParameter(kOscAmount, 0.0f);  // nothing but decaying state
    effect.setParameter(kNoiseAmount, 0.0f);
    effect.setParameter(kEf1OscAm, 0.5f);
    effect.setParameter(kEf1NoiseAm, 0.5f);
  }
  const int framesPerPass = kSignalFrames / block * block;
  for (auto _ : state) {
    runThrough(feedLeft, feedRight);
    benchmark::DoNotOptimize(outLeft.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * framesPerPass);
  // Seconds per stereo frame; printed with an SI prefix ("36n" is 36 ns).
  state.counters["per_frame"] = benchmark::Counter(
      static_cast<double>(framesPerPass),
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_ProcessSignal(benchmark::State& state) { processBlocks(state, false); }
void BM_ProcessSilenceAfterSignal(benchmark::State& state) { processBlocks(state, true); }
BENCHMARK(BM_ProcessSignal)->Arg(32)->Arg(256)->Arg(4096);
BENCHMARK(BM_ProcessSilenceAfterSignal)->Arg(32)->Arg(256)->Arg(4096);

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

}  // namespace

BENCHMARK_MAIN();
