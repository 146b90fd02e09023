// The Pc dialogs' logic: field checks and restored texts, magnet and depth changes, grade list,
// Enter-key cycle and the commands over a real run.
#include "studies/pc_form.h"

#include <gtest/gtest.h>

#include "support/matchers.h"

namespace tavrine {
namespace {

using testing::FreshModel;

class PcFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    model_ = FreshModel();
    model_->RecMagTable[1] = RecMag{.a = 100, .b = 100, .l = 100};
    model_->RecMagTable[2] =
        RecMag{.a = 20, .b = 10, .l = 6, .Br = 13500, .Hcj = 12000, .MaterialIndex = 4};
    model_->RecMagTable[3] =
        RecMag{.a = 8, .b = 8, .l = 2, .Oz = 30, .Br = 14200, .Hcj = 11000, .MaterialIndex = 6};
    model_->RecMagCount = 3;
    // Well away from the prisms, whose cells it would otherwise overlap.
    model_->SecMagTable[1] = SecMag{.Ri = 5,
                                    .Ro = 9,
                                    .T = 4,
                                    .OpenAngle = 1,
                                    .Oz = -80,
                                    .Br = 12000,
                                    .Hcj = 20000,
                                    .MaterialIndex = 15};
    model_->SecMagCount = 1;
  }
  void Edit(PcForm& form, PcField field, std::string_view text) {
    form.Edit(field, text, *model_, board_);
  }
  PcForm Opened(PcShape shape) {
    PcForm form(shape);
    form.Load(*model_);
    form.Prepare(*model_, board_);
    return form;
  }

  std::unique_ptr<ElementModel> model_;
  NoticeBoard board_;
};

TEST_F(PcFormTest, InitialTextsAndNamesOfBothShapes) {
  const PcForm rect(PcShape::kRect);
  EXPECT_EQ(rect.Text(PcField::kMagNumber), "2");
  EXPECT_EQ(rect.Text(PcField::kText3), "-");
  EXPECT_EQ(rect.Text(PcField::kOuterDiv), "20");
  EXPECT_EQ(rect.Text(PcField::kTextHcj), "0.64");
  EXPECT_EQ(PcFieldOf(PcShape::kRect, PcField::kInnerDiv).name, "NumDivA");
  const PcForm sect(PcShape::kSect);
  EXPECT_EQ(sect.Text(PcField::kMagNumber), "1");
  EXPECT_EQ(sect.Text(PcField::kOuterDiv), "10");
  EXPECT_EQ(sect.Text(PcField::kInnerDiv), "30");
  EXPECT_EQ(PcFieldOf(PcShape::kSect, PcField::kInnerDiv).label, "角度（Y)方向分割数");
  EXPECT_EQ(PcDialogTitle(PcShape::kSect), "Pcの計算(扇型磁石）");
}

TEST_F(PcFormTest, PreparingFillsDepthGradeAndMagnetValues) {
  PcForm form = Opened(PcShape::kRect);
  EXPECT_EQ(form.Text(PcField::kText3), "-6");
  EXPECT_EQ(form.Analysis().depth, -6);
  EXPECT_EQ(form.SelectedGrade(), 4);
  EXPECT_EQ(form.Text(PcField::kText1), "13500");
  EXPECT_EQ(form.Text(PcField::kTextHcj20), "12");
  EXPECT_EQ(form.TakeHighlight(), 2);
  EXPECT_EQ(form.TakeHighlight(), std::nullopt);
  EXPECT_EQ(form.TakeFocus(), std::nullopt);
  PcForm sect = Opened(PcShape::kSect);
  EXPECT_EQ(sect.Text(PcField::kText3), "-4");
  EXPECT_EQ(sect.Text(PcField::kTextHcj20), "20");
  EXPECT_EQ(sect.TakeFocus(), PcField::kMagNumber);
  EXPECT_TRUE(board_.OpenNotices().empty());
}

TEST_F(PcFormTest, DivisionFieldsRefuseAndRestore) {
  PcForm form = Opened(PcShape::kRect);
  Edit(form, PcField::kInnerDiv, "60");
  EXPECT_TRUE(board_.IsOpen(NoticeId::Caution9));
  EXPECT_EQ(form.Text(PcField::kInnerDiv), "20");
  Edit(form, PcField::kInnerDiv, "2.5");
  EXPECT_TRUE(board_.IsOpen(NoticeId::Caution5));
  EXPECT_EQ(form.Text(PcField::kInnerDiv), "20");
  Edit(form, PcField::kNDivZ, "25");
  EXPECT_TRUE(board_.IsOpen(NoticeId::Caution8));
  EXPECT_EQ(form.Text(PcField::kNDivZ), "5");
  Edit(form, PcField::kNDivZ, "15");
  Edit(form, PcField::kOuterDiv, "12,5");
  EXPECT_EQ(form.Analysis().divisions.layers, 15);
  EXPECT_EQ(form.Analysis().divisions.outer, 12);
  EXPECT_EQ(form.Analysis().divisions.inner, 20);

  PcForm sect = Opened(PcShape::kSect);
  Edit(sect, PcField::kInnerDiv, "91");
  EXPECT_EQ(sect.Text(PcField::kInnerDiv), "30");
  Edit(sect, PcField::kInnerDiv, "90");
  Edit(sect, PcField::kNDivZ, "16");
  EXPECT_EQ(sect.Text(PcField::kNDivZ), "5");
  Edit(sect, PcField::kOuterDiv, "31");
  EXPECT_EQ(sect.Text(PcField::kOuterDiv), "10");
  EXPECT_EQ(sect.Analysis().divisions.inner, 90);
}

