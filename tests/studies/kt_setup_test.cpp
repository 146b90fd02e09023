// The Kt set-up form (fields, selection lists, previews, frame lines) and the coil-division walk.
#include "studies/kt_setup.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

#include "display/element_drawing.h"
#include "geometry/transforms.h"
#include "model/text_rules.h"
#include "studies/kt_sweep.h"
#include "support/matchers.h"
#include "support/recording_canvas.h"

namespace tavrine {
namespace {

using testing::RecordingCanvas;
using testing::VecNear;

class KtSetupTest : public ::testing::Test {
 protected:
  KtSetupTest() {
    for (int v = 0; v < kViewCount; ++v) {
      views.canvas[static_cast<size_t>(v)] = &canvas[v];
    }
    model->StrRecCoilCount = 2;
    model->SecRecCoilCount = 2;
    for (int i = 1; i <= 2; ++i) {
      StrRecCoil& c = model->StrRecCoilTable[static_cast<size_t>(i)];
      c.Lx = 20;
      c.W = 4;
      c.T = 2;
      c.Ox = 30.0 * i;
      SecRecCoil& a = model->SecRecCoilTable[static_cast<size_t>(i)];
      a.Ri = 10;
      a.Ro = 15;
      a.T = 2;
      a.Angle = 1;
    }
  }
  const std::vector<int32_t> List(int kind) const {
    const KtState& kt = model->Kt;
    return {kt.KtSelection[static_cast<size_t>(kind)].begin() + 1,
            kt.KtSelection[static_cast<size_t>(kind)].begin() + 1 +
                kt.KtSelectionCount[static_cast<size_t>(kind)]};
  }
  void ClearCanvases() {
    for (RecordingCanvas& c : canvas) {
      c.Clear();
    }
  }
  std::unique_ptr<ElementModel> model = testing::FreshModel();
  RecordingCanvas canvas[kViewCount];
  Views views;
  NoticeBoard board;
  KtSetupForm form;
};

TEST_F(KtSetupTest, OpeningShowsTheFrameAsHeldAndAnglesInDegrees) {
  model->Kt.Orx = 12.5;
  model->Kt.Orz = -3;
  model->Kt.ThetaRy = DegToRad(30);
  model->Kt.EndAngle = DegToRad(40);
  const auto texts = KtSetupForm::OpenTexts(*model);
  EXPECT_EQ(texts[0], "12.5");
  EXPECT_EQ(texts[2], "-3");
  EXPECT_EQ(texts[4], "30");
  EXPECT_EQ(texts[8], "40");
  EXPECT_EQ(texts[9], "5");  // the step after a full reset
}

TEST_F(KtSetupTest, FieldsWriteTheModelAndAStepNotAboveZeroBecomesFiveDegrees) {
  form.OnTextChanged(KtField::Text2, "7.5mm", *model, board);
  form.OnTextChanged(KtField::Text7, "90", *model, board);
  form.OnTextChanged(KtField::Text9, "abc", *model, board);
  EXPECT_EQ(model->Kt.Ory, 7.5);
  EXPECT_DOUBLE_EQ(model->Kt.ThetaRz, Pi() / 2);
  EXPECT_EQ(model->Kt.EndAngle, 0);
  EXPECT_FALSE(board.IsOpen(NoticeId::Caution7));
  // "0.5" typed key by key passes "0" and "0." without a notice.
  for (const char* typed : {"0", "0.", "0.5"}) {
    form.OnTextChanged(KtField::Text10, typed, *model, board);
  }
  EXPECT_FALSE(board.IsOpen(NoticeId::Caution7));
  EXPECT_DOUBLE_EQ(model->Kt.StepAngle, DegToRad(0.5));
  form.CommitStep("0.5", *model, board);
  EXPECT_FALSE(board.IsOpen(NoticeId::Caution7));
  form.OnTextChanged(KtField::Text10, "0", *model, board);
  form.CommitStep("0", *model, board);
  EXPECT_TRUE(board.IsOpen(NoticeId::Caution7));
  EXPECT_DOUBLE_EQ(model->Kt.StepAngle, DegToRad(5));
}

TEST_F(KtSetupTest, AddingBothStraightElementsMovesTheChoiceToTheArcKind) {
  KtSetupReply reply = form.AddElement("1", *model, views, board);
  EXPECT_EQ(reply.text3, "2");
  EXPECT_FALSE(reply.kind.has_value());
  ClearCanvases();
  reply = form.AddElement(*reply.text3, *model, views, board);
  EXPECT_EQ(reply.text3, "1");
  EXPECT_EQ(reply.kind, kKtSecRec);
  EXPECT_EQ(form.Kind(), kKtSecRec);
  EXPECT_EQ(List(0), (std::vector<int32_t>{1, 2}));
  // Both listed elements are redrawn white (mark mode) in every view.
  for (const auto& line : canvas[kTopView].Lines()) {
    EXPECT_EQ(line.colour, kWhite);
  }
  EXPECT_FALSE(canvas[kTopView].Lines().empty());
}

TEST_F(KtSetupTest, AddingAListedElementChangesNothingNotEvenTheNumberField) {
  form.AddElement("1", *model, views, board);
  ClearCanvases();
  const KtSetupReply reply = form.AddElement("1", *model, views, board);
  EXPECT_FALSE(reply.text3.has_value());
  EXPECT_FALSE(reply.kind.has_value());
  EXPECT_EQ(List(0), (std::vector<int32_t>{1}));
  EXPECT_TRUE(canvas[kTopView].calls.empty());
}

TEST_F(KtSetupTest, NumberOutsideTheTableRaisesCaution4AndLeavesTheList) {
  const KtSetupReply reply = form.AddElement("0", *model, views, board);
  EXPECT_TRUE(board.IsOpen(NoticeId::Caution4));
  EXPECT_EQ(reply.text3, "1");
  EXPECT_EQ(reply.kind, kKtSecRec);
  EXPECT_EQ(model->Kt.KtSelectionCount[0], 0);
  board.Close(NoticeId::Caution4);
  const KtSetupReply arc = form.AddElement("3", *model, views, board);
  EXPECT_TRUE(board.IsOpen(NoticeId::Caution4));
  EXPECT_FALSE(arc.text3.has_value());
  EXPECT_EQ(model->Kt.KtSelectionCount[1], 0);
}

TEST_F(KtSetupTest, LastArcElementSendsTheFocusToTheStartAngle) {
  form.SetKind(kKtSecRec);
  KtSetupReply reply = form.AddElement("1", *model, views, board);
  EXPECT_EQ(reply.text3, "2");
  EXPECT_EQ(reply.focus, KtField::Text3);
  reply = form.AddElement("2", *model, views, board);
  EXPECT_EQ(reply.text3, "2");
  EXPECT_EQ(reply.text8, "0");
  EXPECT_EQ(reply.focus, KtField::Text8);
  EXPECT_EQ(List(1), (std::vector<int32_t>{1, 2}));
  // The arc kind's mark colour.
  EXPECT_EQ(canvas[kFreeView].Lines().back().colour, kMarkGreen);
}

TEST_F(KtSetupTest, RoundWiresAreListedAndHandOverFromStraightToArcs) {
  model->StrCylCoilCount = 1;
  model->StrCylCoilTable[1] = {.Lx = 20, .R = 1, .CurrentDensity = 3};
  model->SecCylCoilCount = 2;
  form.SetKind(kKtStrCyl);
  form.CheckPressed("1", *model, views, board);
  EXPECT_FALSE(canvas[kTopView].calls.empty());
  const KtSetupReply straight = form.AddElement("1", *model, views, board);
  EXPECT_EQ(model->Kt.KtSelectionCount[kKtStrCyl], 1);
  EXPECT_EQ(straight.kind, kKtSecCyl);
  EXPECT_EQ(straight.text3, "1");
  form.AddElement("2", *model, views, board);
  EXPECT_EQ(model->Kt.KtSelection[kKtSecCyl][1], 2);
  form.AddElement("3", *model, views, board);
  EXPECT_TRUE(board.IsOpen(NoticeId::Caution4));
  EXPECT_EQ(model->Kt.KtSelectionCount[kKtSecCyl], 1);
}

TEST_F(KtSetupTest, FirstOpeningSweepsTheAnglesTheDialogShows) {
  KtSetupForm::PrepareOpening(*model);
  EXPECT_EQ(KtSetupForm::OpenTexts(*model)[8], "40");
  EXPECT_EQ(KtSweepAngles(model->Kt).phi.size(), 9u);
  // A sweep the user has set is kept.
  model->Kt.EndAngle = DegToRad(20);
  KtSetupForm::PrepareOpening(*model);
  EXPECT_EQ(KtSetupForm::OpenTexts(*model)[8], "20");
}

TEST_F(KtSetupTest, FiftyFirstElementIsRefusedAndTheListStaysWhole) {
  model->StrRecCoilCount = 60;
  for (int i = 1; i <= 50; ++i) {
    form.AddElement(std::to_string(i), *model, views, board);
  }
  EXPECT_EQ(model->Kt.KtSelectionCount[0], 50);
  EXPECT_FALSE(board.IsOpen(NoticeId::CautionCapacity));
  const KtSetupReply reply = form.AddElement("51", *model, views, board);
  EXPECT_TRUE(board.IsOpen(NoticeId::CautionCapacity));
  EXPECT_EQ(model->Kt.KtSelectionCount[0], 50);
  EXPECT_EQ(model->Kt.KtSelection[0][50], 50);
  EXPECT_FALSE(reply.text3.has_value());
}

TEST_F(KtSetupTest, CheckDrawsWhiteOrGreenAndReleaseRestores) {
  form.CheckPressed("2", *model, views, board);
  EXPECT_FALSE(canvas[kTopView].Lines().empty());
  for (const auto& line : canvas[kTopView].Lines()) {
    EXPECT_EQ(line.colour, kWhite);
  }
  ClearCanvases();
  form.CheckReleased("2", *model, views);
  // Neither element is listed: both back in their normal colours (blue entry end first).
  EXPECT_EQ(canvas[kTopView].Lines().front().colour, kCurrentEntryColour);
  form.CheckPressed("5", *model, views, board);
  EXPECT_TRUE(board.IsOpen(NoticeId::Caution4));
}

// Lines one turned straight element draws into the top view.
size_t LinesOfOneTurnedElement(const ElementModel& model, int e) {
  RecordingCanvas c;
  NullNotices notices;
  DrawStrRecCoilRotated(model, c, e, 0, AnglesOfView(model, kTopView), DrawMode::kHighlight,
                        notices);
  return c.Lines().size();
}

TEST_F(KtSetupTest, PreviewDrawsEveryAngleAndAZeroStepPreviewsInFiveDegreeSteps) {
  form.AddElement("1", *model, views, board);
  ClearCanvases();
  const size_t one = LinesOfOneTurnedElement(*model, 1);
  form.Preview({"0", "40", "5"}, *model, views, board);
  EXPECT_EQ(canvas[kTopView].Lines().size(), 9 * one);
  ClearCanvases();
  form.Preview({"0", "30", "0.5"}, *model, views, board);
  EXPECT_EQ(canvas[kTopView].Lines().size(), 60 * one);
  ClearCanvases();
  form.Preview({"0", "40", "0"}, *model, views, board);
  EXPECT_TRUE(board.IsOpen(NoticeId::Caution7));
  EXPECT_EQ(canvas[kTopView].Lines().size(), 9 * one);
  EXPECT_DOUBLE_EQ(model->Kt.StepAngle, DegToRad(5));
}

// Segments of a recording as sorted (end, end, colour) tuples, each segment's ends in order.
std::vector<std::array<double, 7>> Segments(const RecordingCanvas& c) {
  std::vector<std::array<double, 7>> out;
  for (const auto& l : c.Lines()) {
    std::array<double, 4> ends = {l.x1, l.y1, l.x2, l.y2};
    if (std::make_pair(l.x2, l.y2) < std::make_pair(l.x1, l.y1)) {
      ends = {l.x2, l.y2, l.x1, l.y1};
    }
    out.push_back({std::round(ends[0] * 1e6), std::round(ends[1] * 1e6), std::round(ends[2] * 1e6),
                   std::round(ends[3] * 1e6), double(l.colour.r), double(l.colour.g),
                   double(l.colour.b)});
  }
  std::sort(out.begin(), out.end());
  return out;
}

TEST_F(KtSetupTest, TurnedArcMatchesTheArcDrawnAtTheTurnedPlacement) {
  SecRecCoil& arc = model->SecRecCoilTable[1];
  arc.Ox = 20;
  arc.CurrentDensity = -3;
  NullNotices notices;
  const ViewAngles top = AnglesOfView(*model, kTopView);
  RecordingCanvas turned;
  DrawSecRecCoilTurned(*model, turned, 1, Pi() / 2, top, DrawMode::kNormal, notices);
  // A quarter turn about the Kt z axis at the origin: the same arc placed at (0, 20), turned 90°.
  auto placed = std::make_unique<ElementModel>(*model);
  placed->SecRecCoilTable[1].Ox = 0;
  placed->SecRecCoilTable[1].Oy = 20;
  placed->SecRecCoilTable[1].AngZ = Pi() / 2;
  RecordingCanvas reference;
  DrawSecRecCoil(*placed, reference, 1, kSecRecSegments, top, DrawMode::kNormal);
  EXPECT_EQ(turned.Lines().size(), 4u * kSecRecSegments + 8);
  EXPECT_EQ(Segments(turned), Segments(reference));
}

TEST_F(KtSetupTest, PreviewTurnsTheRoundWiresAboutTheKtAxis) {
  model->StrCylCoilCount = 1;
  model->StrCylCoilTable[1] = {.Lx = 20, .R = 1, .CurrentDensity = 3, .Ox = 20};
  form.SetKind(kKtStrCyl);
  form.AddElement("1", *model, views, board);
  ClearCanvases();
  form.Preview({"0", "90", "90"}, *model, views, board);
  const auto& lines = canvas[kTopView].Lines();
  ASSERT_EQ(lines.size(), 2u * (8 + 2 * 16));
  EXPECT_TRUE(std::all_of(lines.begin(), lines.end(), [](const auto& l) {
    return l.colour == Rgb{255, 255, 255};
  }));
  // A quarter turn about the Kt z axis at the origin: the wire now lies along y at (0, 20).
  auto placed = std::make_unique<ElementModel>(*model);
  placed->StrCylCoilTable[1].Ox = 0;
  placed->StrCylCoilTable[1].Oy = 20;
  placed->StrCylCoilTable[1].AngZ = Pi() / 2;
  RecordingCanvas turned, reference;
  NullNotices notices;
  const ViewAngles top = AnglesOfView(*model, kTopView);
  DrawRoundWireTurned(*model, turned, kKtStrCyl, 1, Pi() / 2, top, DrawMode::kNormal, notices);
  DrawRoundWireTurned(*placed, reference, kKtStrCyl, 1, 0, top, DrawMode::kNormal, notices);
  EXPECT_EQ(Segments(turned), Segments(reference));
}

TEST_F(KtSetupTest, PreviewAndConfirmationTurnTheArcListToo) {
  form.SetKind(kKtSecRec);
  form.AddElement("1", *model, views, board);
  ClearCanvases();
  form.Preview({"0", "40", "5"}, *model, views, board);
  const auto lines = canvas[kFrontView].Lines();
  EXPECT_EQ(lines.size(), 9u * (4 * kSecRecSegments + 8));
  for (const auto& line : lines) {
    EXPECT_EQ(line.colour, kWhite);
  }
  ClearCanvases();
  form.Confirm(*model, views, board);
  // After the redraw, the turned arc in its current colours: the first arc segment's gradient.
  const auto confirmed = canvas[kFrontView].Lines();
  ASSERT_GE(confirmed.size(), lines.size());
  EXPECT_EQ(confirmed[confirmed.size() - lines.size()].colour,
            CurrentGradient(1, kSecRecSegments, false));
}

TEST_F(KtSetupTest, FrameLinesRunFiftyMillimetresAlongTheTurnedAxes) {
  model->Kt.Orx = 10;
  model->Kt.ThetaRz = Pi() / 2;
  const auto lines = KtFrameLines(*model, true);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_THAT(lines[0].b, VecNear(Vec3{10, 50, 0}, 1e-12, 1e-12));
  EXPECT_THAT(lines[1].b, VecNear(Vec3{-40, 0, 0}, 1e-12, 1e-12));
  EXPECT_EQ(lines[2].a, (Vec3{10, 0, 0}));
  EXPECT_EQ(lines[0].colour, (Rgb{255, 0, 0}));
  EXPECT_EQ(lines[2].colour, (Rgb{0, 0, 255}));
  for (const WorldLine& line : KtFrameLines(*model, false)) {
    EXPECT_EQ(line.colour, kKtFrameGrey);
  }
  const KtSetupReply reply = form.EnterFrame(*model, views);
  EXPECT_EQ(reply.text3, "1");
  EXPECT_EQ(reply.focus, KtField::Text3);
  EXPECT_EQ(canvas[kSideView].Lines().size(), 3u);
}

TEST(KtDivisionWalk, WithNothingSelectedTheFourthPressEndsTheWalk) {
  auto model = testing::FreshModel();
  Views views;
  NoticeBoard board;
  KtDivisionWalk walk;
  EXPECT_EQ(walk.KindCaption(), "直線角型ｺｲﾙ");
  EXPECT_EQ(walk.ElementText(*model), "0");
  EXPECT_FALSE(walk.Enter({"8", "2", "2"}, *model, views, board));
  EXPECT_EQ(walk.KindCaption(), "曲線角型ｺｲﾙ");
  EXPECT_FALSE(walk.Enter({"8", "2", "2"}, *model, views, board));
  EXPECT_FALSE(walk.Enter({"8", "2", "2"}, *model, views, board));
  EXPECT_EQ(walk.KindCaption(), "曲線円柱ｺｲﾙ");
  EXPECT_TRUE(walk.Enter({"8", "2", "2"}, *model, views, board));
  EXPECT_TRUE(walk.Finished());
}

TEST_F(KtSetupTest, WalkStoresTheCountsOfEachEntryInTurn) {
  form.AddElement("2", *model, views, board);
  form.SetKind(kKtStrRec);
  form.AddElement("1", *model, views, board);
  form.SetKind(kKtSecRec);
  form.AddElement("2", *model, views, board);
  KtDivisionWalk walk;
  EXPECT_EQ(walk.ElementText(*model), "2");
  EXPECT_FALSE(walk.Enter({"8", "2", "2"}, *model, views, board));
  EXPECT_EQ(walk.ElementText(*model), "1");
  EXPECT_FALSE(walk.Enter({"4", "3.5", "1"}, *model, views, board));
  EXPECT_EQ(walk.KindCaption(), "曲線角型ｺｲﾙ");
  EXPECT_EQ(walk.ElementText(*model), "2");
  ClearCanvases();
  // A count of 0, or more pieces than the point set holds, is refused.
  EXPECT_FALSE(walk.Enter({"0", "2", "2"}, *model, views, board));
  EXPECT_TRUE(board.IsOpen(NoticeId::Caution6));
  EXPECT_FALSE(walk.Enter({"1000", "100", "1"}, *model, views, board));
  EXPECT_EQ(walk.KindCaption(), "曲線角型ｺｲﾙ");
  EXPECT_EQ(canvas[kTopView].Lines().back().colour, kMarkGreen);
  EXPECT_FALSE(walk.Enter({"16", "1", "2"}, *model, views, board));
  EXPECT_FALSE(walk.Enter({"8", "2", "2"}, *model, views, board));
  EXPECT_TRUE(walk.Enter({"8", "2", "2"}, *model, views, board));
  const KtState& kt = model->Kt;
  EXPECT_EQ(kt.DivL[0][1], 8);
  EXPECT_EQ(kt.DivL[0][2], 4);
  EXPECT_EQ(kt.DivW[0][2], 4);  // 3.5 rounds half to even
  EXPECT_EQ(kt.DivT[0][2], 1);
  EXPECT_EQ(kt.DivL[1][1], 16);
  EXPECT_EQ(kt.DivT[1][1], 2);
}

}  // namespace
}  // namespace tavrine
