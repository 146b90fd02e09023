#include "studies/force_form.h"

#include <gtest/gtest.h>
#include <utility>

#include "model/world_frame.h"
#include "support/matchers.h"

namespace tavrine {
namespace {

using Action = ForceForm::Action;
using testing::FreshModel;

ForceResult Shown(const Vec3& force) {
  ForceResult r;
  r.total = force;
  return r;
}

TEST(ForceText, SignedMantissaWithTwoDecimalsAndShortExponent) {
  struct Case {
    double value;
    const char* text;
  };
  for (const Case& c : {Case{12.345, "+1.23 E+1"}, Case{-0.5, "-5.00 E-1"}, Case{0, "+0.00 E+0"},
                        Case{-0.0, "+0.00 E+0"}, Case{9.999, "+1.00 E+1"},
                        Case{1.5e-7, "+1.50 E-7"}, Case{-1234.5, "-1.23 E+3"},
                        Case{-3e-300, "-3.00 E-300"}, Case{std::nan(""), "+0.00 E+0"}}) {
    EXPECT_EQ(ForceComponentText(c.value), c.text) << c.value;
  }
}

TEST(ForceText, TorqueLinesFollowTheForceLinesSeparatedByCrLf) {
  EXPECT_EQ(ForceResultText({12.345, -0.5, 0}, {1e-3, 0, -2.5e-4}),
            "磁石に働く力\r\n計算結果\r\n\r\nFx=+1.23 E+1 [N]\r\nFy=-5.00 E-1 [N]\r\n"
            "Fz=+0.00 E+0 [N]\r\nTx=+1.00 E-3 [N・m]\r\nTy=+0.00 E+0 [N・m]\r\n"
            "Tz=-2.50 E-4 [N・m]");
}

class ForceFormTest : public ::testing::Test {
 protected:
  ForceFormTest() {
    MakeWorldBox(*model_, 100);
    model_->RecMagCount = 3;
    model_->SecMagCount = 2;
    model_->SecMagTable[1] = {.Ri = 0, .Ro = 5, .T = 2, .OpenAngle = 1};
    model_->SecMagTable[2] = {.Ri = 3, .Ro = 5, .T = 2, .OpenAngle = 1};  // an arc segment
    model_->RhMagCount = 1;
    form_.Load();
  }
  Action Type(int field, const char* text) {
    return form_.OnTextChanged(field, text, *model_, board_);
  }
  int Cautions() const { return board_.RaiseCount(NoticeId::Caution5); }

