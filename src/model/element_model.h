// The one in-memory model: element tables, calculation-point sets, Kt study and view state.
// Lengths mm, angles rad, Br gauss, H oersted, current densities A/mm².
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <new>
#include <string>

namespace tavrine {

inline constexpr int kElementCapacity = 1000;  // elements 1..1000 per table
inline constexpr int kTableSlots = kElementCapacity + 1;
inline constexpr int kCalPointCapacity = 50000;  // points 0..50000 per set
inline constexpr int kPointSlots = kCalPointCapacity + 1;
inline constexpr int kCylinderSlots = 51;
inline constexpr int kKtKinds = 4;   // 0 StrRec, 1 SecRec, 2 StrCyl, 3 SecCyl
inline constexpr int kKtSlots = 51;  // entries 1..50
inline constexpr int kGaussPoints = 500;

struct RecMag {
  double a = 0, b = 0, l = 0;
  double Ox = 0, Oy = 0, Oz = 0, AngX = 0, AngY = 0, AngZ = 0;
  double Br = 0, BrAngle = 0, Hcj = 0;
  int16_t MaterialIndex = 0;
};

struct SecMag {
  double Ri = 0, Ro = 0, T = 0, OpenAngle = 0;
  double Ox = 0, Oy = 0, Oz = 0, AngX = 0, AngY = 0, AngZ = 0;
  double Br = 0, Hcj = 0;
  int16_t MaterialIndex = 0;
};

struct RhMag {
  double R = 0, HT = 0;
  double Ox = 0, Oy = 0, Oz = 0, AngX = 0, AngY = 0, AngZ = 0;
  double Br = 0, Hcj = 0;
  int16_t MaterialIndex = 0;
};

struct StrCylCoil {
  double Lx = 0, R = 0, CurrentDensity = 0;
  double Ox = 0, Oy = 0, Oz = 0, AngX = 0, AngY = 0, AngZ = 0;
};

struct StrRecCoil {
  double Lx = 0, W = 0, T = 0, CurrentDensity = 0;
  double Ox = 0, Oy = 0, Oz = 0, AngX = 0, AngY = 0, AngZ = 0;
};

struct SecCylCoil {
  double R = 0, Angle = 0, rwire = 0, CurrentDensity = 0;
  double Ox = 0, Oy = 0, Oz = 0, AngX = 0, AngY = 0, AngZ = 0;
};

struct SecRecCoil {
  double Ri = 0, Ro = 0, T = 0, Angle = 0, CurrentDensity = 0;
  double Ox = 0, Oy = 0, Oz = 0, AngX = 0, AngY = 0, AngZ = 0;
};

struct CylinderEntry {
  int32_t FirstSecMag = 0;
  int32_t PoleCount = 1;
};

template <class Record>
using ElementTable = std::array<Record, kTableSlots>;

struct RectCalPoint {
  double LocalX = 0, LocalY = 0, LocalZ = 0;
  double PGroX = 0, PGroY = 0, PGroZ = 0;
  double Hx = 0, Hy = 0, Hz = 0;
};

struct RectPointSet {
  // Line-aligned so that blocks of 64 points (72 cache lines) never share a line.
  alignas(64) std::array<RectCalPoint, kPointSlots> Points{};
  int32_t LastIndex = 0;
  int32_t MagN = 1;
  int32_t DivX = 40, DivY = 40;
  int32_t XSymmetric = 0, YSymmetric = 0;
  double XL = 1.0, YL = 1.0, DisZ = 0.5;
  double XStart = 0, XEnd = 0, YStart = 0, YEnd = 0;
  double GridZ = 0;
};

struct SectCalPoint {
  double R = 0, Theta = 0, Z = 0;
  double PGroX = 0, PGroY = 0, PGroZ = 0;
  double Hx = 0, Hy = 0, Hz = 0;
};

struct SectPointSet {
  alignas(64) std::array<SectCalPoint, kPointSlots> Points{};
  int32_t LastIndex = 0;
  int32_t MagN = 1;
  int32_t RDiv = 15, AngleDiv = 40;
  double CalPointRi = 0, CalPointRo = 0, TStart = 0, TEnd = 0, DisZ = 0;
};

// Per current-element kind (index 0..3), entries 1..50.
template <class T>
using KtKindTable = std::array<std::array<T, kKtSlots>, kKtKinds>;

struct KtState {
  double Orx = 0, Ory = 0, Orz = 0;
  double ThetaRx = 0, ThetaRy = 0, ThetaRz = 0;
  double StartAngle = 0, EndAngle = 0, StepAngle = 0;
  KtKindTable<int32_t> KtSelection{};
  std::array<int32_t, kKtKinds> KtSelectionCount{};
  KtKindTable<int32_t> DivL{}, DivW{}, DivT{};
  std::array<double, kPointSlots> KtX{}, KtY{}, KtZ{}, KtHx{}, KtHy{}, KtHz{};
  KtKindTable<double> Fx{}, Fy{}, Fz{}, Tx{}, Ty{}, Tz{};
};

struct Rgb {
  int32_t r = 0, g = 0, b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

struct ViewSettings {
  double FreeViewAngX = 0, FreeViewAngY = 0, FreeViewAngZ = 0;
  double ZoomFactor = 1.0, ViewScale = 1.0;
  double ViewCentreX = 0, ViewCentreY = 0;
  double VectorScale = 0;
  Rgb BackgroundColour{105, 105, 105};
  Rgb AxisColourX{255, 0, 0}, AxisColourY{0, 255, 0}, AxisColourZ{0, 0, 255};
  Rgb MagnetColourN{255, 0, 0}, MagnetColourS{0, 0, 255};
};

// Large (about 10 MB): create it on the heap, e.g. with std::make_unique<ElementModel>().
struct ElementModel {
  ElementTable<RecMag> RecMagTable{};
  ElementTable<SecMag> SecMagTable{};
  ElementTable<RhMag> RhMagTable{};
  ElementTable<StrCylCoil> StrCylCoilTable{};
  ElementTable<StrRecCoil> StrRecCoilTable{};
  ElementTable<SecCylCoil> SecCylCoilTable{};
  ElementTable<SecRecCoil> SecRecCoilTable{};
  std::array<CylinderEntry, kCylinderSlots> CylinderTable{};

  int32_t RecMagCount = 0;
  double SecMagCount = 0.0;  // integral value held as a double
  int32_t RhMagCount = 0;
  int32_t StrCylCoilCount = 0;
  int32_t StrRecCoilCount = 0;
  int32_t SecCylCoilCount = 0;
  int32_t SecRecCoilCount = 0;
  double CylinderCount = 0.0;

  int32_t CalPointCapacity = kCalPointCapacity;
  int32_t GaussPoints = kGaussPoints;
  double Pi = 0;  // 4·atan(1), set by the resets

  RectPointSet RectCalPointSet;
  SectPointSet SectCalPointSet;
  KtState Kt;
  ViewSettings View;
  std::string ModelFilePath;

  // Its memory is prefaulted in one go before it is filled (see PrefaultPages).
  static void* operator new(size_t size, std::align_val_t align);
  static void operator delete(void* model, std::align_val_t align) noexcept;
};

}  // namespace tavrine

namespace tavrine {

// SecMagCount rounded half to even, as every loop over the sector table uses it.
int32_t SecMagLoopCount(const ElementModel& model);

}  // namespace tavrine
