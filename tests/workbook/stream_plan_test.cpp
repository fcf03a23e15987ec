// The new stream made in place in the old one's buffer must be byte for byte
// what the plan reads, whatever the runs of old bytes do: move back, move on,
// overlap their old place, or make way for new bytes.
#include "platform/workbook/internal/stream_plan.h"

#include <gtest/gtest.h>

#include <random>

namespace vt::workbook::detail {
namespace {

Bytes Numbered(std::size_t size, std::size_t capacity) {
  Bytes b;
  b.reserve(capacity);
  for (std::size_t i = 0; i < size; ++i) b.push_back(static_cast<std::uint8_t>(i * 7 + i / 251));
  return b;
}

TEST(StreamPlanInPlace, RandomPlansGiveWhatThePlanReads) {
  std::mt19937 rng(11);
  for (int round = 0; round < 400; ++round) {
    const std::size_t size = 64 + rng() % 4000;
    Bytes old = Numbered(size, size * 2);
    StreamPlan plan(old);
    // Old runs in their own order, some skipped, some new bytes between.
    std::size_t at = 0;
    while (at < size) {
      const std::size_t n = 1 + rng() % 300;
      const std::size_t take = std::min(n, size - at);
      switch (rng() % 4) {
        case 0:
          break;  // dropped: what follows moves back
        case 1: {
          const Bytes added(1 + rng() % 400, static_cast<std::uint8_t>(rng()));
          plan.Add(added);  // inserted: what follows moves on
          [[fallthrough]];
        }
        default:
          plan.Copy(at, take);
      }
      at += take;
    }
    if (plan.Size() > old.capacity()) continue;
    const std::size_t from = plan.Size() == 0 ? 0 : rng() % (std::min(plan.Size(), size) + 1);
    const Bytes want = plan.Read(0, plan.Size());
    Bytes before(old.begin(), old.end());
    ASSERT_TRUE(plan.AssembleInPlace(old, from)) << "round " << round;
    ASSERT_EQ(old.size(), want.size());
    EXPECT_TRUE(std::equal(old.begin() + static_cast<std::ptrdiff_t>(from), old.end(),
                           want.begin() + static_cast<std::ptrdiff_t>(from)))
        << "round " << round << ", from " << from;
    EXPECT_TRUE(
        std::equal(old.begin(), old.begin() + static_cast<std::ptrdiff_t>(from), before.begin()));
  }
}

TEST(StreamPlanInPlace, RefusesWhatItCannotDoAndLeavesTheBytes) {
  struct Case {
    const char* what;
    bool swapped;       // old runs taken out of their order
    std::size_t extra;  // new bytes beyond the buffer's capacity
  };
  for (const Case& c : {Case{"runs out of order", true, 0}, Case{"past the capacity", false, 64}}) {
    Bytes old = Numbered(256, 256);
    StreamPlan plan(old);
    if (c.swapped) {
      plan.Copy(128, 128);
      plan.Copy(0, 128);
    } else {
      plan.Copy(0, 256);
      plan.Add(Bytes(c.extra, 1));
    }
    const Bytes before = old;
    EXPECT_FALSE(plan.AssembleInPlace(old, 0)) << c.what;
    EXPECT_EQ(old, before) << c.what;
  }
}

}  // namespace
}  // namespace vt::workbook::detail