  std::unique_ptr<ElementModel> model_ = FreshModel();
  NoticeBoard board_;
  ForceForm form_;
};

TEST_F(ForceFormTest, OpensWithTheRectangularFieldAloneEnabledAndNoStart) {
  EXPECT_EQ(form_.Shape(), ForceShape::kRecMag);
  EXPECT_TRUE(form_.FieldEnabled(0));
  EXPECT_FALSE(form_.FieldEnabled(1));
  EXPECT_FALSE(form_.FieldEnabled(2));
  EXPECT_FALSE(form_.StartEnabled());
  EXPECT_EQ(form_.ResultText(), "");
  form_.Choose(ForceShape::kArcMag);
  EXPECT_FALSE(form_.FieldEnabled(0));
  EXPECT_TRUE(form_.FieldEnabled(2));
}

TEST_F(ForceFormTest, MagnetNumberInRangeHighlightsAndEnablesStart) {
  struct Case {
    const char* text;
    int n;
    int cautions;
  };
  // Non-integer text raises the notice but stays; its rounded value still counts.
  for (const Case& c : {Case{"2", 2, 0}, Case{"+3", 3, 0}, Case{"1", 1, 0}, Case{"2.5", 2, 1},
                        Case{"2.6", 3, 2}, Case{"3,9", 3, 2}}) {
    EXPECT_EQ(Type(0, c.text), Action::kHighlight) << c.text;
    EXPECT_EQ(form_.MagnetNumber(), c.n) << c.text;
    EXPECT_EQ(form_.Text(0), c.text);
    EXPECT_TRUE(form_.StartEnabled());
    EXPECT_EQ(Cautions(), c.cautions) << c.text;
  }
}

TEST_F(ForceFormTest, NumberOfNoMagnetEmptiesTheFieldAndDisablesStart) {
  struct Case {
    const char* text;
    bool caution;
  };
  for (const Case& c : {Case{"0", true}, Case{"4", false}, Case{"-2", true}, Case{"abc", true},
                        Case{"99999999999", false}}) {
    Type(0, "2");
    const int before = Cautions();
    EXPECT_EQ(Type(0, c.text), Action::kNoSuchMagnet) << c.text;
    EXPECT_EQ(form_.Text(0), "");
    EXPECT_FALSE(form_.StartEnabled());
    EXPECT_EQ(Cautions() - before, c.caution ? 1 : 0) << c.text;
    // The dialog's own emptying comes back as a change and stays quiet.
    EXPECT_EQ(Type(0, ""), Action::kNone);
    EXPECT_EQ(Cautions() - before, c.caution ? 1 : 0) << c.text;
  }
}

TEST_F(ForceFormTest, EmptyingTheNumberLeavesNothingToStart) {
  Type(0, "2");
  EXPECT_EQ(Type(0, ""), Action::kNone);
  EXPECT_FALSE(form_.StartEnabled());
  EXPECT_EQ(form_.OnStart(*model_), Action::kNone);
}

TEST_F(ForceFormTest, OtherNumberFieldsRejectNonIntegerTextAndNamesOfNoSuchMagnet) {
  for (int field : {1, 2, 3}) {
    EXPECT_EQ(Type(field, "1x"), Action::kNone);
    EXPECT_EQ(form_.Text(field), "");
    EXPECT_EQ(Type(field, "3"), Action::kNoSuchMagnet) << field;
    EXPECT_EQ(form_.Text(field), "");
    EXPECT_EQ(form_.ActedShape(), static_cast<ForceShape>(field));
  }
  EXPECT_EQ(Cautions(), 3);
  // Sector 1 has no inner radius: it is a sector, not an arc segment.
  EXPECT_EQ(Type(1, "1"), Action::kHighlight);
  EXPECT_EQ(Type(2, "1"), Action::kNoSuchMagnet);
  EXPECT_EQ(ForceForm::NoMagnetTitle(ForceShape::kArcMag), "弓形磁石選択");
  EXPECT_EQ(ForceForm::NoMagnetText(ForceShape::kArcMag), "入力された番号の弓形磁石はありません");
  EXPECT_EQ(Type(2, "2"), Action::kHighlight);
  EXPECT_EQ(Type(3, "1"), Action::kHighlight);
  EXPECT_FALSE(form_.StartEnabled());  // the rectangular choice has no number yet
}

TEST_F(ForceFormTest, EachChoiceStartsForItsOwnMagnetKind) {
  Type(1, "1");
  Type(2, "2");
  Type(3, "1");
  const std::pair<ForceShape, ForceTarget> cases[] = {
      {ForceShape::kSecMag, {ForceMagnetKind::kSec, 1}},
      {ForceShape::kArcMag, {ForceMagnetKind::kSec, 2}},
      {ForceShape::kRhMag, {ForceMagnetKind::kRh, 1}}};
  for (const auto& [shape, target] : cases) {
    form_.Choose(shape);
    EXPECT_TRUE(form_.StartEnabled());
    EXPECT_EQ(form_.OnStart(*model_), Action::kCompute);
    EXPECT_EQ(form_.Target().kind, target.kind);
    EXPECT_EQ(form_.Target().n, target.n);
  }
  model_->RhMagCount = 0;
  EXPECT_EQ(form_.OnStart(*model_), Action::kNoSuchMagnet);
}

TEST_F(ForceFormTest, StartComputesOnlyForAnExistingRectangularMagnet) {
  Type(0, "3");
  form_.ShowResult(Shown({1, 2, 3}));
  EXPECT_NE(form_.ResultText(), "");
  EXPECT_EQ(form_.OnStart(*model_), Action::kCompute);
  EXPECT_EQ(form_.ResultText(), "");
  form_.ShowResult(Shown({1, 2, 3}));
  form_.Choose(ForceShape::kSecMag);
  EXPECT_EQ(form_.OnStart(*model_), Action::kNone);
  EXPECT_EQ(form_.ResultText(), "");
  form_.Choose(ForceShape::kRecMag);
  // Magnet 3 deleted after its number was entered.
  model_->RecMagCount = 2;
  EXPECT_EQ(form_.OnStart(*model_), Action::kNoSuchMagnet);
  EXPECT_EQ(form_.Text(0), "");
  EXPECT_FALSE(form_.StartEnabled());
}

TEST_F(ForceFormTest, LoadingEmptiesAChosenFieldWithoutIntegerText) {
  Type(0, "2");
  form_.Load();
  EXPECT_TRUE(form_.StartEnabled());
  EXPECT_EQ(form_.Text(0), "2");
  Type(0, "2.5");
  form_.Load();
  EXPECT_FALSE(form_.StartEnabled());
  EXPECT_EQ(form_.Text(0), "");
}

}  // namespace
}  // namespace tavrine
