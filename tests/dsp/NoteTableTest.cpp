#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <future>

#include "NoteTable.h"

namespace {

// Octaves of the table against exact doubling: the twelve double semitone steps are good to
// about 1e-11; the two float roundings (2^-24 each) dominate.
constexpr double kOctaveRelativeTolerance = 1.2e-7;

// Equal temperament from key 0 at 8.1757994 Hz, with A0 and A4 exact; every octave doubles.
TEST(NoteTableTest, FrequenciesOfKnownKeysAndOctaves) {
  const NoteTable& table = NoteTable::instance();
  EXPECT_FLOAT_EQ(table.frequency[0], 8.1757994f);
  EXPECT_EQ(table.frequency[21], 27.5f);
  EXPECT_FLOAT_EQ(table.frequency[60], 261.62558f);
  EXPECT_EQ(table.frequency[69], 440.0f);
  EXPECT_FLOAT_EQ(table.frequency[127], 12543.854f);
  for (int k = 0; k + 12 < NoteTable::kKeys; ++k) {
    const double ratio = static_cast<double>(table.frequency[k + 12]) / table.frequency[k];
    EXPECT_NEAR(ratio, 2.0, 2.0 * kOctaveRelativeTolerance) << "key " << k;
  }
}

// Pitch class ("H" for the seventh step above A) and octave, from -1; "Hz" after the keys.
TEST(NoteTableTest, NamesOfKnownKeys) {
  const NoteTable& table = NoteTable::instance();
  const struct {
    int key;
    const char* name;
  } cases[] = {{0, "C-1"}, {1, "C#-1"}, {11, "H-1"}, {60, "C4"},
               {69, "A4"}, {70, "A#4"}, {127, "G9"}, {NoteTable::kKeys, "Hz"}};
  for (const auto& c : cases) EXPECT_STREQ(table.name[c.key], c.name);
  for (int k = 0; k < NoteTable::kKeys; ++k) {
    EXPECT_LT(std::strlen(table.name[k]), 5u) << "key " << k;  // fits 5 bytes with terminator
  }
}

TEST(NoteTableTest, OneTableForTheProcessEvenWhenTwoThreadsAsk) {
  // Nothing has built the table in this process yet when this test runs alone.
  std::promise<void> startGun;
  std::shared_future<void> start = startGun.get_future().share();
  auto ask = [start] {
    start.wait();
    const NoteTable& table = NoteTable::instance();
    // Read it right away: the asker must find it complete.
    EXPECT_EQ(table.frequency[69], 440.0f);
    EXPECT_STREQ(table.name[127], "G9");
    return &table;
  };
  std::future<const NoteTable*> first = std::async(std::launch::async, ask);
  std::future<const NoteTable*> second = std::async(std::launch::async, ask);
  startGun.set_value();
  const NoteTable* a = first.get();
  const NoteTable* b = second.get();
  EXPECT_EQ(a, b);
  EXPECT_EQ(&NoteTable::instance(), a);
}

}  // namespace
