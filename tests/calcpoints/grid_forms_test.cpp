#include "calcpoints/grid_forms.h"

#include <gtest/gtest.h>

#include "model/text_rules.h"
#include "model/world_frame.h"
#include "support/matchers.h"

namespace tavrine {
namespace {

using testing::FreshModel;

class RectForm : public ::testing::Test {
 protected:
  void SetUp() override { MakeWorldBox(*model, 100); }
  void Type(RectGridField field, std::string_view text) {
    form.OnTextChanged(field, text, model->RectCalPointSet, notices);
  }
  std::unique_ptr<ElementModel> model = FreshModel();
  NoticeBoard notices;
  RectGridForm form;
};

TEST_F(RectForm, OpensWithItsOwnTextsThenTakesTheStoredSettings) {
  EXPECT_EQ(form.Text(RectGridField::MagN), "1");
  EXPECT_EQ(form.Text(RectGridField::XL), "1.0");
  EXPECT_EQ(form.Text(RectGridField::DivX), "40");
  EXPECT_EQ(form.Text(RectGridField::DisZ), "1");
  EXPECT_TRUE(form.HalfX() && form.HalfY());

  Type(RectGridField::MagN, "3");
  RectPointSet& set = model->RectCalPointSet;
  set.DivX = 12;
  set.DivY = 7;
  set.XL = 2.5;
  set.XSymmetric = 1;
  form.FillFromSettings(set);
  EXPECT_EQ(form.Text(RectGridField::MagN), "3");  // kept while the dialog stays open
  EXPECT_EQ(form.Text(RectGridField::DivX), "12");
  EXPECT_EQ(form.Text(RectGridField::DivY), "7");
  EXPECT_EQ(form.Text(RectGridField::XL), "2.5");
  EXPECT_EQ(form.Text(RectGridField::YL), "1");
  EXPECT_EQ(form.Text(RectGridField::DisZ), "0.5");  // the start-up distance
  EXPECT_TRUE(form.HalfX());
  EXPECT_FALSE(form.HalfY());
}

TEST_F(RectForm, InvalidDivisionsRaiseCaution5AndPutBackTheStoredValue) {
  model->RectCalPointSet.DivX = 25;
  model->RectCalPointSet.DivY = 8;
  Type(RectGridField::DivX, "33");
  EXPECT_EQ(form.Text(RectGridField::DivX), "33");
  for (const char* bad : {"0", "", "-4", "3.5", "1a", "04"}) {
    const FieldText shown =
        form.OnTextChanged(RectGridField::DivX, bad, model->RectCalPointSet, notices);
    EXPECT_EQ(shown.text, "25") << bad;  // the stored division, not the "33" typed before
    EXPECT_TRUE(shown.restored) << bad;
  }
  EXPECT_EQ(notices.RaiseCount(NoticeId::Caution5), 6);
  EXPECT_EQ(form.OnTextChanged(RectGridField::DivY, "0", model->RectCalPointSet, notices).text,
            "8");
  for (const char* good : {"+5", "4,0", "9"}) {
    const FieldText shown =
        form.OnTextChanged(RectGridField::DivY, good, model->RectCalPointSet, notices);
    EXPECT_EQ(shown.text, good);
    EXPECT_FALSE(shown.restored);
  }
  // Multipliers and distances are not checked.
  const FieldText free_text =
      form.OnTextChanged(RectGridField::XL, "abc", model->RectCalPointSet, notices);
  EXPECT_EQ(free_text.text, "abc");
  EXPECT_EQ(notices.RaiseCount(NoticeId::Caution5), 7);
}

TEST_F(RectForm, InputReadsTheTextsAndLaysTheGrid) {
  Type(RectGridField::DivX, "4,0");  // "," ends the number: 4
  Type(RectGridField::DivY, "2");
  Type(RectGridField::XL, "2");
  Type(RectGridField::DisZ, "3.5mm");
  Type(RectGridField::MagN, "1.5");  // half to even: 2, an empty slot
  form.SetHalfX(false);
  const RectGridInput read = form.Read();
  EXPECT_EQ(read.MagN, 2);
  EXPECT_EQ(read.DivX, 4);
  EXPECT_EQ(read.XL, 2);
  EXPECT_EQ(read.DisZ, 3.5);
  EXPECT_FALSE(read.HalfX);
  EXPECT_TRUE(read.HalfY);

  Type(RectGridField::MagN, "1");
  ASSERT_EQ(form.Input(*model, notices), GridOutcome::kGenerated);
  const RectPointSet& set = model->RectCalPointSet;
  EXPECT_EQ(set.MagN, 1);
  EXPECT_EQ(set.LastIndex, 5 * 3 - 1);
  EXPECT_EQ(set.DivX, 4);
  EXPECT_EQ(set.XSymmetric, 0);
  EXPECT_EQ(set.YSymmetric, 1);
  EXPECT_EQ(set.Points[0].LocalX, -100);  // the side doubled
  EXPECT_EQ(set.Points[0].LocalY, 0);     // half region in y
  EXPECT_EQ(set.Points[14].LocalX, 100);
  EXPECT_EQ(set.Points[14].LocalY, 50);
  EXPECT_EQ(set.Points[14].PGroZ, 3.5);
}

TEST_F(RectForm, EnterCycleWrapsToTheMagnetNumber) {
  RectGridField field = RectGridField::MagN;
  std::vector<RectGridField> order;
  for (int i = 0; i < kRectGridFieldCount; ++i) {
    field = RectGridForm::NextField(field);
    order.push_back(field);
  }
  EXPECT_EQ(order, (std::vector<RectGridField>{RectGridField::XL, RectGridField::DivX,
                                               RectGridField::YL, RectGridField::DivY,
                                               RectGridField::DisZ, RectGridField::MagN}));
}

class SectForm : public ::testing::Test {
 protected:
  std::unique_ptr<ElementModel> model = FreshModel();
  NoticeBoard notices;
  SectGridForm form;
};

TEST_F(SectForm, DefaultTextsGiveTheDefaultGrid) {
  EXPECT_EQ(form.Text(SectGridField::DivR), "10");
  EXPECT_EQ(form.Text(SectGridField::TStart), "0.0");
  EXPECT_EQ(form.Text(SectGridField::TSweep), "360");
  EXPECT_EQ(form.Text(SectGridField::DisZ), "0.5");
  model->SecMagCount = 1;
  ASSERT_EQ(form.Input(*model, notices), GridOutcome::kGenerated);
  const SectPointSet& set = model->SectCalPointSet;
  EXPECT_EQ(set.LastIndex, 406);
  EXPECT_EQ(set.RDiv, 10);
  EXPECT_EQ(set.AngleDiv, 36);
  EXPECT_EQ(set.CalPointRo, 50);
  EXPECT_DOUBLE_EQ(set.TEnd, 2 * Pi());
  EXPECT_EQ(set.Points[37].R, 5);
  EXPECT_TRUE(notices.OpenNotices().empty());
}

TEST_F(SectForm, TextsAreReadAsNumbersAndDivisionsRoundedHalfToEven) {
  form.SetText(SectGridField::DivR, "2.5");
  form.SetText(SectGridField::DivT, "9");
  form.SetText(SectGridField::TStart, "30");
  form.SetText(SectGridField::TSweep, "90");
  form.SetText(SectGridField::CalPointRi, "10");
  form.SetText(SectGridField::CalPointRo, "x");  // no number: 0
  const SectGridInput read = form.Read();
  EXPECT_EQ(read.DivR, 2);
  EXPECT_EQ(read.Ro, 0);
  form.SetText(SectGridField::CalPointRo, "20");
  ASSERT_EQ(form.Input(*model, notices), GridOutcome::kGenerated);
  const SectPointSet& set = model->SectCalPointSet;
  EXPECT_EQ(set.LastIndex, 3 * 10 - 1);
  EXPECT_NEAR(RadToDeg(set.Points[9].Theta), 120, 1e-12);
  EXPECT_EQ(set.Points[10].R, 15);
}

TEST_F(SectForm, ZeroDivisionsRaiseCaution2AndKeepTheOldGrid) {
  form.Input(*model, notices);
  for (const char* zero : {"0", "0.5", ""}) {  // 0.5 rounds to 0
    SectGridForm f;
    f.SetText(SectGridField::DivT, zero);
    EXPECT_EQ(f.Input(*model, notices), GridOutcome::kRefused) << zero;
  }
  EXPECT_TRUE(notices.IsOpen(NoticeId::Caution2));
  EXPECT_EQ(model->SectCalPointSet.LastIndex, 406);
  EXPECT_EQ(model->SectCalPointSet.AngleDiv, 36);
}

TEST_F(SectForm, EnterCycleVisitsEveryFieldOnce) {
  SectGridField field = SectGridField::MagN;
  for (int i = 1; i < kSectGridFieldCount; ++i) {
    field = SectGridForm::NextField(field);
    EXPECT_EQ(static_cast<int>(field), i);
  }
  EXPECT_EQ(SectGridForm::NextField(SectGridField::DisZ), SectGridField::MagN);
}

}  // namespace
}  // namespace tavrine
