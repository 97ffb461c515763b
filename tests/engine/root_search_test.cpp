#include "engine/root_search.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace veltrix {
namespace {

constexpr double kEps = std::numeric_limits<double>::epsilon() / 2;

// Counts the function's evaluations.
struct Counted {
    RealFunction f;
    int calls = 0;
    RealFunction Fn() {
        return [this](double x) {
            ++calls;
            return f(x);
        };
    }
};

struct BracketCase {
    const char* name;
    double root;  // of f(x) = x - root
    double lo;
    double hi;
};

class ExpandBracketTest : public ::testing::TestWithParam<BracketCase> {};

TEST_P(ExpandBracketTest, WidensUntilTheRootLiesInside) {
    const BracketCase& c = GetParam();
    const auto bracket = ExpandBracket([&](double x) { return x - c.root; }, 1.0, 1.5, 102);
    ASSERT_TRUE(bracket.has_value());
    EXPECT_NEAR(bracket->Lo, c.lo, 1e-12);
    EXPECT_NEAR(bracket->Hi, c.hi, 1e-12);
    EXPECT_LT(bracket->FLo * bracket->FHi, 0.0);
    EXPECT_EQ(bracket->FLo, bracket->Lo - c.root);
    EXPECT_EQ(bracket->FHi, bracket->Hi - c.root);
}

INSTANTIATE_TEST_SUITE_P(
    Roots, ExpandBracketTest,
    ::testing::Values(BracketCase{"AlreadyInside", 1.2, 1.0, 1.5},
                      // The upper end steps by 0.5 and stops at the first sign change.
                      BracketCase{"AboveInTheFirstRound", 3.2, 1.0, 3.5},
                      BracketCase{"AboveInTheSecondRound", 7.3, 0.95, 7.5},
                      // Ten upper steps first (to 6.5), then the lower end steps by 0.01.
                      BracketCase{"JustBelow", 0.975, 0.97, 6.5},
                      BracketCase{"BelowInTheSecondRound", 0.925, 0.92, 11.5}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ExpandBracketTest, NothingWithoutASignChangeOrWithUndefinedValues) {
    Counted positive{[](double x) { return x * x + 1.0; }};
    EXPECT_FALSE(ExpandBracket(positive.Fn(), 1.0, 1.5, 3).has_value());
    // Two ends, then each of 3 rounds: 10 upper and 5 lower steps.
    EXPECT_EQ(positive.calls, 2 + 3 * 15);
    EXPECT_FALSE(ExpandBracket([](double) { return std::nan(""); }, 1.0, 1.5, 102).has_value());
    EXPECT_FALSE(
        ExpandBracket([](double x) { return x > 1.2 ? std::nan("") : -1.0; }, 1.0, 1.5, 102).has_value());
    // An infinite value still has a sign.
    EXPECT_TRUE(
        ExpandBracket([](double x) { return x > 1.2 ? std::numeric_limits<double>::infinity() : -1.0; }, 1.0,
                      1.5, 102)
            .has_value());
    // No rounds: only the given ends count.
    EXPECT_FALSE(ExpandBracket([](double x) { return x - 3.0; }, 1.0, 1.5, 0).has_value());
}

struct RootCase {
    const char* name;
    double (*f)(double);
    double lo;
    double hi;
    double root;
};

class BrentRootTest : public ::testing::TestWithParam<RootCase> {};

TEST_P(BrentRootTest, FindsTheKnownRootWithinTheTolerance) {
    const RootCase& c = GetParam();
    const Bracket bracket{c.lo, c.hi, c.f(c.lo), c.f(c.hi)};
    const double tolerance = 1e-6;
    const auto root = BrentRoot(c.f, bracket, tolerance, kEps, 1000);
    ASSERT_TRUE(root.has_value());
    EXPECT_NEAR(*root, c.root, tolerance);
}

INSTANTIATE_TEST_SUITE_P(
    Functions, BrentRootTest,
    ::testing::Values(
        RootCase{"SquareRootOfTwo", [](double x) { return x * x - 2.0; }, 1.0, 2.0, std::sqrt(2.0)},
        RootCase{"CosineFixedPoint", [](double x) { return std::cos(x) - x; }, 0.0, 1.0, 0.7390851332151607},
        RootCase{"Cubic", [](double x) { return x * x * x - 2.0 * x - 5.0; }, 2.0, 3.0, 2.0945514815423265},
        // Flat near the root: bisection steps have to take over.
        RootCase{"FlatFifthPower", [](double x) { return std::pow(x - 1.3, 5); }, 1.0, 2.0, 1.3},
        RootCase{"StepFunction", [](double x) { return x < 1.25 ? -1.0 : 1.0; }, 1.0, 2.0, 1.25}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BrentRootTest, ARootAtAnEndOfTheBracketIsThatEndExactly) {
    const auto line = [](double x) { return x - 2.0; };
    EXPECT_EQ(BrentRoot(line, {1.0, 2.0, line(1.0), line(2.0)}, 1e-6, kEps, 1000), 2.0);
    const auto other = [](double x) { return x - 1.0; };
    EXPECT_EQ(BrentRoot(other, {1.0, 2.0, other(1.0), other(2.0)}, 1e-6, kEps, 1000), 1.0);
}

TEST(BrentRootTest, NothingOnceTheStepsRunOut) {
    Counted square{[](double x) { return x * x - 2.0; }};
    const RealFunction f = square.Fn();
    EXPECT_FALSE(BrentRoot(f, {1.0, 2.0, -1.0, 2.0}, 1e-12, kEps, 2).has_value());
    EXPECT_EQ(square.calls, 2);
    EXPECT_FALSE(BrentRoot(f, {1.0, 2.0, -1.0, 2.0}, 1e-6, kEps, 0).has_value());
    EXPECT_TRUE(BrentRoot(f, {1.0, 2.0, -1.0, 2.0}, 1e-6, kEps, 1000).has_value());
}

TEST(SecantRootTest, ConvergesToTheKnownRoot) {
    const auto f = [](double x) { return x * x - 2.0; };
    const double root = SecantRoot(f, 1.0, f(1.0), 2.0, f(2.0), 1e-12, 49);
    EXPECT_LT(std::fabs(f(root)), 1e-12);
    EXPECT_NEAR(root, std::sqrt(2.0), 1e-12);
}

TEST(SecantRootTest, StopsOnEqualValuesAndAtTheStepLimit) {
    Counted square{[](double x) { return x * x - 2.0; }};
    const RealFunction f = square.Fn();
    // Equal values give no secant: the latest point is the answer, unevaluated further.
    EXPECT_EQ(SecantRoot(f, -1.0, -1.0, 1.0, -1.0, 1e-12, 49), 1.0);
    EXPECT_EQ(square.calls, 0);
    EXPECT_EQ(SecantRoot(f, 1.0, -1.0, 2.0, 2.0, 1e-12, 0), 2.0);
    // One step: the secant through (1, -1) and (2, 2) meets zero at 4/3.
    EXPECT_DOUBLE_EQ(SecantRoot(f, 1.0, -1.0, 2.0, 2.0, 1e-12, 1), 4.0 / 3.0);
    EXPECT_EQ(square.calls, 1);
    // A loose tolerance ends the search at the first iterate inside it.
    EXPECT_DOUBLE_EQ(SecantRoot(f, 1.0, -1.0, 2.0, 2.0, 0.3, 49), 4.0 / 3.0);
}

}  // namespace
}  // namespace veltrix
