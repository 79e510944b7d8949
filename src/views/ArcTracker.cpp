#include "views/ArcTracker.h"

#include <cmath>

namespace views {

std::string_view arcBreakWord(ArcBreak cause) noexcept {
    switch (cause) {
    case ArcBreak::None:
        return "";
    case ArcBreak::Start:
        return "start";
    case ArcBreak::Event:
        return "event";
    case ArcBreak::Gap:
        return "gap";
    case ArcBreak::Lli:
        return "lli";
    case ArcBreak::Iono:
        return "iono";
    case ArcBreak::Multipath:
        return "mp";
    }
    return "";
}

Combinations combine(const BandPair& bands, std::optional<double> code1,
                     std::optional<double> code2, std::optional<double> phase1,
                     std::optional<double> phase2) noexcept {
    Combinations c;
    if (bands.f1 <= 0 || bands.f2 <= 0)
        return c;
    const double alpha = (bands.f1 / bands.f2) * (bands.f1 / bands.f2);
    const double l1 = kLight / bands.f1;
    const double l2 = kLight / bands.f2;
    const double k = 1.0 / (alpha - 1.0);
    if (code1 && code2)
        c.ionoCode = (*code2 - *code1) * k;
    if (!phase1 || !phase2)
        return c;
    const double p1 = l1 * *phase1;
    const double p2 = l2 * *phase2;
    c.ionoPhase = (p1 - p2) * k;
    if (code1)
        c.mp1 = *code1 - (1.0 + 2.0 * k) * p1 + 2.0 * k * p2;
    if (code2)
        c.mp2 = *code2 - 2.0 * alpha * k * p1 + (2.0 * alpha * k - 1.0) * p2;
    return c;
}

void ArcTracker::Ring::add(double v) noexcept {
    values[next] = v;
    next = (next + 1) % values.size();
    if (count < values.size())
        ++count;
}

std::optional<double> ArcTracker::Ring::mean() const noexcept {
    if (count == 0)
        return std::nullopt;
    double sum = 0;
    for (std::size_t i = 0; i < count; ++i)
        sum += values[i];
    return sum / static_cast<double>(count);
}

ArcPoint ArcTracker::feed(const ArcInput& in) noexcept {
    ArcPoint p;
    if (!in.phase1) {
        // Without an L1 phase the epoch is no point; a loss of lock waits for the next one.
        m_pendingLoss = m_pendingLoss || in.lossOfLock;
        return p;
    }
    p.isPoint = true;
    p.values = combine(m_bands, in.code1, in.code2, in.phase1, in.phase2);
    const bool loss = in.lossOfLock || m_pendingLoss;
    m_pendingLoss = false;

    if (!m_started)
        p.cause = ArcBreak::Start;
    else if (in.events != m_lastEvents)
        p.cause = ArcBreak::Event;
    else if (in.t - m_lastTime > m_rules.gapSeconds)
        p.cause = ArcBreak::Gap;
    else if (loss)
        p.cause = ArcBreak::Lli;

    if (p.cause == ArcBreak::None && p.values.ionoPhase && m_lastIono) {
        const double minutes = (in.t - m_lastIonoTime) / 60.0;
        if (minutes > 0) {
            const double rate = (*p.values.ionoPhase - *m_lastIono) / minutes;
            if (std::fabs(rate) > m_rules.ionoRateMmin)
                p.cause = ArcBreak::Iono;
            else
                p.ionoRate = rate;
        }
    }
    if (p.cause == ArcBreak::None) {
        const auto jumps = [&](const std::optional<double>& v, const Ring& ring) {
            const std::optional<double> mean = ring.mean();
            return v && mean && std::fabs(*v - *mean) > m_rules.mpJumpM;
        };
        if (jumps(p.values.mp1, m_mp1) || jumps(p.values.mp2, m_mp2))
            p.cause = ArcBreak::Multipath;
    }

    if (p.cause != ArcBreak::None) {
        m_lastIono.reset();
        m_mp1.clear();
        m_mp2.clear();
    }
    m_started = true;
    m_lastTime = in.t;
    m_lastEvents = in.events;
    if (p.values.ionoPhase) {
        m_lastIono = p.values.ionoPhase;
        m_lastIonoTime = in.t;
    }
    if (p.values.mp1)
        m_mp1.add(*p.values.mp1);
    if (p.values.mp2)
        m_mp2.add(*p.values.mp2);
    return p;
}

} // namespace views
