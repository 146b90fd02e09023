// Magnet forms: opening prefill, number and value checks, Enter cycles, the commands' effect on
// the model, capacity refusals and the delete forms.
#include "model/magnet_forms.h"

#include <gtest/gtest.h>
#include <utility>
#include <vector>

#include "model/text_rules.h"
#include "model/world_frame.h"
#include "support/matchers.h"

namespace tavrine {
namespace {

using F = MagnetField;
using testing::FreshModel;

struct RecordingViews final : MagnetViews {
  int redraws = 0;
  std::vector<std::pair<MagnetTable, int>> highlights, only;
  void RedrawAll() override { ++redraws; }
  void Highlight(MagnetTable table, int i) override { highlights.emplace_back(table, i); }
  void HighlightOnly(MagnetTable table, int i) override { only.emplace_back(table, i); }
};

class MagnetFormTest : public ::testing::Test {
 protected:
  MagnetFormTest() : model_(FreshModel()) { MakeWorldBox(*model_, 100); }

  MagnetForm OpenForm(MagnetKind kind) {
    MagnetForm form(kind, *model_, board_, views_);
    form.Open();
    return form;
  }
  void AddRecMags(int count) {
    for (int i = 2; i <= count; ++i) {
      RecMag& m = model_->RecMagTable[static_cast<size_t>(i)];
      m.a = i, m.b = 10 * i, m.l = 100 * i, m.Br = 1000 * i, m.Hcj = 2000 * i;
      m.AngX = DegToRad(30);
      m.MaterialIndex = static_cast<int16_t>(i);
    }
    model_->RecMagCount = count;
  }
  int Raised(NoticeId id) const { return board_.RaiseCount(id); }

