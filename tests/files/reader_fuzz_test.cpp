// Mutated golden files fed to the reader: it must never crash, overrun a table or accept a
// model outside the capacity. Runs in a few seconds, also under the sanitizers.
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <sstream>

#include "files/model_file.h"
#include "model/capacity.h"
#include "sample_models.h"

namespace tavrine {
namespace {

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// Bytes that matter to the reader, and a few that would hurt a careless one.
constexpr std::string_view kInteresting = ",\"\r\n 0123456789.-+eE\x81\x5c\xff";

std::string Mutate(std::string bytes, std::mt19937& rng) {
  auto pick = [&](size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(rng); };
  const int edits = 1 + static_cast<int>(pick(4));
  for (int e = 0; e < edits && !bytes.empty(); ++e) {
    const size_t at = pick(bytes.size());
    switch (pick(6)) {
      case 0:
        bytes[at] = kInteresting[pick(kInteresting.size())];
        break;
      case 1:
        bytes.insert(at, 1, kInteresting[pick(kInteresting.size())]);
        break;
      case 2:
        bytes.erase(at, 1 + pick(8));
        break;
      case 3:
        bytes.resize(at);
        break;
      case 4: {  // a count or index made large
        const char* big[] = {"1000", "1001", "50000", "50001", "99999999999", "-1", "1E+308"};
        bytes.insert(at, big[pick(7)]);
        break;
      }
      default:
        bytes[at] = static_cast<char>(pick(256));
    }
  }
  return bytes;
}

void ExpectWithinCapacity(const ElementModel& m) {
  for (int64_t count : {int64_t{m.RecMagCount}, int64_t{SecMagLoopCount(m)}, int64_t{m.RhMagCount},
                        int64_t{m.StrRecCoilCount}, int64_t{m.StrCylCoilCount},
                        int64_t{m.SecRecCoilCount}, int64_t{m.SecCylCoilCount}}) {
    EXPECT_TRUE(FitsElementCount(count));
  }
  EXPECT_TRUE(FitsLastIndex(m.RectCalPointSet.LastIndex));
  EXPECT_TRUE(FitsLastIndex(m.SectCalPointSet.LastIndex));
}

TEST(ReaderFuzz, MutatedGoldenFiles) {
  const std::string goldens[] = {Slurp(testing::DataPath("model_small.csv")),
                                 Slurp(testing::DataPath("model_zero.csv"))};
  auto scratch = testing::FreshModel();
  std::mt19937 rng(20261209);
  int accepted = 0;
  for (int i = 0; i < 4000; ++i) {
    const std::string bytes = Mutate(goldens[i % 2], rng);
    // No reset between reads: the reader must stay in bounds whatever the model holds.
    const auto error = ParseModelFileInto(bytes, *scratch);
    if (!error) {
      ++accepted;
      ExpectWithinCapacity(*scratch);
      // What was accepted writes out and reads back the same way.
      ModelFileBytes again = FormatModelFile(*scratch);
      ASSERT_FALSE(again.error);
    } else {
      EXPECT_GE(error->line, 1);
      EXPECT_FALSE(error->message.empty());
    }
  }
  // Some mutations (a digit for a digit) keep the file valid; most must not.
  EXPECT_GT(accepted, 0);
  EXPECT_LT(accepted, 4000);
}

}  // namespace
}  // namespace tavrine
