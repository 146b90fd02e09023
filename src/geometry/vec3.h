// A point or vector of three doubles.
#pragma once

namespace tavrine {

struct Vec3 {
  double x = 0, y = 0, z = 0;
  friend bool operator==(const Vec3&, const Vec3&) = default;
  Vec3& operator+=(const Vec3& o) {
    x += o.x;
    y += o.y;
    z += o.z;
    return *this;
  }
};

inline Vec3 operator+(Vec3 a, const Vec3& b) {
  return a += b;
}
inline Vec3 operator-(const Vec3& a, const Vec3& b) {
  return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline Vec3 operator*(double s, const Vec3& v) {
  return {s * v.x, s * v.y, s * v.z};
}

}  // namespace tavrine