  std::unique_ptr<ElementModel> model_;
  NoticeBoard board_;
  RecordingViews views_;
};

TEST_F(MagnetFormTest, RectOpensWithGradeDefaultsWhenOnlyTheWorldCubeExists) {
  MagnetForm form = OpenForm(MagnetKind::kRectangular);
  EXPECT_EQ(form.Text(F::kNumber), "2");
  EXPECT_EQ(form.RememberedNumber(), "2");
  EXPECT_EQ(form.Text(F::kBr), "13500");
  EXPECT_EQ(form.Text(F::kHcj), "12000");
  for (F f : {F::kShape1, F::kShape2, F::kShape3, F::kRotX, F::kRotZ, F::kPosX, F::kPosZ}) {
    EXPECT_EQ(form.Text(f), "0");
  }
  EXPECT_EQ(form.SelectedGrade(), 4);
  EXPECT_TRUE(form.EnterEnabled());
  EXPECT_FALSE(form.ModifyEnabled());
  EXPECT_EQ(form.TakeFocus()->field, F::kGradeList);
  ASSERT_EQ(views_.highlights.size(), 1u);
  EXPECT_EQ(views_.highlights[0], std::make_pair(MagnetTable::kRecMag, 2));
}

TEST_F(MagnetFormTest, OpeningPrefillsFromTheLastMagnetOfTheKind) {
  AddRecMags(3);
  MagnetForm rect = OpenForm(MagnetKind::kRectangular);
  EXPECT_EQ(rect.Text(F::kNumber), "4");
  EXPECT_EQ(rect.Text(F::kShape3), "300");
  EXPECT_EQ(rect.Text(F::kBr), "3000");
  EXPECT_EQ(rect.Text(F::kHcj), "6000");
  EXPECT_EQ(rect.Text(F::kRotX), "30");  // degrees, not radians
  EXPECT_EQ(rect.SelectedGrade(), 4);    // the list is not taken from the magnet

  model_->SecMagCount = 1;
  model_->SecMagTable[1] = {.Ri = 5, .Ro = 9, .T = 2, .OpenAngle = DegToRad(60), .Br = 11000};
  MagnetForm sector = OpenForm(MagnetKind::kSector);
  EXPECT_EQ(sector.Text(F::kNumber), "2");
  EXPECT_EQ(sector.Text(F::kExtra), "60");
  EXPECT_EQ(sector.Text(F::kBr), "11000");

  model_->RhMagTable[1] = {.R = 4, .HT = 6, .Br = 9000};
  MagnetForm rh = OpenForm(MagnetKind::kRh);
  EXPECT_EQ(rh.Text(F::kNumber), "1");
  EXPECT_EQ(rh.Text(F::kShape1), "4");
  EXPECT_EQ(rh.Text(F::kShape3), "6");
  EXPECT_EQ(rh.Text(F::kBr), "13500");
}

TEST_F(MagnetFormTest, FirstSectorAndCylinderKeepTheirInitialShapeTexts) {
  MagnetForm sector = OpenForm(MagnetKind::kSector);
  EXPECT_EQ(sector.Text(F::kNumber), "1");
  EXPECT_EQ(sector.Text(F::kExtra), "360");
  EXPECT_EQ(sector.Text(F::kBr), "13500");
  MagnetForm cylinder = OpenForm(MagnetKind::kCylinder);
  EXPECT_EQ(cylinder.Text(F::kShape2), "20");
  EXPECT_EQ(cylinder.Text(F::kShape3), "30");
  EXPECT_EQ(cylinder.Text(F::kExtra), "1");
  EXPECT_EQ(cylinder.Text(F::kBr), "13500");
  EXPECT_FALSE(cylinder.ModifyEnabled());
}

TEST_F(MagnetFormTest, NumberFieldLoadsExistingMagnetsAndTogglesTheCommands) {
  AddRecMags(3);
  MagnetForm form = OpenForm(MagnetKind::kRectangular);
  form.ChangeText(F::kNumber, "2");
  EXPECT_TRUE(form.ModifyMode());
  EXPECT_TRUE(form.ModifyEnabled());
  EXPECT_FALSE(form.EnterEnabled());
  EXPECT_EQ(form.Text(F::kShape1), "2");
  EXPECT_EQ(form.Text(F::kShape2), "20");
  EXPECT_EQ(form.Text(F::kBr), "2000");
  EXPECT_EQ(form.Text(F::kHcj), "4000");
  EXPECT_EQ(views_.highlights.back(), std::make_pair(MagnetTable::kRecMag, 2));

  // A value edit in modify mode leaves "入力" off.
  form.ChangeText(F::kShape1, "7");
  EXPECT_FALSE(form.EnterEnabled());

  form.ChangeText(F::kNumber, "4");
  EXPECT_FALSE(form.ModifyMode());
  EXPECT_TRUE(form.EnterEnabled());
  EXPECT_FALSE(form.ModifyEnabled());

  // A gap above the next number changes neither command further, and "入力" refuses it.
  form.ChangeText(F::kNumber, "6");
  EXPECT_TRUE(form.EnterEnabled());
  EXPECT_FALSE(form.ModifyEnabled());
  EXPECT_FALSE(form.Enter());
  EXPECT_EQ(Raised(NoticeId::Caution5), 1);
  EXPECT_EQ(model_->RecMagCount, 3);
}

TEST_F(MagnetFormTest, RectangularNumberOneIsNeverLoadedFromTheWorldCube) {
  AddRecMags(2);
  MagnetForm form = OpenForm(MagnetKind::kRectangular);
  form.ChangeText(F::kShape1, "5");
  form.ChangeText(F::kNumber, "1");
  EXPECT_FALSE(form.ModifyMode());
  EXPECT_EQ(form.Text(F::kShape1), "5");
  EXPECT_FALSE(form.EnterEnabled());
}

TEST_F(MagnetFormTest, InvalidNumberRestoresTheRememberedText) {
  AddRecMags(3);
  MagnetForm rect = OpenForm(MagnetKind::kRectangular);
  rect.ChangeText(F::kNumber, "3");
  for (const char* bad : {"", "0", "-2", "2.5", "x"}) {
    rect.ChangeText(F::kNumber, bad);
    EXPECT_EQ(rect.Text(F::kNumber), "3") << bad;
  }
  EXPECT_EQ(Raised(NoticeId::Caution5), 5);
  EXPECT_FALSE(rect.ModifyEnabled());

  MagnetForm sector = OpenForm(MagnetKind::kSector);
  ASSERT_TRUE(sector.EnterEnabled());
  sector.ChangeText(F::kNumber, "a");
  EXPECT_EQ(sector.Text(F::kNumber), "1");
  EXPECT_FALSE(sector.EnterEnabled());
}

TEST_F(MagnetFormTest, ValueChecksFollowTheDecimalTextRule) {
  MagnetForm form = OpenForm(MagnetKind::kRectangular);
  form.ChangeText(F::kShape1, "1.2.3");
  form.ChangeText(F::kShape2, "-1.5");
  form.ChangeText(F::kShape3, "");
  form.ChangeText(F::kHcj, "");
  EXPECT_EQ(Raised(NoticeId::Caution5), 0);
  ASSERT_TRUE(form.Enter());
  const RecMag& m = model_->RecMagTable[2];
  EXPECT_EQ(m.a, 1.2);
  EXPECT_EQ(m.b, -1.5);
  EXPECT_EQ(m.l, 0.0);
  EXPECT_EQ(m.Hcj, 0.0);
}

TEST_F(MagnetFormTest, InvalidValuePutsBackTheFieldsLastValidText) {
  AddRecMags(3);
  MagnetForm form = OpenForm(MagnetKind::kRectangular);
  form.ChangeText(F::kNumber, "2");
  form.ChangeText(F::kRotX, "1-2");
  EXPECT_EQ(Raised(NoticeId::Caution5), 1);
  EXPECT_EQ(form.Text(F::kRotX), "30");
  const auto focus = form.TakeFocus();
  ASSERT_TRUE(focus.has_value());
  EXPECT_EQ(focus->field, F::kRotX);
  EXPECT_TRUE(focus->select_all);

  // What the user typed last stays, not the slot's value; a bad size disables "入力", a bad
  // remanence does not.
  form.ChangeText(F::kNumber, "4");
  form.ChangeText(F::kShape2, "35");
  form.ChangeText(F::kShape2, "35e");
  EXPECT_EQ(form.Text(F::kShape2), "35");
  EXPECT_FALSE(form.EnterEnabled());
  form.ChangeText(F::kBr, "1x");
  EXPECT_EQ(form.Text(F::kBr), "2000");
  EXPECT_TRUE(form.EnterEnabled());
}

TEST_F(MagnetFormTest, EnterStoresTheMagnetAndMovesOnToTheNextNumber) {
  MagnetForm form = OpenForm(MagnetKind::kRectangular);
  form.TakeFocus();
  form.ClickGrade(6);  // "N50"
  EXPECT_EQ(form.Text(F::kBr), "14200");
  EXPECT_EQ(form.Text(F::kHcj), "11000");
  form.ChangeText(F::kShape1, "10");
  form.ChangeText(F::kRotY, "90");
  form.ChangeText(F::kPosZ, "-3");
  const int redraws = views_.redraws;
  ASSERT_TRUE(form.Enter());
  const RecMag& m = model_->RecMagTable[2];
  EXPECT_EQ(model_->RecMagCount, 2);
  EXPECT_EQ(m.a, 10);
  EXPECT_DOUBLE_EQ(m.AngY, Pi() / 2);
  EXPECT_EQ(m.Oz, -3);
  EXPECT_EQ(m.Br, 14200);
  EXPECT_EQ(m.Hcj, 11000);
  EXPECT_EQ(m.MaterialIndex, 6);
  EXPECT_EQ(views_.redraws, redraws + 1);
  EXPECT_EQ(form.Text(F::kNumber), "3");
  EXPECT_EQ(form.RememberedNumber(), "3");
  EXPECT_EQ(form.Text(F::kRotY), "90");
  EXPECT_TRUE(form.EnterEnabled());
  const auto focus = form.TakeFocus();
  EXPECT_EQ(focus->field, F::kBr);
  EXPECT_TRUE(focus->select_all);
  EXPECT_EQ(model_->RecMagTable[0].a, 0.0);
}

TEST_F(MagnetFormTest, EnterWithAStaleNumberIsRefusedUntilTheFormFollowsTheModel) {
  MagnetForm form = OpenForm(MagnetKind::kRectangular);  // proposes 2
  AddRecMags(5);  // e.g. a model read while the dialog was open
  form.ChangeText(F::kShape1, "42");
  EXPECT_FALSE(form.Enter());
  EXPECT_EQ(Raised(NoticeId::Caution5), 1);
  EXPECT_EQ(model_->RecMagCount, 5);
  EXPECT_EQ(model_->RecMagTable[2].a, 2);

  form.Refresh();  // a new magnet's typed values stay; only the number follows
  EXPECT_EQ(form.Text(F::kNumber), "6");
  EXPECT_EQ(form.Text(F::kShape1), "42");
  ASSERT_TRUE(form.Enter());
  EXPECT_EQ(model_->RecMagCount, 6);
  EXPECT_EQ(model_->RecMagTable[6].a, 42);

  // A magnet being modified is loaded again; one that went away gives way to the next number.
  form.ChangeText(F::kNumber, "4");
  form.ChangeText(F::kShape1, "9");
  form.Refresh();  // magnet 4 itself did not change: the edit being typed stays
  EXPECT_EQ(form.Text(F::kShape1), "9");
  model_->RecMagTable[4].a = 77;
  form.Refresh();
  EXPECT_EQ(form.Text(F::kShape1), "77");
  EXPECT_TRUE(form.ModifyEnabled());
  model_->RecMagCount = 3;
  form.Refresh();
  EXPECT_EQ(form.Text(F::kNumber), "4");
  EXPECT_FALSE(form.ModifyEnabled());
  EXPECT_TRUE(form.EnterEnabled());
}

TEST_F(MagnetFormTest, EveryKindLoadsWhatItsCommandsWrite) {
  // A sector's pole sign and coercivity come in with it, so a position-only "修正" keeps them.
  SecMag& pole = model_->SecMagTable[1];
  pole.Ri = 5, pole.Ro = 9, pole.Br = -13500, pole.Hcj = 9000, pole.MaterialIndex = 7;
  model_->SecMagCount = 1;
  MagnetForm sector = OpenForm(MagnetKind::kSector);
  sector.ClickGrade(10);
  sector.ChangeText(F::kNumber, "1");
  EXPECT_EQ(sector.Text(F::kBr), "-13500");
  EXPECT_EQ(sector.SelectedGrade(), 7);
  sector.ChangeText(F::kPosX, "3");
  ASSERT_TRUE(sector.Modify());
  EXPECT_EQ(model_->SecMagTable[1].Br, -13500);
  EXPECT_EQ(model_->SecMagTable[1].Hcj, 9000);
  EXPECT_EQ(model_->SecMagTable[1].MaterialIndex, 7);
  EXPECT_EQ(model_->SecMagTable[1].Ox, 3);

  // RH-type magnet 1 is an ordinary magnet.
  model_->RhMagTable[1].R = 6, model_->RhMagTable[1].Br = 11000;
  model_->RhMagCount = 1;
  MagnetForm rh = OpenForm(MagnetKind::kRh);
  rh.ChangeText(F::kNumber, "1");
  EXPECT_TRUE(rh.ModifyEnabled());
  EXPECT_EQ(rh.Text(F::kShape1), "6");
  EXPECT_EQ(rh.Text(F::kBr), "11000");

  // A reopened cylinder dialog proposes the last cylinder's values, never slot 0's zeros.
  model_->CylinderTable[1] = {1, 1};
  model_->CylinderCount = 1;
  MagnetForm cylinder = OpenForm(MagnetKind::kCylinder);
  EXPECT_EQ(cylinder.Text(F::kNumber), "2");
  EXPECT_EQ(cylinder.Text(F::kShape2), "9");
  EXPECT_EQ(cylinder.Text(F::kBr), "-13500");

  // Values too large or small for plain digits are still written so that the field takes them.
  pole.Oy = 1e20, pole.Oz = 1e-7;
  sector.ChangeText(F::kNumber, "1");
  EXPECT_EQ(sector.Text(F::kPosY), "100000000000000000000");
  EXPECT_EQ(sector.Text(F::kPosZ), "0.0000001");
}

TEST_F(MagnetFormTest, NumbersBeyondTheTableAreRefusedAndLeaveTheModelAlone) {
  AddRecMags(1000);
  MagnetForm form = OpenForm(MagnetKind::kRectangular);
  EXPECT_EQ(form.Text(F::kNumber), "1001");
  ASSERT_TRUE(form.EnterEnabled());
  const RecMag before = model_->RecMagTable[1000];
  EXPECT_FALSE(form.Enter());
  EXPECT_EQ(Raised(NoticeId::Caution5), 1);
  EXPECT_EQ(model_->RecMagCount, 1000);
  EXPECT_EQ(model_->RecMagTable[1000].a, before.a);
  for (const auto& h : views_.highlights) {
    EXPECT_LE(h.second, 1000);  // no drawing from outside the table
  }

  // "+" reads as number 0: it may not become an element or be modified.
  form.ChangeText(F::kNumber, "+");
  EXPECT_FALSE(form.ModifyEnabled());
  EXPECT_FALSE(form.Modify());
  EXPECT_EQ(model_->RecMagTable[0].Br, 0.0);
}

TEST_F(MagnetFormTest, ModifyRewritesTheMagnetWithoutChangingTheCount) {
  AddRecMags(4);
  MagnetForm form = OpenForm(MagnetKind::kRectangular);
  form.ChangeText(F::kNumber, "3");
  form.ChangeText(F::kBr, "-12000");
  form.ClickGrade(0);
  form.ChangeText(F::kBr, "-12000");
  ASSERT_TRUE(form.Modify());
  EXPECT_EQ(model_->RecMagCount, 4);
  EXPECT_EQ(model_->RecMagTable[3].Br, -12000);
  EXPECT_EQ(model_->RecMagTable[3].MaterialIndex, 0);
  EXPECT_EQ(model_->RecMagTable[3].a, 3);  // loaded when the number was typed
}

TEST_F(MagnetFormTest, EnterCyclesFollowEachKindsFieldOrder) {
  auto cycle_from_number = [this](MagnetKind kind) {
    MagnetForm form = OpenForm(kind);
    std::vector<F> visited;
    F at = F::kNumber;
    for (int i = 0; i < 13; ++i) {
      form.PressEnter(at);
      const auto focus = form.TakeFocus();
      EXPECT_TRUE(focus->select_all);
      at = focus->field;
      visited.push_back(at);
    }
    return visited;
  };
  const std::vector<F> tail = {F::kRotX, F::kRotY, F::kRotZ, F::kPosX, F::kPosY, F::kPosZ, F::kBr};
  auto expect = [&](std::vector<F> head) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
  };
  std::vector<F> rect = expect({F::kBr, F::kShape1, F::kShape2, F::kShape3});
  rect.insert(rect.end(), {F::kShape1, F::kShape2});
  EXPECT_EQ(cycle_from_number(MagnetKind::kRectangular), rect);
  std::vector<F> sector = expect({F::kBr, F::kShape1, F::kShape2, F::kShape3, F::kExtra});
  sector.push_back(F::kShape1);
  EXPECT_EQ(cycle_from_number(MagnetKind::kSector), sector);
  std::vector<F> rh = expect({F::kBr, F::kShape1, F::kShape3});
  rh.insert(rh.end(), {F::kShape1, F::kShape3, F::kRotX});
  EXPECT_EQ(cycle_from_number(MagnetKind::kRh), rh);

