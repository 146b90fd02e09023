// Number texts under a C library locale that writes decimals with a comma, as a desktop session
// in such a locale gets one: fields, model files and map ticks keep their ".".
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <limits>
#include <memory>
#include <string>

#include "display/field_map.h"
#include "files/item_reader.h"
#include "files/model_file.h"
#include "model/resets.h"
#include "model/text_rules.h"

namespace tavrine {
namespace {

// German numbers, compiled into a temporary folder where the locale is not installed.
bool UseCommaLocale() {
  if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr) {
    return true;
  }
  const std::string folder = testing::TempDir() + "tavrine_locales";
  std::filesystem::create_directories(folder);
  const std::string make =
      "localedef -i de_DE -f UTF-8 '" + folder + "/de_DE.UTF-8' >/dev/null 2>&1";
  if (std::system(make.c_str()) == -1) {
    return false;
  }
  setenv("LOCPATH", folder.c_str(), 1);
  return std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
}

class CommaLocale : public testing::Test {
 protected:
  void SetUp() override {
    if (!UseCommaLocale()) {
      GTEST_SKIP() << "no German locale and none can be compiled here";
    }
    char probe[8];
    std::snprintf(probe, sizeof probe, "%.1f", 2.5);
    ASSERT_STREQ(probe, "2,5");
  }
  void TearDown() override { std::setlocale(LC_NUMERIC, "C"); }
};

TEST_F(CommaLocale, FieldsFilesAndTicksKeepTheirPoint) {
  EXPECT_EQ(NumericValue("0.005"), 0.005);
  EXPECT_EQ(NumericValue("+1.25e3"), 1250.0);
  EXPECT_EQ(ShortestDecimal(2.5), "2.5");
  EXPECT_EQ(ShortestDecimal(-1.5e-20), "-1.5E-20");
  EXPECT_EQ(TickText(0.25, 0.05), "0.25");
  // Beyond the doubles the file reader takes its longer road.
  EXPECT_EQ(ParseNumberItem("1.79769313486232E+308"), std::numeric_limits<double>::max());
  EXPECT_EQ(ParseNumberItem("-2.5e-400"), -0.0);
  EXPECT_FALSE(ParseNumberItem("1.8E+308").has_value());

  auto current = std::make_unique<ElementModel>();
  FullReset(*current);
  const ModelReadResult read =
      ReadModelFile(TAVRINE_TEST_DATA "/../../docs/sample_model.csv", *current);
  ASSERT_TRUE(read.ok());
  // The file's current 226.194671058465 A over a wire of radius 3 mm.
  EXPECT_NEAR(read.model->SecCylCoilTable[1].CurrentDensity, 8.0, 1e-13);
}

}  // namespace
}  // namespace tavrine
