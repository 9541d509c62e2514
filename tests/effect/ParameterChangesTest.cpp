// The queue between the host's threads and the audio side, driven from one thread: what each
// reading hands on, and in which order.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "ParameterChanges.h"

namespace {

struct Read {
  std::vector<std::pair<int, float>> applied;
  std::vector<int> lost;
};

Read readAll(ParameterChanges& changes) {
  Read read;
  changes.apply([&](int index, float value) { read.applied.emplace_back(index, value); },
                [&](int index) { read.lost.push_back(index); });
  return read;
}

}  // namespace

TEST(ParameterChanges, HandsOnEachChangeOnceInOrderAndMarksThoseFindingTheRingFull) {
  ParameterChanges changes;
  EXPECT_TRUE(readAll(changes).applied.empty()) << "a new queue holds nothing";

  // More rounds than the ring has places, so that the turns wrap.
  for (int round = 0; round < 600; ++round) {
    changes.record(round % 18, 0.25f * static_cast<float>(round % 4));
    changes.record(17, 1.0f);
    const Read read = readAll(changes);
    const std::vector<std::pair<int, float>> expected{
        {round % 18, 0.25f * static_cast<float>(round % 4)}, {17, 1.0f}};
    ASSERT_EQ(read.applied, expected) << "round " << round;
    ASSERT_TRUE(read.lost.empty()) << "round " << round;
    ASSERT_TRUE(readAll(changes).applied.empty()) << "round " << round << " read twice";
  }

  // A full ring: the changes beyond it leave only their parameters' marks, read after the ring.
  for (std::uint32_t i = 0; i < ParameterChanges::kCapacity; ++i) changes.record(2, 0.5f);
  changes.record(5, 0.1f);
  changes.record(9, 0.2f);
  changes.record(5, 0.3f);
  const Read full = readAll(changes);
  EXPECT_EQ(full.applied.size(), ParameterChanges::kCapacity);
  EXPECT_EQ(full.lost, (std::vector<int>{5, 9}));
  const Read after = readAll(changes);
  EXPECT_TRUE(after.applied.empty() && after.lost.empty()) << "marks are read once";

  changes.record(3, 0.75f);
  EXPECT_EQ(readAll(changes).applied, (std::vector<std::pair<int, float>>{{3, 0.75f}}));
}
