// The field kernels one component at a time, exactly as the algorithms are written, with the
// original arguments: the oracle the fast kernels and the benchmarks are measured against.
#pragma once

#include "field/gauss_legendre.h"
#include "geometry/vec3.h"
#include "model/element_model.h"
#include "model/notices.h"

namespace tavrine::literal {

double PointAngle(double x, double y);

double RecMagFieldX(const RecMag& m, double x, double y, double h, double w, Notices& n);
double RecMagFieldY(const RecMag& m, double x, double y, double h, double w, Notices& n);
double RecMagFieldZ(const RecMag& m, double x, double y, double h, double w);

double SecMagFieldX(const SecMag& m,
                    const GaussLegendreTable& g,
                    int N,
                    double alpha,
                    double x,
                    double y,
                    double h,
                    double w,
                    Notices& n);
double SecMagFieldY(const SecMag& m,
                    const GaussLegendreTable& g,
                    int N,
                    double alpha,
                    double x,
                    double y,
                    double h,
                    double w,
                    Notices& n);
double SecMagFieldZ(const SecMag& m,
                    const GaussLegendreTable& g,
                    int N,
                    double alpha,
                    double x,
                    double y,
                    double h,
                    double w,
                    Notices& n);

double RhMagFieldX(
    const RhMag& m, const GaussLegendreTable& g, int N, double x, double y, double z, Notices& n);
double RhMagFieldY(
    const RhMag& m, const GaussLegendreTable& g, int N, double x, double y, double z, Notices& n);
double RhMagFieldZ(
    const RhMag& m, const GaussLegendreTable& g, int N, double x, double y, double z, Notices& n);

double StrCylCoilFieldY(const StrCylCoil& m,
                        const GaussLegendreTable& g,
                        int N,
                        double rho1,
                        double rho2,
                        double psi1,
                        double psi2,
                        double x,
                        double y,
                        double z);
double StrCylCoilFieldZ(const StrCylCoil& m,
                        const GaussLegendreTable& g,
                        int N,
                        double rho1,
                        double rho2,
                        double psi1,
                        double psi2,
                        double x,
                        double y,
                        double z);
double StrRecCoilFieldY(const StrRecCoil& m,
                        const GaussLegendreTable& g,
                        int N,
                        double t1,
                        double t2,
                        double x,
                        double y,
                        double z);
double StrRecCoilFieldZ(const StrRecCoil& m,
                        const GaussLegendreTable& g,
                        int N,
                        double t1,
                        double t2,
                        double x,
                        double y,
                        double z);

double SecCylCoilFieldX(const SecCylCoil& m,
                        const GaussLegendreTable& g,
                        int N,
                        double z1,
                        double z2,
                        double th1,
                        double th2,
                        double x,
                        double y,
                        double z);
double SecCylCoilFieldY(const SecCylCoil& m,
                        const GaussLegendreTable& g,
                        int N,
                        double z1,
                        double z2,
                        double th1,
                        double th2,
                        double x,
                        double y,
                        double z);
double SecCylCoilFieldZ(const SecCylCoil& m,
                        const GaussLegendreTable& g,
                        int N,
                        double z1,
                        double z2,
                        double th1,
                        double th2,
                        double x,
                        double y,
                        double z);
double SecRecCoilFieldX(const SecRecCoil& m,
                        const GaussLegendreTable& g,
                        int N,
                        double th1,
                        double th2,
                        double x,
                        double y,
                        double z);
double SecRecCoilFieldY(const SecRecCoil& m,
                        const GaussLegendreTable& g,
                        int N,
                        double th1,
                        double th2,
                        double x,
                        double y,
                        double z);
double SecRecCoilFieldZ(const SecRecCoil& m,
                        const GaussLegendreTable& g,
                        int N,
                        double r1,
                        double r2,
                        double th1,
                        double th2,
                        double x,
                        double y,
                        double z);

// Whole elements composed from the component kernels the way every caller composes them.
Vec3 RecMagLocalField(const RecMag& m, const Vec3& p, Notices& n);
Vec3 SecMagLocalField(const SecMag& m, const GaussLegendreTable& g, const Vec3& p, Notices& n);
Vec3 RhMagLocalField(const RhMag& m, const GaussLegendreTable& g, const Vec3& p, Notices& n);
Vec3 StrCylCoilLocalField(const StrCylCoil& m, const GaussLegendreTable& g, const Vec3& p);
Vec3 StrRecCoilLocalField(const StrRecCoil& m, const GaussLegendreTable& g, const Vec3& p);
Vec3 SecCylCoilLocalField(const SecCylCoil& m, const GaussLegendreTable& g, const Vec3& p);
Vec3 SecRecCoilLocalField(const SecRecCoil& m, const GaussLegendreTable& g, const Vec3& p);

}  // namespace tavrine::literal