TEST_F(PcFormTest, MagnetNumberChangeFollowsTheChosenMagnet) {
  PcForm form = Opened(PcShape::kRect);
  form.TakeHighlight();
  Edit(form, PcField::kMagNumber, "3");
  EXPECT_EQ(form.Analysis().n, 3);
  EXPECT_EQ(form.Analysis().depth, -2);
  EXPECT_EQ(form.Text(PcField::kText3), "-2");
  EXPECT_EQ(form.SelectedGrade(), 6);
  EXPECT_EQ(form.Text(PcField::kText1), "14200");
  EXPECT_EQ(form.Text(PcField::kTextHcj20), "11");
  EXPECT_EQ(form.TakeHighlight(), 3);
  // The world box and numbers past the count are refused; the field shows 2 again.
  Edit(form, PcField::kMagNumber, "1");
  EXPECT_TRUE(board_.IsOpen(NoticeId::Caution9));
  EXPECT_EQ(form.Text(PcField::kMagNumber), "2");
  EXPECT_EQ(form.Analysis().n, 2);
  EXPECT_EQ(form.Text(PcField::kText3), "-6");
  Edit(form, PcField::kMagNumber, "4");
  EXPECT_EQ(form.Text(PcField::kMagNumber), "2");
}

TEST_F(PcFormTest, DepthIsAMagnitudeLimitedByTheThickness) {
  PcForm form = Opened(PcShape::kRect);
  Edit(form, PcField::kText3, "-3");
  EXPECT_EQ(form.Analysis().depth, -3);
  Edit(form, PcField::kText3, "3");
  EXPECT_EQ(form.Analysis().depth, -3);
  Edit(form, PcField::kText3, "100");
  EXPECT_EQ(form.Analysis().depth, -6);
  EXPECT_EQ(form.Text(PcField::kText3), "100");
  // A reset reads the depth the same way: a typed positive depth never reaches a run.
  Edit(form, PcField::kText3, "4");
  form.Load(*model_);
  EXPECT_EQ(form.Analysis().depth, -4);
}

TEST_F(PcFormTest, TemperatureAndCoercivityChecks) {
  PcForm form = Opened(PcShape::kRect);
  Edit(form, PcField::kTextTemp, "abc");
  EXPECT_TRUE(board_.IsOpen(NoticeId::Caution5));
  EXPECT_EQ(form.Text(PcField::kTextTemp), "120");
  EXPECT_EQ(form.TakeFocus(), PcField::kTextTemp);
  Edit(form, PcField::kTextTemp, "300.5");
  EXPECT_TRUE(board_.IsOpen(NoticeId::Caution6));
  EXPECT_EQ(form.Text(PcField::kTextTemp), "120");
  Edit(form, PcField::kTextTemp, "");
  EXPECT_EQ(form.Text(PcField::kTextTemp), "120");
  Edit(form, PcField::kTextTemp, "300");
  EXPECT_EQ(form.Text(PcField::kTextTemp), "300");
  Edit(form, PcField::kTextHcj20, "");
  EXPECT_EQ(form.Text(PcField::kTextHcj20), "");
  Edit(form, PcField::kTextHcj20, "50.1");
  EXPECT_EQ(form.Text(PcField::kTextHcj20), "17");
  EXPECT_EQ(form.TakeFocus(), PcField::kTextHcj20);
}

TEST_F(PcFormTest, GradeClickFillsRemanenceAndKiloOersted) {
  PcForm form = Opened(PcShape::kRect);
  form.ClickGrade(6, *model_, board_);
  EXPECT_EQ(form.Text(PcField::kText1), "14200");
  EXPECT_EQ(form.Text(PcField::kTextHcj20), "11");
  form.ClickGrade(29, *model_, board_);
  EXPECT_EQ(form.SelectedGrade(), 6);
}

TEST_F(PcFormTest, EnterCycleOfBothShapes) {
  const PcForm form(PcShape::kSect);
  PcField field = PcField::kMagNumber;
  std::vector<PcField> seen;
  for (int i = 0; i < 7; ++i) {
    field = *form.Next(field);
    seen.push_back(field);
  }
  EXPECT_EQ(seen, (std::vector<PcField>{PcField::kNDivZ, PcField::kText3, PcField::kOuterDiv,
                                        PcField::kInnerDiv, PcField::kTextTemp, PcField::kTextHcj20,
                                        PcField::kMagNumber}));
  EXPECT_EQ(form.Next(PcField::kTextMr), std::nullopt);
}

