// Dispatch to libmvec: the AVX2 four-lane forms when the processor has AVX2, else the SSE2
// two-lane forms every x86-64 has; other machines use the scalar library.
#include "field/vector_math.h"

#include <cmath>

#if defined(__x86_64__)
#include <immintrin.h>

extern "C" {
__m128d _ZGVbN2v_log(__m128d);
__m128d _ZGVbN2v_exp(__m128d);
__m128d _ZGVbN2v_atan(__m128d);
__m128d _ZGVbN2v_cos(__m128d);
__m128d _ZGVbN2v_sin(__m128d);
__m128d _ZGVbN2vv_atan2(__m128d, __m128d);
}

#pragma GCC push_options
#pragma GCC target("avx2")
extern "C" {
__m256d _ZGVdN4v_log(__m256d);
__m256d _ZGVdN4v_exp(__m256d);
__m256d _ZGVdN4v_atan(__m256d);
__m256d _ZGVdN4v_cos(__m256d);
__m256d _ZGVdN4v_sin(__m256d);
__m256d _ZGVdN4vv_atan2(__m256d, __m256d);
}
#pragma GCC pop_options
#endif

namespace tavrine {
namespace {

#if defined(__x86_64__)
using Wide = __m256d (*)(__m256d);
using Narrow = __m128d (*)(__m128d);

bool HasAvx2() {
  static const bool has = __builtin_cpu_supports("avx2");
  return has;
}

__attribute__((target("avx2"))) int ApplyWide(Wide f, const double* in, double* out, int count) {
  int i = 0;
  for (; i + 4 <= count; i += 4) {
    _mm256_storeu_pd(out + i, f(_mm256_loadu_pd(in + i)));
  }
  return i;
}

int ApplyNarrow(Narrow f, const double* in, double* out, int count) {
  int i = 0;
  for (; i + 2 <= count; i += 2) {
    _mm_storeu_pd(out + i, f(_mm_loadu_pd(in + i)));
  }
  return i;
}

// Full vectors first; the tail goes through a zero-padded vector so every value takes the same
// code path wherever it sits in the array.
void Apply(Wide wide, Narrow narrow, const double* in, double* out, int count) {
  if (HasAvx2()) {
    const int done = ApplyWide(wide, in, out, count);
    if (done < count) {
      double pad_in[4] = {1, 1, 1, 1}, pad_out[4];
      for (int i = done; i < count; ++i) {
        pad_in[i - done] = in[i];
      }
      ApplyWide(wide, pad_in, pad_out, 4);
      for (int i = done; i < count; ++i) {
        out[i] = pad_out[i - done];
      }
    }
    return;
  }
  const int done = ApplyNarrow(narrow, in, out, count);
  if (done < count) {
    double pad_in[2] = {in[done], 1}, pad_out[2];
    ApplyNarrow(narrow, pad_in, pad_out, 2);
    out[done] = pad_out[0];
  }
}
__attribute__((target("avx2"))) int Atan2Wide(const double* y,
                                              const double* x,
                                              double* out,
                                              int count) {
  int i = 0;
  for (; i + 4 <= count; i += 4) {
    _mm256_storeu_pd(out + i, _ZGVdN4vv_atan2(_mm256_loadu_pd(y + i), _mm256_loadu_pd(x + i)));
  }
  return i;
}

int Atan2Narrow(const double* y, const double* x, double* out, int count) {
  int i = 0;
  for (; i + 2 <= count; i += 2) {
    _mm_storeu_pd(out + i, _ZGVbN2vv_atan2(_mm_loadu_pd(y + i), _mm_loadu_pd(x + i)));
  }
  return i;
}
#endif

}  // namespace

void BatchAtan2(const double* y, const double* x, double* out, int count) {
#if defined(__x86_64__)
  const bool wide = HasAvx2();
  const int step = wide ? 4 : 2;
  const int done = wide ? Atan2Wide(y, x, out, count) : Atan2Narrow(y, x, out, count);
  if (done < count) {
    double pad_y[4] = {0, 0, 0, 0}, pad_x[4] = {1, 1, 1, 1}, pad_out[4];
    for (int i = done; i < count; ++i) {
      pad_y[i - done] = y[i];
      pad_x[i - done] = x[i];
    }
    wide ? Atan2Wide(pad_y, pad_x, pad_out, step) : Atan2Narrow(pad_y, pad_x, pad_out, step);
    for (int i = done; i < count; ++i) {
      out[i] = pad_out[i - done];
    }
  }
#else
  for (int i = 0; i < count; ++i) {
    out[i] = std::atan2(y[i], x[i]);
  }
#endif
}

void BatchLog(double* values, int count) {
#if defined(__x86_64__)
  Apply(_ZGVdN4v_log, _ZGVbN2v_log, values, values, count);
#else
  for (int i = 0; i < count; ++i) {
    values[i] = std::log(values[i]);
  }
#endif
}

void BatchExp(double* values, int count) {
#if defined(__x86_64__)
  Apply(_ZGVdN4v_exp, _ZGVbN2v_exp, values, values, count);
#else
  for (int i = 0; i < count; ++i) {
    values[i] = std::exp(values[i]);
  }
#endif
}

void BatchAtan(double* values, int count) {
#if defined(__x86_64__)
  Apply(_ZGVdN4v_atan, _ZGVbN2v_atan, values, values, count);
#else
  for (int i = 0; i < count; ++i) {
    values[i] = std::atan(values[i]);
  }
#endif
}

void BatchCosSin(const double* angles, double* cos_out, double* sin_out, int count) {
#if defined(__x86_64__)
  Apply(_ZGVdN4v_sin, _ZGVbN2v_sin, angles, sin_out, count);
  Apply(_ZGVdN4v_cos, _ZGVbN2v_cos, angles, cos_out, count);
#else
  for (int i = 0; i < count; ++i) {
    sin_out[i] = std::sin(angles[i]);
    cos_out[i] = std::cos(angles[i]);
  }
#endif
}

}  // namespace tavrine
