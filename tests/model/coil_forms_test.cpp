// Current-element forms: opening prefill, density ↔ current, number checks and modes, the arc
// dialogs' restores, the Enter cycle, capacity refusals and deletion.
#include "model/coil_forms.h"

#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

#include "model/text_rules.h"
#include "support/matchers.h"

namespace tavrine {
namespace {

using testing::FreshModel;

struct DisplayCall {
  std::string what;
  CoilKind kind = CoilKind::kStrCyl;
  int element = 0;
  int segments = 0;
};

class RecordingDisplay final : public CoilDisplay {
 public:
  void RedrawAll() override { calls.push_back({"redraw"}); }
  void HighlightElement(CoilKind kind, int i, int segments) override {
    calls.push_back({"highlight", kind, i, segments});
  }
  void HighlightOnly(CoilKind kind, int i) override { calls.push_back({"only", kind, i}); }
  std::vector<DisplayCall> calls;
};

class CoilFormTest : public ::testing::Test {
 protected:
  // Types the text into the named field as a user would.
  void Type(CoilForm& form, std::string_view name, std::string_view text) {
    const int field = form.FieldIndex(name);
    ASSERT_GE(field, 0) << name;
    form.OnTextChanged(field, text, *model, board, display);
  }
  const std::string& Shown(const CoilForm& form, std::string_view name) {
    return form.Text(form.FieldIndex(name));
  }
  std::unique_ptr<ElementModel> model = FreshModel();
  NoticeBoard board;
  RecordingDisplay display;
};

TEST_F(CoilFormTest, RoundWireCurrentIsHeldAsDensityAndShownBackAsCurrent) {
  CreateStraightCylCoil form;
  form.Open(*model);
  EXPECT_EQ(Shown(form, "Text10"), "1");
  Type(form, "Text11", "13500");
  Type(form, "Text1", "40");
  Type(form, "Text2", "1");
  Type(form, "Text6", "90");
  Type(form, "Text8", "-2.5");
  form.Enter(*model, board, display);
  ASSERT_EQ(model->StrCylCoilCount, 1);
  const StrCylCoil& coil = model->StrCylCoilTable[1];
  EXPECT_DOUBLE_EQ(coil.CurrentDensity, 13500 / Pi());
  EXPECT_NEAR(coil.CurrentDensity, 4297.18, 0.01);
  EXPECT_DOUBLE_EQ(coil.AngZ, Pi() / 2);
  EXPECT_EQ(board.RaiseCount(NoticeId::Caution), 0);
  EXPECT_EQ(Shown(form, "Text10"), "2");
  EXPECT_EQ(display.calls.back().what, "redraw");

  CreateStraightCylCoil reopened;
  reopened.Open(*model);
  EXPECT_EQ(Shown(reopened, "Text10"), "2");
  EXPECT_EQ(Shown(reopened, "Text11"), "13500");
  EXPECT_EQ(Shown(reopened, "Text6"), "90");
  EXPECT_EQ(Shown(reopened, "Text8"), "-2.5");
  EXPECT_EQ(reopened.TakeFocusRequest(), reopened.FieldIndex("Text11"));
}

TEST_F(CoilFormTest, FailedAreaCheckRaisesCautionAndStoresTheCurrentItself) {
  CreateStraightCylCoil round;
  round.Open(*model);
  Type(round, "Text11", "13500");
  Type(round, "Text2", "0");
  round.Enter(*model, board, display);
  EXPECT_EQ(model->StrCylCoilTable[1].CurrentDensity, 13500);
  EXPECT_EQ(board.RaiseCount(NoticeId::Caution), 1);

  // The rectangular straight wire checks only against zero: a negative width is accepted.
  CreateStraightRecCoil rect;
  rect.Open(*model);
  Type(rect, "Text3", "10");
  Type(rect, "Text1", "-2");
  Type(rect, "Text2", "1");
  rect.Enter(*model, board, display);
  EXPECT_EQ(model->StrRecCoilTable[1].CurrentDensity, -5);
  EXPECT_EQ(board.RaiseCount(NoticeId::Caution), 1);

  // The arc rectangular wire refuses Ro < Ri, whose area is negative.
  CreateSectorRecCoil arc;
  arc.Open(*model);
  Type(arc, "Text3", "7");
  Type(arc, "Text11", "5");
  Type(arc, "Text1", "3");
  Type(arc, "Text2", "2");
  arc.Enter(*model, board, display);
  EXPECT_EQ(model->SecRecCoilTable[1].CurrentDensity, 7);
  EXPECT_EQ(board.RaiseCount(NoticeId::Caution), 2);
}

TEST_F(CoilFormTest, OpeningAnEmptyKindShowsZerosAndOtherwiseTheLastElement) {
  CreateSectorCylCoil empty;
  EXPECT_EQ(Shown(empty, "Text3"), "60.0");  // the texts before the first opening
  empty.Open(*model);
  for (int f = 1; f < static_cast<int>(empty.Fields().size()); ++f) {
    EXPECT_EQ(empty.Text(f), "0") << empty.Fields()[static_cast<size_t>(f)].name;
  }
  model->SecCylCoilCount = 2;
  model->SecCylCoilTable[2] = {.R = 12, .Angle = Pi() / 3, .rwire = 2, .CurrentDensity = 3};
  CreateSectorCylCoil filled;
  filled.Open(*model);
  EXPECT_EQ(Shown(filled, "Text10"), "3");
  EXPECT_EQ(Shown(filled, "Text1"), "12");
  EXPECT_EQ(Shown(filled, "Text2"), "2");
  EXPECT_EQ(Shown(filled, "Text3"), "60");
  EXPECT_EQ(Shown(filled, "Text11"), ShortestDecimal(3 * Pi() * 4));
}

TEST_F(CoilFormTest, NumberChangeSwitchesBetweenModifyAndNewMode) {
  model->StrRecCoilCount = 3;
  model->StrRecCoilTable[2] = {.Lx = 8, .W = 2, .T = 0.5, .CurrentDensity = 100, .Ox = 4};
  CreateStraightRecCoil form;
  form.Open(*model);
  Type(form, "Text10", "2");
  EXPECT_TRUE(form.ModifyMode());
  EXPECT_FALSE(form.EnterEnabled());
  EXPECT_TRUE(form.ModifyEnabled());
  EXPECT_EQ(Shown(form, "Text3"), "100");  // density × W × T
  EXPECT_EQ(Shown(form, "Text7"), "4");
  ASSERT_FALSE(display.calls.empty());
  EXPECT_EQ(display.calls.back().what, "highlight");
  EXPECT_EQ(display.calls.back().element, 2);

  Type(form, "Text10", "4");
  EXPECT_FALSE(form.ModifyMode());
  EXPECT_TRUE(form.EnterEnabled());
  EXPECT_FALSE(form.ModifyEnabled());
  EXPECT_EQ(Shown(form, "Text11"), "8");  // new mode keeps the texts

  // Beyond count + 1 neither command changes except "修正", which is always disabled first.
  Type(form, "Text10", "2");
  Type(form, "Text10", "7");
  EXPECT_FALSE(form.EnterEnabled());
  EXPECT_FALSE(form.ModifyEnabled());
  EXPECT_EQ(board.RaiseCount(NoticeId::Caution5), 0);
}

TEST_F(CoilFormTest, InvalidNumbersRestoreTheLastValidTextAndDisableEnter) {
  CreateStraightCylCoil form;
  form.Open(*model);
  Type(form, "Text10", "1");
  for (const char* bad : {"", "0", "-1", "1.5", "a", "1001", "99999"}) {
    Type(form, "Text10", bad);
    EXPECT_EQ(Shown(form, "Text10"), "1") << bad;
    EXPECT_FALSE(form.EnterEnabled()) << bad;
  }
  EXPECT_EQ(board.RaiseCount(NoticeId::Caution5), 7);
  EXPECT_EQ(form.LastValidNumber(), "1");
  // A comma ends the number: "1,000" is element 1, not 1000.
  Type(form, "Text10", "1,000");
  EXPECT_TRUE(form.EnterEnabled());
  EXPECT_EQ(display.calls.back().segments, 10);  // the round-wire dialog's generator lines
  EXPECT_EQ(display.calls.back().element, 1);
}

TEST_F(CoilFormTest, ModifyStoresIntoTheNamedSlotWithoutChangingTheCount) {
  model->StrCylCoilCount = 3;
  model->StrCylCoilTable[2] = {.Lx = 5, .R = 1, .CurrentDensity = 1};
  CreateStraightCylCoil form;
  form.Open(*model);
  form.Modify(*model, board, display);  // disabled in new mode
  EXPECT_EQ(model->StrCylCoilTable[4].Lx, 0);
  Type(form, "Text10", "2");
  Type(form, "Text1", "9");
  form.Enter(*model, board, display);  // disabled in modify mode
  EXPECT_EQ(model->StrCylCoilCount, 3);
  form.Modify(*model, board, display);
  EXPECT_EQ(model->StrCylCoilCount, 3);
  EXPECT_EQ(model->StrCylCoilTable[2].Lx, 9);
  // The current went through its 15-digit text, so the density comes back to rounding.
  EXPECT_NEAR(model->StrCylCoilTable[2].CurrentDensity, 1, 1e-13);
  EXPECT_EQ(display.calls.back().what, "redraw");
}

TEST_F(CoilFormTest, EnterRefusesNumbersThatWouldSkipSlotsOrLeaveTheTable) {
  model->StrCylCoilCount = 2;
  CreateStraightCylCoil form;
  form.Open(*model);
  Type(form, "Text10", "5");  // still enabled from new mode
  ASSERT_TRUE(form.EnterEnabled());
  form.Enter(*model, board, display);
  EXPECT_EQ(model->StrCylCoilCount, 2);
  EXPECT_EQ(board.RaiseCount(NoticeId::Caution5), 1);

  model->StrCylCoilCount = 1000;
  model->StrCylCoilTable[1000].Lx = 3;
  CreateStraightCylCoil full;
  full.Open(*model);
  EXPECT_EQ(Shown(full, "Text10"), "1001");
  Type(full, "Text1", "77");
  full.Enter(*model, board, display);
  EXPECT_EQ(model->StrCylCoilCount, 1000);
  EXPECT_EQ(model->StrCylCoilTable[1000].Lx, 3);
  EXPECT_EQ(board.RaiseCount(NoticeId::Caution5), 2);
}

TEST_F(CoilFormTest, AStaleNumberNeverCutsTheTableAndRefreshFollowsTheModel) {
  CreateSectorRecCoil form;
  form.Open(*model);           // proposes 1
  model->SecRecCoilCount = 3;  // a file read while the dialog was open
  model->SecRecCoilTable[2].Ri = 7;
  Type(form, "Text11", "5");
  form.Enter(*model, board, display);
  EXPECT_EQ(model->SecRecCoilCount, 3);
  EXPECT_EQ(board.RaiseCount(NoticeId::Caution5), 1);

  form.Refresh(*model, display);
  EXPECT_EQ(Shown(form, "Text10"), "4");
  EXPECT_EQ(Shown(form, "Text11"), "5");  // the typed value stays
  Type(form, "Text10", "2");
  Type(form, "Text11", "8");
  Type(form, "Text11", "8x");  // the last valid text comes back, not the stored one
  EXPECT_EQ(Shown(form, "Text11"), "8");
  model->SecRecCoilTable[2].Ri = 9;
  form.Refresh(*model, display);
  EXPECT_EQ(Shown(form, "Text11"), "9");
  EXPECT_TRUE(form.ModifyEnabled());
}

TEST_F(CoilFormTest, ArcEnterRefillsFromTheStoredElementAndFocusesTheCurrent) {
  CreateSectorRecCoil form;
  form.Open(*model);
  Type(form, "Text3", "12");
  Type(form, "Text11", "1");
  Type(form, "Text1", "4");
  Type(form, "Text2", "2");
  Type(form, "Text13", "45");
  Type(form, "Text4", "1.2.3");  // passes the check and reads 1.2
  form.TakeFocusRequest();
  form.Enter(*model, board, display);
  const SecRecCoil& arc = model->SecRecCoilTable[1];
  EXPECT_DOUBLE_EQ(arc.CurrentDensity, 2);
  EXPECT_DOUBLE_EQ(arc.Angle, Pi() / 4);
  EXPECT_DOUBLE_EQ(arc.AngX, DegToRad(1.2));
  EXPECT_EQ(Shown(form, "Text10"), "2");
  EXPECT_EQ(Shown(form, "Text4"), "1.2");
  EXPECT_EQ(Shown(form, "Text13"), "45");
  EXPECT_EQ(form.TakeFocusRequest(), form.FieldIndex("Text3"));
}

TEST_F(CoilFormTest, ArcFieldsRestoreTheStoredValueOfTheLastValidNumber) {
  model->SecCylCoilCount = 1;
  model->SecCylCoilTable[1] = {.R = 10, .Angle = Pi() / 6, .rwire = 1, .CurrentDensity = 2};
  CreateSectorCylCoil form;
  form.Open(*model);
  Type(form, "Text10", "1");
  Type(form, "Text3", "1-2");
  EXPECT_EQ(Shown(form, "Text3"), "30");  // degrees
  Type(form, "Text11", "x");
  EXPECT_EQ(Shown(form, "Text11"), ShortestDecimal(2 * Pi()));  // density × area
  EXPECT_EQ(form.TakeFocusRequest(), form.FieldIndex("Text11"));
  EXPECT_EQ(board.RaiseCount(NoticeId::Caution5), 2);
  EXPECT_FALSE(form.EnterEnabled());  // modify mode

  // Valid texts pass (empty, signs, leading point) and enable "入力" only in new mode.
  Type(form, "Text10", "2");
  for (const char* good : {"", "-1.5", "+3", ".5"}) {
    Type(form, "Text7", good);
    EXPECT_EQ(Shown(form, "Text7"), good);
  }
  EXPECT_TRUE(form.EnterEnabled());
  EXPECT_EQ(board.RaiseCount(NoticeId::Caution5), 2);

  // The straight dialogs do not check while typing.
  CreateStraightCylCoil straight;
  straight.Open(*model);
  Type(straight, "Text1", "1-2");
  EXPECT_EQ(Shown(straight, "Text1"), "1-2");
  EXPECT_EQ(board.RaiseCount(NoticeId::Caution5), 2);
}

// A straight dialog lets any text be typed but stores only numbers: a typo is named, not stored
// as its leading digits.
TEST_F(CoilFormTest, StraightDialogsRefuseToStoreTextsThatAreNotNumbers) {
  CreateStraightRecCoil form;
  form.Open(*model);
  for (const auto& [name, text] :
       {std::pair{"Text3", "10"}, {"Text11", "1O"}, {"Text1", "2"}, {"Text2", ".5"}}) {
    Type(form, name, text);
  }
  form.Enter(*model, board, display);
  EXPECT_EQ(model->StrRecCoilCount, 0);
  EXPECT_EQ(board.RaiseCount(NoticeId::Caution5), 1);
  EXPECT_EQ(form.TakeFocusRequest(), form.FieldIndex("Text11"));
  EXPECT_EQ(Shown(form, "Text11"), "1O");
  Type(form, "Text11", "10");
  form.Enter(*model, board, display);
  ASSERT_EQ(model->StrRecCoilCount, 1);
  EXPECT_EQ(model->StrRecCoilTable[1].Lx, 10);

  Type(form, "Text10", "1");
  Type(form, "Text1", "12,5");
  form.Modify(*model, board, display);
  EXPECT_EQ(model->StrRecCoilTable[1].W, 2);
  EXPECT_EQ(board.RaiseCount(NoticeId::Caution5), 2);
}

TEST_F(CoilFormTest, EnterKeyCyclesFromNumberThroughEveryFieldBackToTheCurrent) {
  CreateSectorRecCoil form;
  const std::vector<std::string> expected = {"Text3",  "Text11", "Text1", "Text2",
                                             "Text13", "Text4",  "Text5", "Text6",
                                             "Text7",  "Text8",  "Text9", "Text3"};
  int field = form.FieldIndex("Text10");
  for (const std::string& name : expected) {
    form.OnEnterKey(field);
    const std::optional<int> next = form.TakeFocusRequest();
    ASSERT_TRUE(next.has_value());
    field = *next;
    EXPECT_EQ(form.Fields()[static_cast<size_t>(field)].name, name);
  }
  CreateStraightCylCoil round;
  EXPECT_EQ(round.Fields()[static_cast<size_t>(round.NextField(round.FieldIndex("Text11")))].name,
            "Text1");
  EXPECT_EQ(round.NextField(round.FieldIndex("Text9")), round.FieldIndex("Text11"));
}

TEST_F(CoilFormTest, DeleteMovesLaterElementsDownAndClearsTheVacatedSlot) {
  model->StrRecCoilCount = 3;
  for (int i = 1; i <= 3; ++i) {
    model->StrRecCoilTable[static_cast<size_t>(i)] = {
        .Lx = 10.0 * i, .W = 1, .T = 1, .CurrentDensity = 5.0 * i, .Oz = 1.0 * i};
  }
  DeleteCoil form;
  form.OnKindChosen(CoilKind::kStrRec, *model, board, display);
  form.OnTextChanged("2", *model, board, display);
  EXPECT_EQ(display.calls.back().what, "only");
  EXPECT_EQ(display.calls.back().element, 2);
  EXPECT_TRUE(form.Enter(*model, board, display));
  EXPECT_EQ(model->StrRecCoilCount, 2);
  EXPECT_EQ(model->StrRecCoilTable[2].CurrentDensity, 15);
  EXPECT_EQ(model->StrRecCoilTable[2].Oz, 3);
  EXPECT_EQ(model->StrRecCoilTable[1].Lx, 10);
  EXPECT_EQ(model->StrRecCoilTable[3].Lx, 0);
  EXPECT_EQ(display.calls.back().what, "redraw");
  EXPECT_EQ(board.RaiseCount(NoticeId::Caution5), 0);
}

TEST_F(CoilFormTest, DeleteKeepsTheKtListsOnTheCoilsTheUserChose) {
  model->StrRecCoilCount = 4;
  KtState& kt = model->Kt;
  kt.KtSelectionCount[0] = 3;  // straight rectangular wires 4, 2 and 3, with their pieces
  const int listed[] = {0, 4, 2, 3};
  for (size_t p = 1; p <= 3; ++p) {
    kt.KtSelection[0][p] = listed[p];
    kt.DivL[0][p] = 10 * listed[p];
  }
  kt.KtSelectionCount[2] = 1;  // a round wire 3 is another kind's and stays
  kt.KtSelection[2][1] = 3;
  DeleteCoil form;
  form.OnKindChosen(CoilKind::kStrRec, *model, board, display);
  form.OnTextChanged("2", *model, board, display);
  ASSERT_TRUE(form.Enter(*model, board, display));
  EXPECT_EQ(kt.KtSelectionCount[0], 2);
  EXPECT_EQ(kt.KtSelection[0][1], 3);
  EXPECT_EQ(kt.DivL[0][1], 40);
  EXPECT_EQ(kt.KtSelection[0][2], 2);
  EXPECT_EQ(kt.DivL[0][2], 30);
  EXPECT_EQ(kt.KtSelection[0][3], 0);
  EXPECT_EQ(kt.KtSelection[2][1], 3);
}

TEST_F(CoilFormTest, DeleteRefusesMalformedMissingAndEmptyKindNumbers) {
  model->StrCylCoilCount = 2;
  model->StrCylCoilTable[2].Lx = 4;
  DeleteCoil form;
  form.OnTextChanged("1.5", *model, board, display);
  EXPECT_EQ(form.Text(), "1");
  EXPECT_EQ(board.RaiseCount(NoticeId::Caution5), 1);
  form.OnTextChanged("3", *model, board, display);
  EXPECT_EQ(display.calls.back().what, "redraw");  // nothing there to highlight
  EXPECT_FALSE(form.Enter(*model, board, display));
  EXPECT_EQ(model->StrCylCoilCount, 2);
  EXPECT_EQ(model->StrCylCoilTable[2].Lx, 4);
  form.OnKindChosen(CoilKind::kSecCyl, *model, board, display);
  form.OnTextChanged("1", *model, board, display);
  EXPECT_FALSE(form.Enter(*model, board, display));
  EXPECT_EQ(model->SecCylCoilCount, 0);
  EXPECT_EQ(board.RaiseCount(NoticeId::Caution5), 3);
  form.Reset();
  EXPECT_EQ(form.Kind(), CoilKind::kStrCyl);
  EXPECT_EQ(form.Text(), "1");
}

}  // namespace
}  // namespace tavrine