  MagnetForm cylinder = OpenForm(MagnetKind::kCylinder);
  cylinder.PressEnter(F::kShape3);
  EXPECT_EQ(cylinder.TakeFocus()->field, F::kRotX);  // the pole count is skipped
  cylinder.PressEnter(F::kExtra);
  EXPECT_EQ(cylinder.TakeFocus()->field, F::kRotX);
}

TEST_F(MagnetFormTest, RadiiAreComparedWhenRoIsCommittedNeverPerKeystroke) {
  MagnetForm sector = OpenForm(MagnetKind::kSector);
  sector.ChangeText(F::kShape1, "10");
  sector.ChangeText(F::kShape2, "2");  // on the way to "20"
  sector.ChangeText(F::kShape2, "20");
  EXPECT_EQ(Raised(NoticeId::Caution13), 0);
  EXPECT_EQ(sector.Text(F::kShape1), "10");
  sector.Commit(F::kShape2);
  EXPECT_EQ(Raised(NoticeId::Caution13), 0);
  sector.ChangeText(F::kShape2, "5");
  sector.Commit(F::kShape2);
  EXPECT_EQ(Raised(NoticeId::Caution13), 1);
  EXPECT_EQ(sector.Text(F::kShape1), "10");  // Ri is the user's to mend
  sector.PressEnter(F::kShape2);
  EXPECT_EQ(Raised(NoticeId::Caution13), 2);
  EXPECT_EQ(sector.TakeFocus()->field, F::kShape3);

  // "入力" checks too, and still stores the magnet.
  MagnetForm cylinder = OpenForm(MagnetKind::kCylinder);
  cylinder.ChangeText(F::kShape1, "30");
  EXPECT_EQ(Raised(NoticeId::Caution13), 2);
  ASSERT_TRUE(cylinder.Enter());
  EXPECT_EQ(Raised(NoticeId::Caution13), 3);
  EXPECT_EQ(model_->SecMagTable[1].Ri, 30);
}

TEST_F(MagnetFormTest, SectorEnterKeepsTheCountAsADoubleAndTheAngleInRadians) {
  MagnetForm form = OpenForm(MagnetKind::kSector);
  form.ChangeText(F::kShape1, "5");
  form.ChangeText(F::kShape2, "8");
  form.ChangeText(F::kExtra, "45");
  form.ChangeText(F::kRotZ, "-90");
  ASSERT_TRUE(form.Enter());
  EXPECT_EQ(model_->SecMagCount, 1.0);
  EXPECT_DOUBLE_EQ(model_->SecMagTable[1].OpenAngle, Pi() / 4);
  EXPECT_DOUBLE_EQ(model_->SecMagTable[1].AngZ, -Pi() / 2);
  EXPECT_EQ(form.Text(F::kExtra), "45");
  EXPECT_EQ(form.Text(F::kNumber), "2");

  form.ChangeText(F::kNumber, "1");
  EXPECT_TRUE(form.ModifyMode());  // sector magnet 1 is an ordinary magnet
  EXPECT_EQ(form.Text(F::kShape2), "8");
}

TEST_F(MagnetFormTest, NewCylinderIsOneFullSectorWhateverTheZRotationAndPoleCount) {
  model_->SecMagCount = 2;
  MagnetForm form = OpenForm(MagnetKind::kCylinder);
  EXPECT_EQ(form.Text(F::kNumber), "1");
  form.ChangeText(F::kRotZ, "45");
  form.ChangeText(F::kExtra, "4");
  form.ChangeText(F::kRotX, "90");
  form.ChangeText(F::kPosY, "7");
  ASSERT_TRUE(form.Enter());
  EXPECT_EQ(model_->CylinderCount, 1.0);
  EXPECT_EQ(model_->SecMagCount, 3.0);
  EXPECT_EQ(model_->CylinderTable[1].FirstSecMag, 3);
  EXPECT_EQ(model_->CylinderTable[1].PoleCount, 1);
  const SecMag& s = model_->SecMagTable[3];
  EXPECT_DOUBLE_EQ(s.OpenAngle, 2 * Pi());
  EXPECT_EQ(s.AngZ, 0.0);
  EXPECT_DOUBLE_EQ(s.AngX, Pi() / 2);
  EXPECT_EQ(s.Ro, 20);
  EXPECT_EQ(s.T, 30);
  EXPECT_EQ(s.Oy, 7);
  EXPECT_EQ(form.Text(F::kNumber), "2");
  EXPECT_EQ(form.Text(F::kRotZ), "0");
  EXPECT_EQ(form.TakeFocus()->field, F::kGradeList);

  // Cylinder 1 is shown by its sector, loaded and modified there.
  form.ChangeText(F::kNumber, "1");
  EXPECT_EQ(views_.highlights.back(), std::make_pair(MagnetTable::kSecMag, 3));
  EXPECT_EQ(form.Text(F::kPosY), "7");
  form.ChangeText(F::kShape2, "25");
  form.ChangeText(F::kRotZ, "30");
  ASSERT_TRUE(form.Modify());
  EXPECT_EQ(model_->SecMagTable[3].Ro, 25);
  EXPECT_EQ(model_->SecMagTable[3].AngZ, 0.0);
  EXPECT_EQ(model_->SecMagCount, 3.0);
}

TEST_F(MagnetFormTest, CylinderNumbersWithoutSectorsOrSlotsAreRefused) {
  MagnetForm form = OpenForm(MagnetKind::kCylinder);
  form.ChangeText(F::kNumber, "3");  // would skip cylinders 1 and 2
  EXPECT_FALSE(form.Enter());
  EXPECT_EQ(model_->CylinderCount, 0.0);
  model_->CylinderCount = 2;  // as a file may hold: cylinder 2 without a sector
  form.ChangeText(F::kNumber, "2");
  ASSERT_TRUE(form.ModifyEnabled());
  EXPECT_FALSE(form.Modify());
  EXPECT_EQ(model_->SecMagTable[0].Br, 0.0);
  model_->CylinderCount = 50;  // the bookkeeping table's last slot
  form.ChangeText(F::kNumber, "51");
  ASSERT_TRUE(form.EnterEnabled());
  EXPECT_FALSE(form.Enter());
  EXPECT_EQ(model_->CylinderCount, 50.0);
  EXPECT_EQ(model_->SecMagCount, 0.0);
  EXPECT_EQ(Raised(NoticeId::Caution5), 3);
}

TEST_F(MagnetFormTest, ACoercivityThatIsNotANumberIsNamedNotStored) {
  AddRecMags(2);
  MagnetForm form = OpenForm(MagnetKind::kRectangular);
  form.ChangeText(F::kHcj, "12,000");
  EXPECT_EQ(Raised(NoticeId::Caution5), 0);  // typing is not checked
  EXPECT_FALSE(form.Enter());
  EXPECT_EQ(model_->RecMagCount, 2);
  EXPECT_EQ(Raised(NoticeId::Caution5), 1);
  const std::optional<FocusRequest> focus = form.TakeFocus();
  ASSERT_TRUE(focus.has_value());
  EXPECT_EQ(focus->field, F::kHcj);
  form.ChangeText(F::kNumber, "2");
  form.ChangeText(F::kHcj, "9.5k");
  EXPECT_FALSE(form.Modify());
  EXPECT_EQ(model_->RecMagTable[2].Hcj, 4000);
}

TEST_F(MagnetFormTest, CloseRedraws) {
  MagnetForm form = OpenForm(MagnetKind::kRh);
  const int redraws = views_.redraws;
  form.Close();
  EXPECT_EQ(views_.redraws, redraws + 1);
}

class MagnetDeleteFormTest : public MagnetFormTest {
 protected:
  MagnetDeleteForm OpenDelete(MagnetTable table) {
    MagnetDeleteForm form(table, *model_, board_, views_);
    form.Open();
    return form;
  }
};

TEST_F(MagnetDeleteFormTest, DeletingMovesTheLaterMagnetsDownWithAllTheirFields) {
  AddRecMags(4);
  model_->RecMagTable[4].BrAngle = 0.25;
  MagnetDeleteForm form = OpenDelete(MagnetTable::kRecMag);
  EXPECT_EQ(form.Text(), "-");
  EXPECT_TRUE(form.TakeFocus()->select_all);
  form.ChangeText("2");
  EXPECT_EQ(views_.only.back(), std::make_pair(MagnetTable::kRecMag, 2));
  ASSERT_TRUE(form.Enter());
  EXPECT_EQ(model_->RecMagCount, 3);
  EXPECT_EQ(model_->RecMagTable[2].a, 3);
  EXPECT_EQ(model_->RecMagTable[2].Hcj, 6000);
  EXPECT_EQ(model_->RecMagTable[2].MaterialIndex, 3);
  EXPECT_EQ(model_->RecMagTable[3].Hcj, 8000);
  EXPECT_EQ(model_->RecMagTable[3].BrAngle, 0.25);
  EXPECT_EQ(model_->RecMagTable[4].a, 0.0);
  EXPECT_EQ(model_->RecMagTable[1].a, 100.0);
}

TEST_F(MagnetDeleteFormTest, TheWorldCubeZeroAndNumbersAboveTheCountAreRefused) {
  AddRecMags(3);
  MagnetDeleteForm form = OpenDelete(MagnetTable::kRecMag);
  for (const char* bad : {"1", "4", "+0", "x", ""}) {
    form.ChangeText(bad);
    EXPECT_EQ(form.Text(), "-") << bad;
  }
  EXPECT_EQ(Raised(NoticeId::Caution5), 5);
  EXPECT_TRUE(views_.only.empty());
  EXPECT_FALSE(form.Enter());
  EXPECT_EQ(Raised(NoticeId::Caution5), 6);
  EXPECT_EQ(model_->RecMagCount, 3);

  // The count shrank after the number was typed: nothing is deleted in its place.
  form.ChangeText("3");
  model_->RecMagCount = 2;
  EXPECT_FALSE(form.Enter());
  EXPECT_EQ(model_->RecMagCount, 2);
}

TEST_F(MagnetDeleteFormTest, TheWorldCubesOneWaitsForItsSecondDigitOnceThereAreTenMagnets) {
  AddRecMags(12);
  MagnetDeleteForm form = OpenDelete(MagnetTable::kRecMag);
  form.ChangeText("1");
  EXPECT_EQ(form.Text(), "1");
  EXPECT_EQ(Raised(NoticeId::Caution5), 0);
  EXPECT_TRUE(views_.only.empty());
  EXPECT_FALSE(form.Enter());  // the world cube itself stays
  EXPECT_EQ(Raised(NoticeId::Caution5), 1);
  EXPECT_EQ(model_->RecMagCount, 12);

  form.ChangeText("12");
  EXPECT_EQ(views_.only.back(), std::make_pair(MagnetTable::kRecMag, 12));
  ASSERT_TRUE(form.Enter());
  EXPECT_EQ(model_->RecMagCount, 11);
  form.ChangeText("13");  // above the count now
  EXPECT_EQ(form.Text(), "-");
}

TEST_F(MagnetDeleteFormTest, SectorOneCanBeDeletedAndTheLastOneLeavesItsSlot) {
  model_->SecMagCount = 2;
  model_->SecMagTable[1].Ro = 11;
  model_->SecMagTable[2].Ro = 22;
  MagnetDeleteForm form = OpenDelete(MagnetTable::kSecMag);
  EXPECT_EQ(form.Title(), "扇型磁石の消去");
  form.ChangeText("2");
  ASSERT_TRUE(form.Enter());
  EXPECT_EQ(model_->SecMagCount, 1.0);
  EXPECT_EQ(model_->SecMagTable[2].Ro, 22);  // beyond the count, not cleared
  form.Open();
  form.ChangeText("1");
  ASSERT_TRUE(form.Enter());
  EXPECT_EQ(model_->SecMagCount, 0.0);
}

TEST_F(MagnetDeleteFormTest, GridsStayOnTheirOwnMagnetsWhenALowerOneIsDeleted) {
  AddRecMags(4);
  model_->SecMagCount = 3;
  model_->SecMagTable[3].Ox = 30;
  model_->RectCalPointSet.MagN = 4;
  model_->SectCalPointSet.MagN = 3;
  MagnetDeleteForm sectors = OpenDelete(MagnetTable::kSecMag);
  sectors.ChangeText("1");
  ASSERT_TRUE(sectors.Enter());
  EXPECT_EQ(model_->SectCalPointSet.MagN, 2);
  EXPECT_EQ(model_->SecMagTable[2].Ox, 30);
  MagnetDeleteForm prisms = OpenDelete(MagnetTable::kRecMag);
  prisms.ChangeText("4");  // the grid's own magnet: nothing lower moved
  ASSERT_TRUE(prisms.Enter());
  EXPECT_EQ(model_->RectCalPointSet.MagN, 4);
  prisms.Open();
  prisms.ChangeText("2");
  ASSERT_TRUE(prisms.Enter());
  EXPECT_EQ(model_->RectCalPointSet.MagN, 3);
}

TEST_F(MagnetDeleteFormTest, DeletingASectorKeepsEachCylinderOnItsOwnMagnet) {
  model_->SecMagCount = 1;
  MagnetForm cylinder = OpenForm(MagnetKind::kCylinder);
  for (const char* ro : {"6", "3"}) {  // cylinders 1 and 2 on sectors 2 and 3
    cylinder.ChangeText(F::kShape2, ro);
    ASSERT_TRUE(cylinder.Enter());
  }
  MagnetDeleteForm del = OpenDelete(MagnetTable::kSecMag);
  del.ChangeText("1");
  ASSERT_TRUE(del.Enter());
  cylinder.ChangeText(F::kNumber, "1");
  EXPECT_EQ(cylinder.Text(F::kShape2), "6");
  cylinder.ChangeText(F::kBr, "9000");
  ASSERT_TRUE(cylinder.Modify());
  EXPECT_EQ(model_->SecMagTable[1].Br, 9000);
  EXPECT_EQ(model_->SecMagTable[2].Br, 13500);

  // Cylinder 1's own sector deleted: its "修正" reaches no other magnet.
  del.Open();
  del.ChangeText("1");
  ASSERT_TRUE(del.Enter());
  cylinder.ChangeText(F::kNumber, "2");
  EXPECT_EQ(cylinder.Text(F::kShape2), "3");
  cylinder.ChangeText(F::kNumber, "1");
  cylinder.ChangeText(F::kBr, "8000");
  EXPECT_FALSE(cylinder.Modify());
  EXPECT_EQ(model_->SecMagTable[1].Br, 13500);
  EXPECT_EQ(model_->SecMagTable[2].Br, 0.0);
}

}  // namespace
}  // namespace tavrine
