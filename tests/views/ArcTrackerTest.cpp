#include "views/ArcTracker.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <vector>

namespace {

constexpr views::BandPair kGps{1575.42e6, 1227.60e6};
constexpr views::BandPair kGlonassChannelMinus4{1602.0e6 - 4 * 0.5625e6, 1246.0e6 - 4 * 0.4375e6};

// The observations of a range rho with an ionospheric delay i1 on L1 (a times more on the second
// frequency, a = (f1/f2)^2) and code multipath m1, m2; phases without ambiguity.
struct Signal {
    double rho = 21.5e6, i1 = 0, m1 = 0, m2 = 0;
    double n1 = 0, n2 = 0; // cycles added to the phases
};
views::ArcInput inputOf(const views::BandPair& b, const Signal& s, double t) {
    const double a = (b.f1 / b.f2) * (b.f1 / b.f2);
    const double l1 = views::kLight / b.f1, l2 = views::kLight / b.f2;
    views::ArcInput in;
    in.t = t;
    in.code1 = s.rho + s.i1 + s.m1;
    in.code2 = s.rho + a * s.i1 + s.m2;
    in.phase1 = (s.rho - s.i1) / l1 + s.n1;
    in.phase2 = (s.rho - a * s.i1) / l2 + s.n2;
    return in;
}

TEST(Combine, SeparatesMultipathFromRangeAndIonosphere) {
    for (const views::BandPair& b : {kGps, kGlonassChannelMinus4}) {
        SCOPED_TRACE(b.f1);
        const views::ArcInput clean = inputOf(b, {21.5e6, 6.0, 0, 0}, 0);
        views::Combinations c =
            views::combine(b, clean.code1, clean.code2, clean.phase1, clean.phase2);
        // The range and the ionosphere leave MP untouched; both delays give I1 back.
        EXPECT_NEAR(*c.mp1, 0, 1e-6);
        EXPECT_NEAR(*c.mp2, 0, 1e-6);
        EXPECT_NEAR(*c.ionoPhase, 6.0, 1e-6);
        EXPECT_NEAR(*c.ionoCode, 6.0, 1e-6);
        const views::ArcInput noisy = inputOf(b, {21.5e6, 6.0, 0.7, -0.4}, 0);
        c = views::combine(b, noisy.code1, noisy.code2, noisy.phase1, noisy.phase2);
        EXPECT_NEAR(*c.mp1, 0.7, 1e-6);
        EXPECT_NEAR(*c.mp2, -0.4, 1e-6);
    }
    // A missing second phase leaves only the code delay; one frequency gives nothing.
    views::Combinations c = views::combine(kGps, 2.0e7, 2.0e7 + 3, 1.0e8, std::nullopt);
    EXPECT_FALSE(c.mp1);
    EXPECT_FALSE(c.ionoPhase);
    EXPECT_TRUE(c.ionoCode);
    c = views::combine({1575.42e6, 0}, 2.0e7, 2.0e7, 1.0e8, 1.0e8);
    EXPECT_FALSE(c.ionoCode);
}

struct Step {
    double t;
    Signal s;
    bool lossOfLock = false;
    bool noPhase = false;
    std::uint64_t events = 0;
    views::ArcBreak want = views::ArcBreak::None;
};

void expectCauses(const char* why, const std::vector<Step>& steps) {
    SCOPED_TRACE(why);
    views::ArcRules rules;
    rules.gapSeconds = 300;
    views::ArcTracker tracker(kGps, rules);
    for (std::size_t k = 0; k < steps.size(); ++k) {
        SCOPED_TRACE(k);
        views::ArcInput in = inputOf(kGps, steps[k].s, steps[k].t);
        in.lossOfLock = steps[k].lossOfLock;
        in.events = steps[k].events;
        if (steps[k].noPhase)
            in.phase1.reset();
        const views::ArcPoint p = tracker.feed(in);
        EXPECT_EQ(p.isPoint, !steps[k].noPhase);
        EXPECT_EQ(p.cause, steps[k].want);
    }
}

TEST(ArcTracker, StartsArcsForEachCause) {
    using B = views::ArcBreak;
    const Signal s;
    Signal slip1 = s; // 20 L1 cycles: the geometry-free phase moves 5.9 m in half a minute
    slip1.n1 = 20;
    Signal codeJump = s; // the code alone moves: only the multipath shows it
    codeJump.m1 = 8;
    Signal same = s; // 77 and 60 cycles: the same length on both, unseen by the phase delay
    same.n1 = 77;
    same.n2 = 60;
    Signal drift = s; // one metre a minute of ionosphere is no slip
    drift.i1 = 0.5;
    expectCauses("a first point, then none", {{0, s, false, false, 0, B::Start}, {30, s}, {60, s}});
    expectCauses("a gap longer than the rule",
                 {{0, s, false, false, 0, B::Start}, {300, s}, {601, s, false, false, 0, B::Gap}});
    expectCauses("an event comes before the gap",
                 {{0, s, false, false, 0, B::Start}, {900, s, false, false, 1, B::Event}});
    expectCauses("loss of lock at a point",
                 {{0, s, false, false, 0, B::Start}, {30, s, true, false, 0, B::Lli}});
    expectCauses("loss of lock at an epoch without L1 phase waits for the next point",
                 {{0, s, false, false, 0, B::Start},
                  {30, s, true, true, 0, B::None},
                  {60, s, false, false, 0, B::Lli},
                  {90, s}});
    expectCauses(
        "an L1 slip in the ionospheric rate",
        {{0, s, false, false, 0, B::Start}, {30, slip1, false, false, 0, B::Iono}, {60, slip1}});
    expectCauses("a code jump in the multipath", {{0, s, false, false, 0, B::Start},
                                                  {30, s},
                                                  {60, codeJump, false, false, 0, B::Multipath}});
    expectCauses("a slip of equal length on both phases in the multipath",
                 {{0, s, false, false, 0, B::Start}, {30, same, false, false, 0, B::Multipath}});
    expectCauses("a slow ionospheric change",
                 {{0, s, false, false, 0, B::Start}, {30, drift}, {60, s}});
}

TEST(ArcTracker, GivesTheIonosphericRateWithinAnArc) {
    views::ArcTracker tracker(kGps, {});
    Signal s;
    EXPECT_FALSE(tracker.feed(inputOf(kGps, s, 0)).ionoRate);
    s.i1 = 0.25; // 0.25 m in 30 s
    const views::ArcPoint p = tracker.feed(inputOf(kGps, s, 30));
    ASSERT_TRUE(p.ionoRate);
    EXPECT_NEAR(*p.ionoRate, 0.5, 1e-6); // m/min
}

} // namespace
