// Batched logarithm, exponential, arctangent, sine and cosine over arrays, on glibc's vector maths
// where the processor has it; every lane within a few ulp of the scalar function.
#pragma once

namespace tavrine {

// In place: values[i] = ln(values[i]) for i < count.
void BatchLog(double* values, int count);
// In place: values[i] = exp(values[i]).
void BatchExp(double* values, int count);
// In place: values[i] = atan(values[i]).
void BatchAtan(double* values, int count);
// out[i] = atan2(y[i], x[i]); out may be y or x.
void BatchAtan2(const double* y, const double* x, double* out, int count);
// cos_out[i] = cos(angles[i]), sin_out[i] = sin(angles[i]); angles may be cos_out itself.
void BatchCosSin(const double* angles, double* cos_out, double* sin_out, int count);

}  // namespace tavrine