TEST_F(PcFormTest, DistributionBeforeARunResetsAndShowsNothing) {
  PcForm form = Opened(PcShape::kRect);
  const PcDistribution d = form.Distribution(*model_, board_);
  EXPECT_TRUE(board_.IsOpen(NoticeId::PcCaluculationNotice));
  EXPECT_TRUE(board_.IsOpen(NoticeId::Caution12));
  EXPECT_EQ(d.mean, 0);
  EXPECT_EQ(d.volume, 0);
  board_.Close(NoticeId::Caution12);
  form.FluxLoss(*model_, board_);
  EXPECT_TRUE(board_.IsOpen(NoticeId::Caution12));
}

TEST_F(PcFormTest, CalculationOfTheDefaultGridThenDistributionAndLoss) {
  PcForm form = Opened(PcShape::kRect);
  const std::optional<PcRunRequest> request = form.StartCalculation(*model_, board_);
  ASSERT_TRUE(request.has_value());
  EXPECT_EQ(request->magnet, 2);
  EXPECT_EQ(request->divisions.Cells(), 2000);
  EXPECT_EQ(request->depth, -6);
  NullProgress progress;
  form.FinishCalculation(RunPcCalculation(*model_, *request, progress, board_, {2}));
  // Later edits of the divisions do not change which cells the results cover.
  Edit(form, PcField::kInnerDiv, "10");
  const PcDistribution d = form.Distribution(*model_, board_);
  EXPECT_EQ(form.Analysis().cell_count, 2000);
  EXPECT_NEAR(d.volume, 20.0 * 10 * 6, 1e-9);
  EXPECT_NEAR(form.Analysis().cell_volume[1999], 1200.0 / 2000, 1e-12);
  EXPECT_LT(d.min, d.mean);
  EXPECT_LT(d.mean, d.max);
  EXPECT_GT(d.min, 0);
  EXPECT_TRUE(board_.OpenNotices().empty());

  const FluxLossInputs inputs = form.LossInputs(*model_);
  EXPECT_EQ(inputs.br, 13500);
  EXPECT_EQ(inputs.hcj20, 12000);
  EXPECT_EQ(inputs.tmax, 120);
  const FluxLossCurve curve = form.FluxLoss(*model_, board_);
  EXPECT_NEAR(curve.volume, 1200, 1e-9);
  EXPECT_EQ(curve.rows[100].x, 120);
  EXPECT_LT(curve.rows[100].y, curve.rows[0].y);
}

TEST_F(PcFormTest, CalculationRefusedForAMagnetThatIsGone) {
  PcForm form = Opened(PcShape::kRect);
  Edit(form, PcField::kMagNumber, "3");
  model_->RecMagCount = 2;
  form.TakeHighlight();
  EXPECT_EQ(form.StartCalculation(*model_, board_), std::nullopt);
  EXPECT_TRUE(board_.IsOpen(NoticeId::Caution9));
  EXPECT_EQ(form.TakeHighlight(), 3);
  PcForm sect = Opened(PcShape::kSect);
  model_->SecMagCount = 0;
  EXPECT_EQ(sect.StartCalculation(*model_, board_), std::nullopt);
}

TEST_F(PcFormTest, AOneWaitsForItsSecondDigitAndRefreshFollowsTheModel) {
  model_->RecMagTable[12] = RecMag{.a = 1, .b = 1, .l = 9};
  model_->RecMagCount = 12;
  PcForm form = Opened(PcShape::kRect);
  Edit(form, PcField::kMagNumber, "1");
  EXPECT_FALSE(board_.IsOpen(NoticeId::Caution9));
  EXPECT_EQ(form.StartCalculation(*model_, board_), std::nullopt);  // not left as "1"
  EXPECT_TRUE(board_.IsOpen(NoticeId::Caution9));
  EXPECT_EQ(form.Text(PcField::kMagNumber), "2");
  Edit(form, PcField::kMagNumber, "1");
  Edit(form, PcField::kMagNumber, "12");
  EXPECT_EQ(form.Analysis().n, 12);
  EXPECT_EQ(form.Text(PcField::kText3), "-9");

  model_->RecMagTable[12].l = 4;
  form.Refresh(*model_, board_);
  EXPECT_EQ(form.Text(PcField::kText3), "-4");
  model_->RecMagCount = 3;  // magnet 12 went away: back to the first, without a notice
  board_.Close(NoticeId::Caution9);
  form.Refresh(*model_, board_);
  EXPECT_EQ(form.Text(PcField::kMagNumber), "2");
  EXPECT_EQ(form.Analysis().n, 2);
  EXPECT_FALSE(board_.IsOpen(NoticeId::Caution9));
}

TEST(PcValueTextTest, TwoDecimalsHalfToEven) {
  EXPECT_EQ(PcValueText(0.125), "0.12");
  EXPECT_EQ(PcValueText(0.375), "0.38");
  EXPECT_EQ(PcValueText(1234.5678), "1234.57");
  EXPECT_EQ(PcValueText(-0.001), "0");
  EXPECT_EQ(PcValueText(2.5), "2.5");
}

}  // namespace
}  // namespace tavrine
