// The resets and clears, in the order the model's initial values are defined.
#include "model/resets.h"

#include "model/text_rules.h"

namespace tavrine {

namespace {

void ResetCounts(ElementModel& model) {
  model.RecMagCount = 0;
  model.SecMagCount = 0.0;
  model.RhMagCount = 0;
  model.StrCylCoilCount = 0;
  model.StrRecCoilCount = 0;
  model.SecCylCoilCount = 0;
  model.SecRecCoilCount = 0;
  model.CylinderCount = 0.0;
  model.GaussPoints = kGaussPoints;
  model.Pi = Pi();
}

template <class Record>
void ZeroPlacement(Record& r) {
  r.Ox = r.Oy = r.Oz = 0;
  r.AngX = r.AngY = r.AngZ = 0;
}

// Geometry, placement and Br of every slot; Hcj and the material indices stay.
void ResetMagnetGeometry(ElementModel& model) {
  for (RecMag& m : model.RecMagTable) {
    m.a = m.b = m.l = 0;
    ZeroPlacement(m);
    m.Br = m.BrAngle = 0;
  }
  for (SecMag& m : model.SecMagTable) {
    m.Ri = m.Ro = m.T = m.OpenAngle = 0;
    ZeroPlacement(m);
    m.Br = 0;
  }
  for (RhMag& m : model.RhMagTable) {
    m.R = m.HT = 0;
    ZeroPlacement(m);
    m.Br = 0;
  }
}

void ResetCoils(ElementModel& model) {
  model.StrCylCoilTable.fill({});
  model.StrRecCoilTable.fill({});
  model.SecCylCoilTable.fill({});
  model.SecRecCoilTable.fill({});
}

void ResetCylinders(ElementModel& model) {
  model.CylinderTable.fill(CylinderEntry{0, 1});
}

void ResetRectSet(RectPointSet& set, int32_t divisions) {
  set.XL = 1.0;
  set.YL = 1.0;
  set.LastIndex = 0;
  set.DivX = divisions;
  set.DivY = divisions;
  set.XSymmetric = 0;
  set.YSymmetric = 0;
  set.DisZ = 0.5;
  set.Points.fill({});
}

void ResetSectSet(SectPointSet& set) {
  set.LastIndex = 0;
  set.RDiv = 15;
  set.AngleDiv = 40;
  set.Points.fill({});
}

void ResetKt(ElementModel& model) {
  KtState& kt = model.Kt;
  for (auto* array : {&kt.KtX, &kt.KtY, &kt.KtZ, &kt.KtHx, &kt.KtHy, &kt.KtHz}) {
    array->fill(0.0);
  }
  kt.Orx = kt.Ory = kt.Orz = 0;
  kt.ThetaRx = kt.ThetaRy = kt.ThetaRz = 0;
  kt.KtSelectionCount.fill(0);
  for (auto& kind : kt.KtSelection) {
    kind.fill(0);
  }
  for (auto* table : {&kt.Fx, &kt.Fy, &kt.Fz, &kt.Tx, &kt.Ty, &kt.Tz}) {
    for (auto& kind : *table) {
      kind.fill(0.0);
    }
  }
  kt.StepAngle = 5.0 / 180.0 * model.Pi;
}

void ResetView(ViewSettings& view) {
  view.ViewScale = 1.0;
  view.ZoomFactor = 1.0;
  view.BackgroundColour = {105, 105, 105};
  view.AxisColourX = {255, 0, 0};
  view.AxisColourY = {0, 255, 0};
  view.AxisColourZ = {0, 0, 255};
  view.MagnetColourN = {255, 0, 0};
  view.MagnetColourS = {0, 0, 255};
}

// Every field of every element slot to 0, Hcj included; material indices stay.
void ZeroAllElementFields(ElementModel& model) {
  ResetMagnetGeometry(model);
  for (RecMag& m : model.RecMagTable) {
    m.Hcj = 0;
  }
  for (SecMag& m : model.SecMagTable) {
    m.Hcj = 0;
  }
  for (RhMag& m : model.RhMagTable) {
    m.Hcj = 0;
  }
  ResetCoils(model);
}

}  // namespace

void ModelReset(ElementModel& model) {
  ResetCounts(model);
  ResetMagnetGeometry(model);
  ResetCoils(model);
  ResetCylinders(model);
  ResetRectSet(model.RectCalPointSet, 25);
  ResetSectSet(model.SectCalPointSet);
}

// Everything ModelReset and the clears of the results would set is set again here, so they are
// left out: each point set's megabytes are filled once, not three times.
void FullReset(ElementModel& model) {
  model.CalPointCapacity = kCalPointCapacity;
  ResetCounts(model);
  ZeroAllElementFields(model);
  ResetCylinders(model);
  ResetRectSet(model.RectCalPointSet, 40);
  ResetSectSet(model.SectCalPointSet);
  // What the grid dialogs propose; a model file may name other magnets.
  model.RectCalPointSet.MagN = 1;
  model.SectCalPointSet.MagN = 1;
  ResetKt(model);
  ResetView(model.View);
}

void ClearRectResults(ElementModel& model) {
  ClearPointResults(model.RectCalPointSet.Points, 0, kPointSlots);
}

void ClearSectResults(ElementModel& model) {
  ClearPointResults(model.SectCalPointSet.Points, 0, kPointSlots);
}

void ClearKtResults(ElementModel& model) {
  model.Kt.KtHx.fill(0.0);
  model.Kt.KtHy.fill(0.0);
  model.Kt.KtHz.fill(0.0);
}

int32_t SecMagLoopCount(const ElementModel& model) {
  return RoundToInt32(model.SecMagCount);
}

}  // namespace tavrine
