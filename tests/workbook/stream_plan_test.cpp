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

TEST(StreamPlanDirect, PointsAtBytesOneRunHoldsAndAtNothingElse) {
  Bytes old = Numbered(100, 100);
  StreamPlan plan(old);
  plan.Copy(10, 20);                              // new 0..20
  plan.Add(Bytes{0xA1, 0xA2, 0xA3, 0xA4, 0xA5});  // new 20..25
  plan.Copy(50, 30);                              // new 25..55
  struct Case {
    std::size_t from, size;
    bool direct;
  };
  std::size_t hint = SIZE_MAX;
  for (const Case c :
       {Case{0, 4, true}, Case{16, 4, true}, Case{18, 4, false}, Case{20, 5, true},
        Case{24, 2, false}, Case{25, 30, true}, Case{0, 55, false}, Case{53, 4, false},
        Case{55, 1, false}, Case{3, 0, false}, Case{5, 2, true}}) {
    const std::uint8_t* at = plan.Direct(c.from, c.size, hint);
    ASSERT_EQ(at != nullptr, c.direct) << c.from << "+" << c.size;
    if (at) {
      EXPECT_EQ(Bytes(at, at + c.size), plan.Read(c.from, c.size)) << c.from;
    }
  }
}

}  // namespace
}  // namespace vt::workbook::detail
