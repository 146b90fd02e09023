#include <gtest/gtest.h>
#include <thread>
#include <vector>

#include "model/capacity.h"
#include "model/element_model.h"
#include "model/material_grades.h"
#include "model/notices.h"
#include "model/resets.h"
#include "model/text_rules.h"
#include "model/world_frame.h"
#include "support/matchers.h"

namespace tavrine {
namespace {

using testing::FreshModel;

TEST(Resets, StartUpValues) {
  auto model = FreshModel();
  EXPECT_EQ(model->RecMagCount, 0);
  EXPECT_EQ(model->SecMagCount, 0.0);
  EXPECT_EQ(model->CylinderCount, 0.0);
  EXPECT_EQ(model->GaussPoints, 500);
  EXPECT_EQ(model->CalPointCapacity, 50000);
  EXPECT_EQ(model->Pi, Pi());
  for (const CylinderEntry& c : model->CylinderTable) {
    EXPECT_EQ(c.PoleCount, 1);
    EXPECT_EQ(c.FirstSecMag, 0);
  }
  const RectPointSet& rect = model->RectCalPointSet;
  EXPECT_EQ(rect.DivX, 40);
  EXPECT_EQ(rect.DivY, 40);
  EXPECT_EQ(rect.DisZ, 0.5);
  EXPECT_EQ(rect.XL, 1.0);
  EXPECT_EQ(rect.YL, 1.0);
  EXPECT_EQ(rect.LastIndex, 0);
  EXPECT_EQ(model->SectCalPointSet.RDiv, 15);
  EXPECT_EQ(model->SectCalPointSet.AngleDiv, 40);
  // Both grids start on magnet 1, as their dialogs propose, also after a re-initialisation.
  model->RectCalPointSet.MagN = model->SectCalPointSet.MagN = 3;
  FullReset(*model);
  EXPECT_EQ(rect.MagN, 1);
  EXPECT_EQ(model->SectCalPointSet.MagN, 1);
  EXPECT_EQ(model->Kt.StepAngle, DegToRad(5));
  EXPECT_EQ(model->View.BackgroundColour, (Rgb{105, 105, 105}));
  EXPECT_EQ(model->View.MagnetColourN, (Rgb{255, 0, 0}));
  EXPECT_EQ(model->View.AxisColourY, (Rgb{0, 255, 0}));
  EXPECT_EQ(model->View.ZoomFactor, 1.0);
}

TEST(Resets, ModelResetKeepsViewKtHcjAndMaterialAndUsesTwentyFiveDivisions) {
  auto model = FreshModel();
  model->RecMagCount = 3;
  model->RecMagTable[2] = {
      .a = 5, .b = 6, .l = 7, .Ox = 1, .Br = 12000, .BrAngle = 1, .Hcj = 15000, .MaterialIndex = 3};
  model->SecMagTable[1].Hcj = 9000;
  model->StrRecCoilTable[4].CurrentDensity = 10;
  model->View.ZoomFactor = 3;
  model->View.BackgroundColour = {1, 2, 3};
  model->Kt.Orx = 7;
  model->Kt.KtHx[9] = 4;
  model->RectCalPointSet.Points[100].Hz = 5;
  model->CylinderTable[3].PoleCount = 8;
  ModelReset(*model);
  EXPECT_EQ(model->RecMagCount, 0);
  EXPECT_EQ(model->RectCalPointSet.DivX, 25);
  EXPECT_EQ(model->RectCalPointSet.DivY, 25);
  const RecMag& m = model->RecMagTable[2];
  EXPECT_EQ(m.a, 0);
  EXPECT_EQ(m.Ox, 0);
  EXPECT_EQ(m.Br, 0);
  EXPECT_EQ(m.BrAngle, 0);
  EXPECT_EQ(m.Hcj, 15000);
  EXPECT_EQ(m.MaterialIndex, 3);
  EXPECT_EQ(model->SecMagTable[1].Hcj, 9000);
  EXPECT_EQ(model->StrRecCoilTable[4].CurrentDensity, 0);
  EXPECT_EQ(model->View.ZoomFactor, 3);
  EXPECT_EQ(model->View.BackgroundColour, (Rgb{1, 2, 3}));
  EXPECT_EQ(model->Kt.Orx, 7);
  EXPECT_EQ(model->Kt.KtHx[9], 4);
  EXPECT_EQ(model->RectCalPointSet.Points[100].Hz, 0);
  EXPECT_EQ(model->CylinderTable[3].PoleCount, 1);

  FullReset(*model);
  EXPECT_EQ(model->RectCalPointSet.DivX, 40);
  EXPECT_EQ(model->RecMagTable[2].Hcj, 0);
  EXPECT_EQ(model->RecMagTable[2].MaterialIndex, 3);
  EXPECT_EQ(model->Kt.Orx, 0);
  EXPECT_EQ(model->Kt.KtHx[9], 0);
  EXPECT_EQ(model->View.BackgroundColour, (Rgb{105, 105, 105}));
}

TEST(Resets, FullResetLeavesFreeViewAnglesAndKtSweepRange) {
  auto model = FreshModel();
  model->View.FreeViewAngX = 1.5;
  model->Kt.StartAngle = 0.2;
  model->Kt.DivL[1][3] = 4;
  FullReset(*model);
  EXPECT_EQ(model->View.FreeViewAngX, 1.5);
  EXPECT_EQ(model->Kt.StartAngle, 0.2);
  EXPECT_EQ(model->Kt.DivL[1][3], 4);
}

TEST(Resets, ClearsTouchOnlyTheirResults) {
  auto model = FreshModel();
  model->RectCalPointSet.Points[50000] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
  model->SectCalPointSet.Points[7].Hx = 3;
  model->Kt.KtX[2] = 1;
  model->Kt.KtHz[2] = 1;
  ClearRectResults(*model);
  EXPECT_EQ(model->RectCalPointSet.Points[50000].Hz, 0);
  EXPECT_EQ(model->RectCalPointSet.Points[50000].PGroZ, 6);
  EXPECT_EQ(model->SectCalPointSet.Points[7].Hx, 3);
  ClearSectResults(*model);
  EXPECT_EQ(model->SectCalPointSet.Points[7].Hx, 0);
  ClearKtResults(*model);
  EXPECT_EQ(model->Kt.KtHz[2], 0);
  EXPECT_EQ(model->Kt.KtX[2], 1);
}

TEST(SecMagLoopCount, RoundsHalfToEven) {
  auto model = FreshModel();
  model->SecMagCount = 2.0;
  EXPECT_EQ(SecMagLoopCount(*model), 2);
  model->SecMagCount = 2.5;
  EXPECT_EQ(SecMagLoopCount(*model), 2);
}

TEST(WorldFrame, RejectsAndRestoresInvalidTexts) {
  NoticeBoard notices;
  WorldFrameForm form;
  EXPECT_EQ(form.Text(), "100");
  for (const char* bad : {"0", "-5", "1.5", ""}) {
    EXPECT_EQ(form.OnTextChanged(bad, notices), "100") << bad;
  }
  EXPECT_EQ(notices.RaiseCount(NoticeId::Caution5), 4);
  EXPECT_EQ(form.OnTextChanged("250", notices), "250");
  EXPECT_EQ(form.OnTextChanged("2x", notices), "250");
}

TEST(WorldFrame, EnterMakesTheCubeAndDropsOtherRectangularMagnets) {
  NoticeBoard notices;
  auto model = FreshModel();
  model->RecMagCount = 3;
  model->RecMagTable[1] = {
      .a = 1, .Ox = 5, .AngZ = 1, .Br = 12000, .BrAngle = 0.5, .Hcj = 7, .MaterialIndex = 2};
  model->SecMagCount = 2;
  WorldFrameForm form;
  form.Enter(*model);
  const RecMag& box = model->RecMagTable[1];
  EXPECT_EQ(model->RecMagCount, 1);
  EXPECT_EQ(box.a, 100);
  EXPECT_EQ(box.b, 100);
  EXPECT_EQ(box.l, 100);
  EXPECT_EQ(box.Ox, 0);
  EXPECT_EQ(box.AngZ, 0);
  EXPECT_EQ(box.Br, 0);
  EXPECT_EQ(box.BrAngle, 0.5);
  EXPECT_EQ(box.Hcj, 7);
  EXPECT_EQ(box.MaterialIndex, 2);
  EXPECT_EQ(model->SecMagCount, 2);

  form.OnTextChanged("1,000", notices);
  form.Enter(*model);
  EXPECT_EQ(model->RecMagTable[1].a, 1);
  form.OnTextChanged("+", notices);
  form.Enter(*model);
  EXPECT_EQ(model->RecMagTable[1].a, 0);
  EXPECT_EQ(notices.RaiseCount(NoticeId::Caution5), 0);
}

TEST(MaterialGrades, FixedListAndFreshCopies) {
  auto grades = MaterialGrades();
  EXPECT_EQ(grades[0].Name, "N35");
  EXPECT_EQ(grades[28].Name, "N38EH");
  EXPECT_EQ(grades[6].Br, 14200);
  EXPECT_EQ(grades[6].Hcj, 11000);
  EXPECT_EQ(grades[kDefaultMaterialGrade].Name, "N45");
  EXPECT_EQ(grades[27].Br, 11950);
  for (int i = 29; i < kMaterialGradeSlots; ++i) {
    EXPECT_EQ(grades[i].Name, "N35");
    EXPECT_EQ(grades[i].Br, 12000);
  }
  grades[0].Br = 1;
  EXPECT_EQ(MaterialGrades()[0].Br, 12000);
}

TEST(Capacity, RefusesBeyondTheTables) {
  auto model = FreshModel();
  RecMag magnet{.a = 1};
  model->RecMagCount = 999;
  EXPECT_TRUE(AppendElement(model->RecMagTable, model->RecMagCount, magnet));
  EXPECT_EQ(model->RecMagCount, 1000);
  EXPECT_EQ(model->RecMagTable[1000].a, 1);
  magnet.a = 2;
  EXPECT_FALSE(AppendElement(model->RecMagTable, model->RecMagCount, magnet));
  EXPECT_EQ(model->RecMagCount, 1000);
  EXPECT_EQ(model->RecMagTable[1000].a, 1);
  model->SecMagCount = 1000.0;
  EXPECT_FALSE(AppendElement(model->SecMagTable, model->SecMagCount, SecMag{}));
  EXPECT_EQ(model->SecMagCount, 1000.0);
  EXPECT_TRUE(FitsPointCount(50001));
  EXPECT_FALSE(FitsPointCount(50002));
  EXPECT_TRUE(FitsLastIndex(50000));
  EXPECT_FALSE(FitsLastIndex(50001));
  EXPECT_FALSE(FitsElementCount(1001));
  EXPECT_FALSE(FitsElementCount(-1));
}

TEST(Notices, TextsAndButtons) {
  EXPECT_EQ(NoticeInfo(NoticeId::Caution3).title, "警告");
  EXPECT_EQ(NoticeInfo(NoticeId::Caution3).message, "ゼロで除算しようとしています。");
  EXPECT_EQ(NoticeInfo(NoticeId::Caution7).buttons, std::vector<std::string_view>{"閉じる"});
  EXPECT_EQ(NoticeInfo(NoticeId::CautionFileExist).buttons.size(), 2u);
  EXPECT_EQ(NoticeInfo(NoticeId::CautionFileInOut).title, "CautionFileInOut");
  for (int i = 0; i < kNoticeCount; ++i) {
    EXPECT_EQ(AllNotices()[i].id, static_cast<NoticeId>(i));
  }
}

TEST(Notices, OnceOnlyFromManyThreadsWithReplaceableTitle) {
  NoticeBoard board;
  std::atomic<int> heard{0};
  board.SetListener([&](NoticeId) { ++heard; });
  std::vector<std::thread> threads;
  for (int t = 0; t < 8; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < 1000; ++i) {
        board.Raise(NoticeId::Caution3, "ﾛｹｰｼｮﾝ  RecMagFieldX!!!");
      }
    });
  }
  for (auto& t : threads) {
    t.join();
  }
  EXPECT_EQ(board.OpenNotices(), std::vector<NoticeId>{NoticeId::Caution3});
  EXPECT_EQ(board.RaiseCount(NoticeId::Caution3), 8000);
  EXPECT_EQ(heard.load(), 8000);
  EXPECT_EQ(board.Title(NoticeId::Caution3), "ﾛｹｰｼｮﾝ  RecMagFieldX!!!");
  board.Raise(NoticeId::Caution12);
  board.Close(NoticeId::Caution12);
  EXPECT_FALSE(board.IsOpen(NoticeId::Caution12));
  EXPECT_TRUE(board.IsOpen(NoticeId::Caution3));
  board.Close(NoticeId::Caution3);
  board.Raise(NoticeId::Caution3);
  EXPECT_EQ(board.Title(NoticeId::Caution3), "警告");
}

TEST(Notices, OncePerRunPassesEachNoticeAndTitleOnceFromManyThreads) {
  NoticeBoard board;
  OncePerRunNotices once(board);
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < 500; ++i) {
        once.Raise(NoticeId::Caution3);
        once.Raise(NoticeId::Caution3, "ﾛｹｰｼｮﾝ  RecMagFieldX!!!");
        once.Raise(NoticeId::Caution3, "ﾛｹｰｼｮﾝ  RecMagFieldY!!!");
      }
    });
  }
  for (auto& t : threads) {
    t.join();
  }
  once.Raise(NoticeId::Caution12);
  EXPECT_EQ(board.RaiseCount(NoticeId::Caution3), 3);
  EXPECT_EQ(board.RaiseCount(NoticeId::Caution12), 1);
}

}  // namespace
}  // namespace tavrine
