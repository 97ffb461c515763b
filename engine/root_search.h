#pragma once

#include <functional>
#include <optional>

namespace veltrix {

using RealFunction = std::function<double(double)>;

// An interval whose ends the function takes with opposite signs.
struct Bracket {
    double Lo = 0.0;
    double Hi = 0.0;
    double FLo = 0.0;
    double FHi = 0.0;
};

// Widens [lo, hi] until the function changes sign across it: in each round the upper end moves up
// by 0.5 up to ten times, then the lower end down by 0.01 up to five times. Nothing when no round
// found a sign change (a NaN has no sign).
std::optional<Bracket> ExpandBracket(const RealFunction& f, double lo, double hi, int rounds);

// Brent's zeroin on a bracket: a root within 2 eps |x| + tolerance / 2. Nothing when maxSteps
// steps did not settle (only non-finite values keep it from settling).
std::optional<double> BrentRoot(const RealFunction& f, const Bracket& bracket, double tolerance, double eps,
                                int maxSteps);

// The secant method from x0 and x1 (with their values f0, f1): the last iterate, once |f| fell
// under the tolerance, the last two values were equal, or maxSteps steps were taken.
double SecantRoot(const RealFunction& f, double x0, double f0, double x1, double f1, double tolerance,
                  int maxSteps);

}  // namespace veltrix
