#include "engine/root_search.h"

#include <cmath>

namespace veltrix {

std::optional<Bracket> ExpandBracket(const RealFunction& f, double lo, double hi, int rounds) {
    double flo = f(lo);
    double fhi = f(hi);
    for (int round = 0; round < rounds && flo * fhi >= 0.0; ++round) {
        for (int i = 0; i < 10 && flo * fhi >= 0.0; ++i) {
            hi = hi + 0.5;
            fhi = f(hi);
        }
        if (flo * fhi >= 0.0) {
            for (int i = 0; i < 5 && flo * fhi >= 0.0; ++i) {
                lo = lo - 0.01;
                flo = f(lo);
            }
        }
    }
    if (!(flo * fhi < 0.0)) return std::nullopt;
    return Bracket{lo, hi, flo, fhi};
}

std::optional<double> BrentRoot(const RealFunction& f, const Bracket& bracket, double tolerance, double eps,
                                int maxSteps) {
    double a = bracket.Lo, b = bracket.Hi, fa = bracket.FLo, fb = bracket.FHi;
    double c = a, fc = fa;
    double d = b - a, e = d;
    for (int step = 0; step < maxSteps; ++step) {
        if (std::fabs(fc) < std::fabs(fb)) {
            a = b;
            b = c;
            c = a;
            fa = fb;
            fb = fc;
            fc = fa;
        }
        const double tol1 = 2.0 * eps * std::fabs(b) + 0.5 * tolerance;
        const double xm = 0.5 * (c - b);
        if (std::fabs(xm) <= tol1 || fb == 0.0) return b;

        if (std::fabs(e) >= tol1 && std::fabs(fa) > std::fabs(fb)) {
            // Inverse quadratic interpolation, or the secant when only two points are distinct.
            const double s = fb / fa;
            double p, q;
            if (a == c) {
                p = 2.0 * xm * s;
                q = 1.0 - s;
            } else {
                q = fa / fc;
                const double r = fb / fc;
                p = s * (2.0 * xm * q * (q - r) - (b - a) * (r - 1.0));
                q = (q - 1.0) * (r - 1.0) * (s - 1.0);
            }
            if (p > 0.0) q = -q;
            p = std::fabs(p);
            if (2.0 * p < 3.0 * xm * q - std::fabs(tol1 * q) && p < std::fabs(0.5 * e * q)) {
                e = d;
                d = p / q;
            } else {
                d = xm;
                e = d;
            }
        } else {
            d = xm;
            e = d;
        }

        a = b;
        fa = fb;
        if (std::fabs(d) > tol1) {
            b = b + d;
        } else {
            b = b + (xm >= 0.0 ? tol1 : -tol1);
        }
        fb = f(b);
        if (fb * fc / std::fabs(fc) > 0.0) {
            c = a;
            fc = fa;
            d = b - a;
            e = d;
        }
    }
    return std::nullopt;
}

double SecantRoot(const RealFunction& f, double x0, double f0, double x1, double f1, double tolerance,
                  int maxSteps) {
    double root = x1;
    for (int step = 0; step < maxSteps; ++step) {
        if (f1 == f0) return x1;
        // Written in this order so the printed figures keep their last digit.
        const double x = x1 * (x0 * f1 / x1 - f0) / (f1 - f0);
        const double fx = f(x);
        root = x;
        if (std::fabs(fx) < tolerance) break;
        x0 = x1;
        x1 = x;
        f0 = f1;
        f1 = fx;
    }
    return root;
}

}  // namespace veltrix
