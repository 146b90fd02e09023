// ASCII VTK XML with 17 significant digits, so every double reads back exactly.
#include "batch/vtk_export.h"

#include <cmath>
#include <cstdio>

#include "calcpoints/grids.h"

namespace tavrine {

namespace {

std::string Exact(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.17g", value);
  return text;
}

struct PointValues {
  std::string positions, field, magnitude;
  void Add(const Vec3& at, double hx, double hy, double hz) {
    positions += Exact(at.x) + " " + Exact(at.y) + " " + Exact(at.z) + "\n";
    field += Exact(hx) + " " + Exact(hy) + " " + Exact(hz) + "\n";
    magnitude += Exact(std::sqrt(hx * hx + hy * hy + hz * hz)) + "\n";
  }
};

std::string DataArray(const char* name, int components, const std::string& values) {
  return std::string("<DataArray type=\"Float64\" Name=\"") + name + "\" NumberOfComponents=\"" +
         std::to_string(components) + "\" format=\"ascii\">\n" + values + "</DataArray>\n";
}

std::string PointBlocks(const PointValues& v) {
  return "<PointData Vectors=\"H\" Scalars=\"|H|\">\n" + DataArray("H", 3, v.field) +
         DataArray("|H|", 1, v.magnitude) + "</PointData>\n<Points>\n" +
         DataArray("Points", 3, v.positions) + "</Points>\n";
}

std::string Header(const char* type) {
  return std::string("<?xml version=\"1.0\"?>\n<VTKFile type=\"") + type +
         "\" version=\"1.0\" byte_order=\"LittleEndian\">\n";
}

int64_t GridPoints(int32_t div_a, int32_t div_b) {
  return (int64_t{div_a} + 1) * (int64_t{div_b} + 1);
}

}  // namespace

VtkBytes FormatRectVtk(const ElementModel& model) {
  const RectPointSet& set = model.RectCalPointSet;
  if (set.DivX < 0 || set.DivY < 0 ||
      GridPoints(set.DivX, set.DivY) != int64_t{set.LastIndex} + 1) {
    return {{}, "四角型の計算点が分割数の格子になっていません"};
  }
  PointValues v;
  for (int32_t n = 0; n <= set.LastIndex; ++n) {
    const RectCalPoint& p = set.Points[static_cast<size_t>(n)];
    v.Add({p.PGroX, p.PGroY, p.PGroZ}, p.Hx, p.Hy, p.Hz);
  }
  const std::string extent =
      "0 " + std::to_string(set.DivX) + " 0 " + std::to_string(set.DivY) + " 0 0";
  return {Header("StructuredGrid") + "<StructuredGrid WholeExtent=\"" + extent +
              "\">\n<Piece Extent=\"" + extent + "\">\n" + PointBlocks(v) +
              "</Piece>\n</StructuredGrid>\n</VTKFile>\n",
          std::nullopt};
}

VtkBytes FormatSectVtk(const ElementModel& model) {
  const SectPointSet& set = model.SectCalPointSet;
  if (set.RDiv < 1 || set.AngleDiv < 1 ||
      GridPoints(set.RDiv, set.AngleDiv) != int64_t{set.LastIndex} + 1) {
    return {{}, "扇型の計算点が分割数の格子になっていません"};
  }
  PointValues v;
  for (int32_t n = 0; n <= set.LastIndex; ++n) {
    const SectCalPoint& p = set.Points[static_cast<size_t>(n)];
    v.Add(SectPointGlobal(model, n), p.Hx, p.Hy, p.Hz);
  }
  std::string connectivity, offsets, types;
  const int32_t row = set.AngleDiv + 1;
  int64_t cells = 0;
  for (int32_t i = 0; i < set.RDiv; ++i) {
    for (int32_t j = 0; j < set.AngleDiv; ++j) {
      const int32_t n = i * row + j;
      connectivity += std::to_string(n) + " " + std::to_string(n + 1) + " " +
                      std::to_string(n + 1 + row) + " " + std::to_string(n + row) + "\n";
      offsets += std::to_string(4 * ++cells) + "\n";
      types += "9\n";  // VTK_QUAD
    }
  }
  auto ints = [](const char* type, const char* name, const std::string& values) {
    return std::string("<DataArray type=\"") + type + "\" Name=\"" + name +
           "\" format=\"ascii\">\n" + values + "</DataArray>\n";
  };
  return {Header("UnstructuredGrid") + "<UnstructuredGrid>\n<Piece NumberOfPoints=\"" +
              std::to_string(set.LastIndex + 1) + "\" NumberOfCells=\"" + std::to_string(cells) +
              "\">\n" + PointBlocks(v) + "<Cells>\n" + ints("Int64", "connectivity", connectivity) +
              ints("Int64", "offsets", offsets) + ints("UInt8", "types", types) +
              "</Cells>\n</Piece>\n</UnstructuredGrid>\n</VTKFile>\n",
          std::nullopt};
}

}  // namespace tavrine
