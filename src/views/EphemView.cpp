#include "views/EphemView.h"

#include "text/NumberText.h"

#include <cassert>
#include <utility>

namespace views {

namespace {

std::string TwoDigits(std::int32_t v) {
    std::string s = std::to_string(v);
    if (s.size() < 2)
        s.insert(0, 1, '0');
    return s;
}

// Appends the labels of one page control in fill order.
class LabelList {
public:
    explicit LabelList(std::string_view decSep) : m_decSep(decSep) {}

    void integer(std::string_view name, int page, std::string_view fixed, std::int64_t v) {
        m_labels.push_back({name, page, std::string(fixed) + std::to_string(v)});
    }
    // Single and double fields arrive widened, so a single shows its binary value.
    void real(std::string_view name, int page, std::string_view fixed, long double v) {
        m_labels.push_back({name, page, std::string(fixed) + text::GeneralText(v, m_decSep)});
    }
    void plain(std::string_view name, int page, std::string text) {
        m_labels.push_back({name, page, std::move(text)});
    }
    std::vector<EphemLabel> take() { return std::move(m_labels); }

private:
    std::string_view m_decSep;
    std::vector<EphemLabel> m_labels;
};

// The r, v and w labels of GLONASS and GEO.
using VectorNames = std::array<std::string_view, 9>;
constexpr std::array<std::string_view, 9> kVectorTexts = {" r[1]     ", " r[2]     ", " r[3]     ",
                                                          " v[1]     ", " v[2]     ", " v[3]     ",
                                                          " w[1]     ", " w[2]     ", " w[3]     "};

template <class Record>
void addVectorLabels(LabelList& l, const Record& r, const VectorNames& n, int page) {
    const long double values[9] = {r.x, r.y, r.z, r.vx, r.vy, r.vz, r.ax, r.ay, r.az};
    for (std::size_t i = 0; i < 9; ++i)
        l.real(n[i], page, kVectorTexts[i], values[i]);
}

// The clock, Keplerian and correction labels that GPS and Galileo share: same texts and
// values, names differing by the Galileo suffix.
struct OrbitNames {
    std::string_view af2, af1, af0, toe, iode;
    std::string_view rootA, ecc, m0, omega0, inc0, per, deln, omDot, iDot;
    std::string_view crc, crs, cuc, cus, cic, cis;
};

constexpr OrbitNames kGPSOrbitNames = {"STaf2",   "STaf1",  "STaf0",   "STtoe",    "STIODE",
                                       "STrootA", "STecc",  "STm0",    "STomega0", "STinc0",
                                       "STPer",   "STdeln", "STomDot", "STiDot",   "STcrc",
                                       "STcrs",   "STcuc",  "STcus",   "STcic",    "STcis"};

constexpr OrbitNames kGALOrbitNames = {
    "STaf2gal", "STaf1gal",    "STaf0gal",  "STtoegal", "STIODEgal", "STrootAgal", "STeccgal",
    "STm0gal",  "STomega0gal", "STinc0gal", "STPergal", "STdelngal", "STomDotgal", "STiDotgal",
    "STcrcgal", "STcrsgal",    "STcucgal",  "STcusgal", "STcicgal",  "STcisgal"};

template <class Record>
void addOrbitLabels(LabelList& l, const Record& r, std::int64_t iode, const OrbitNames& n) {
    l.real(n.af2, 1, "Af2 [s/(s^2)]     ", r.af2);
    l.real(n.af1, 1, "Af1 [s/s]     ", r.af1);
    l.real(n.af0, 1, "Af0 [s]     ", r.af0);
    l.integer(n.toe, 1, " Ephemeris reference time (toe) [s]     ", r.toe);
    l.integer(n.iode, 1, " Issue of data, ephemeris (IODE)     ", iode);
    l.real(n.rootA, 2, " Square root of the semi-major axis [m^0.5]     ", r.sqrtA);
    l.real(n.ecc, 2, " Eccentricity     ", r.e);
    l.real(n.m0, 2, " Mean anomaly at reference time (wn,toe) [semi-circles]     ", r.m0);
    l.real(n.omega0, 2, " Longitude of ascending node [semi-circles]     ", r.omega0);
    l.real(n.inc0, 2, " Inclination angle at reference time [semi-circles]     ", r.i0);
    l.real(n.per, 2, " Argument of perigee [semi-circles]     ", r.omega);
    l.real(n.deln, 2, " Mean motion difference from computed [semi-circles/s]     ", r.deltaN);
    l.real(n.omDot, 2, " Rate of right ascension [semi-circles/s]     ", r.omegaDot);
    l.real(n.iDot, 2, " Rate of inclination angle [semi-circles/s]     ", r.idot);
    l.real(n.crc, 3, " Cosine correction to radius [m]     ", r.crc);
    l.real(n.crs, 3, " Sine correction to radius [m]     ", r.crs);
    l.real(n.cuc, 3, " Cosine correction to latitude [rad]     ", r.cuc);
    l.real(n.cus, 3, " Sine correction to latitude [rad]     ", r.cus);
    l.real(n.cic, 3, " Cosine correction to inclination [rad]     ", r.cic);
    l.real(n.cis, 3, " Sine correction to inclination [rad]     ", r.cis);
}

} // namespace

std::size_t systemIndex(EphemSystem system) noexcept {
    switch (system) {
    case EphemSystem::GPS:
        return 0;
    case EphemSystem::GLONASS:
        return 1;
    case EphemSystem::GEO:
        return 2;
    case EphemSystem::Galileo:
        return 3;
    case EphemSystem::None:
        break;
    }
    assert(false && "no index for EphemSystem::None");
    return 0;
}

// The button groups follow the order of the table of satellite systems.
static const header::SatSystemFacts& factsOf(EphemSystem system) noexcept {
    return header::kSatSystems[systemIndex(system)];
}

std::int32_t FirstButton(EphemSystem system) noexcept {
    return system == EphemSystem::None ? 1 : factsOf(system).firstItem;
}

std::int32_t LastButton(EphemSystem system) noexcept {
    return system == EphemSystem::None ? 0 : factsOf(system).lastNumber;
}

std::string SatelliteButtonName(EphemSystem system, std::int32_t number) {
    if (system == EphemSystem::None)
        return {};
    return std::string(factsOf(system).buttonPrefix) + std::to_string(number);
}

std::string_view PageControlName(EphemSystem system) noexcept {
    switch (system) {
    case EphemSystem::GPS:
        return "PCEphGPS";
    case EphemSystem::GLONASS:
        return "PCEphGLO";
    case EphemSystem::GEO:
        return "PCEphGEO";
    case EphemSystem::Galileo:
        return "PCEphGAL";
    case EphemSystem::None:
        break;
    }
    return {};
}

std::vector<std::string_view> PageCaptions(EphemSystem system) {
    switch (system) {
    case EphemSystem::GPS:
    case EphemSystem::Galileo:
        return {"General", "Clock and Ephemeris", "Keplerian", "Corrections"};
    case EphemSystem::GLONASS:
        return {"General", " Ephemeris data", " Clock data"};
    case EphemSystem::GEO:
        return {"General", " Ephemeris data"};
    case EphemSystem::None:
        break;
    }
    return {};
}

std::int32_t EphemCounts::count(EphemSystem system, std::int32_t s) const noexcept {
    switch (system) {
    case EphemSystem::GPS:
        return gps.count(s);
    case EphemSystem::GLONASS:
        return glo.count(s);
    case EphemSystem::GEO:
        return geo.count(s);
    case EphemSystem::Galileo:
        return gal.count(s);
    case EphemSystem::None:
        break;
    }
    return 0;
}

const std::filesystem::path& EphemSources::file(EphemSystem system) const noexcept {
    switch (system) {
    case EphemSystem::GPS:
        return gpsFile;
    case EphemSystem::GLONASS:
        return gloFile;
    case EphemSystem::GEO:
        return geoFile;
    case EphemSystem::Galileo:
    case EphemSystem::None:
        break;
    }
    return galFile;
}

std::string EphemTitle(EphemSystem system, std::int32_t satellite, std::int32_t n) {
    std::string_view head;
    switch (system) {
    case EphemSystem::GPS:
        head = "GPS Ephemeris  sv=";
        break;
    case EphemSystem::GLONASS:
        head = "GLONASS Ephemeris  sv=";
        break;
    case EphemSystem::GEO:
        head = "GEO Ephemeris  sv=";
        break;
    case EphemSystem::Galileo:
        head = "GAL Ephemeris  sv=";
        break;
    case EphemSystem::None:
        break;
    }
    return std::string(head) + std::to_string(satellite) + "   N=" + std::to_string(n);
}

std::string NotFoundText(EphemSystem system, std::int32_t n, std::int32_t s) {
    std::string_view letter;
    switch (system) {
    case EphemSystem::GPS:
        letter = " for SV G";
        break;
    case EphemSystem::GLONASS:
        letter = " for SV R";
        break;
    case EphemSystem::GEO:
        letter = " for SV S";
        break;
    case EphemSystem::Galileo:
        letter = " for SV E";
        break;
    case EphemSystem::None:
        break;
    }
    return "Ephemeris " + std::to_string(n) + std::string(letter) + std::to_string(s) +
           "  is not found";
}

std::string EphemDateText(const text::TEpochTime& t) {
    return " Date  " + TwoDigits(t.day) + "\\" + TwoDigits(t.month) + "\\" +
           std::to_string(text::ExpandYear(t.year));
}

std::string EphemTimeText(const text::TEpochTime& t, bool utc) {
    std::string s = " Time  " + TwoDigits(t.hour) + ":" + TwoDigits(t.minute) + ":" +
                    text::FixedText(t.seconds, 4, 1);
    if (utc)
        s += "  (UTC)";
    return s;
}

std::vector<EphemLabel> GPSLabels(const nav::TEphemGPSRec& r, std::string_view decSep) {
    LabelList l(decSep);
    l.plain("STDate", 0, EphemDateText(r.epoch));
    l.plain("STTime", 0, EphemTimeText(r.epoch, false));
    l.integer("STCurvFitInt", 0, " Curve fit interval     ", r.flags & 1);
    l.integer("STDatFlagL2P", 0, " Data flag for L2 P-code     ", (r.flags >> 1) & 1);
    l.integer("STCodeL2P", 0, " Code on L2 channel     ", (r.flags >> 2) & 3);
    l.integer("STIODC", 0, " Issue of data, clock (IODC)     ", r.iodc);
    l.integer("STRefTime", 1, " Clock data reference time (toc) [s]     ", r.toc);
    l.integer("STURA", 0, " User range accuracy (URA) [m]     ", r.ura);
    l.integer("SThealth", 0, " Satellite health (healthS)     ", r.health);
    l.integer("STwn", 0, " Week number (wn)     ", r.week);
    l.real("STGdelay", 1, " Estimated group delay differential (tgd) [s]     ", r.tgd);
    addOrbitLabels(l, r, r.iode, kGPSOrbitNames);
    return l.take();
}

std::vector<EphemLabel> GALLabels(const nav::TEphemGALRec& r, std::string_view decSep) {
    LabelList l(decSep);
    l.plain("STDateGAL", 0, EphemDateText(r.epoch));
    l.plain("STTimeGAL", 0, EphemTimeText(r.epoch, false));
    l.integer("STFlagsGAL", 0, " Flags     ", r.dataSources);
    l.integer("STRefTimegal", 1, " Clock data reference time (toc) [s]     ", r.toc);
    l.real("STURAgal", 0, " User range accuracy (URA) [m]     ", r.sisa);
    l.integer("SThealthgal", 0, " Satellite health     ", r.health);
    l.integer("STwngal", 0, " Week number (continuous)     ", r.week);
    addOrbitLabels(l, r, r.iodNav, kGALOrbitNames);
    return l.take();
}

std::vector<EphemLabel> GLOLabels(const nav::TEphemGLORec& r, std::string_view decSep) {
    LabelList l(decSep);
    l.plain("STDateGLO", 0, EphemDateText(r.epoch));
    l.plain("STTimeGLO", 0, EphemTimeText(r.epoch, true));
    l.integer("STfrqNum", 0, " SV frequency channel number [-7..24]     ", r.frequency);
    l.integer("STtk", 0, " Frame start time within current day [s]     ", r.tk);
    l.integer("STtb", 0, " Ephemeris reference time [s]     ", r.epochSeconds);
    l.integer("STage", 0, " Age of operational information [days]     ", r.age);
    l.real("STtauSys", 2, " Time correction to GLONASS time scale     ", r.corrToSystemTime);
    l.real("STtau", 2, " Correction to satellite clock [s]     ", r.tauN);
    l.real("STgamma", 2, " Rate of satellite clock offset [s/s]     ", r.gammaN);
    addVectorLabels(l, r, {"STr1", "STr2", "STr3", "STv1", "STv2", "STv3", "STw1", "STw2", "STw3"},
                    1);
    l.integer("STHeal0", 0, " SV health     ", r.health);
    return l.take();
}

std::vector<EphemLabel> GEOLabels(const nav::TEphemGEORec& r, const header::THeaderDataGEO& h,
                                  std::string_view decSep) {
    LabelList l(decSep);
    l.plain("STDateGEO", 0, EphemDateText(r.epoch));
    l.plain("STTimeGEO", 0, EphemTimeText(r.epoch, false));
    l.integer("STuraGEO", 0, "  Accuracy code (URA)     ", r.ura);
    const bool unknown = h.corrYear == 0 && h.corrMonth == 0 && h.corrDay == 0;
    l.plain("STtkGEO", 0,
            std::string(" Time of reference for system time corr (year, month, day)     ") +
                (unknown ? std::string("Unknown")
                         : std::to_string(h.corrYear) + "-" + std::to_string(h.corrMonth) + "-" +
                               std::to_string(h.corrDay)));
    l.integer("STtbGEO", 0, "Message frame time (sec of day GPS)     ", r.epochSeconds);
    l.integer("STtowGEO", 0, " Reference time (sec of GPS week)      ", r.transmissionTime);
    l.real("STtauSysGEO", 0, " Time correction to GEO time scale     ", h.corrToSystemTime);
    l.real("STaGf0", 0, " SV clock bias (sec)              (aGf0)     ", r.aGf0);
    l.real("STaGf1", 0, " SV relative frequency bias       (aGf1)     ", r.aGf1);
    addVectorLabels(l, r,
                    {"STr1GEO", "STr2GEO", "STr3GEO", "STv1GEO", "STv2GEO", "STv3GEO", "STw1GEO",
                     "STw2GEO", "STw3GEO"},
                    1);
    l.integer("STHealthGEO", 0, " Health status                         ", r.health);
    l.integer("STiodnGEO", 0, " Issue of data (IODN)       ", r.iodn);
    return l.take();
}

void EphemView::open(const EphemSources& sources, text::ScanObserver& observer) {
    for (const EphemSystem system : kEphemSystems) {
        auto& enabled = m_enabled[systemIndex(system)];
        enabled.fill(false);
        for (std::int32_t k = FirstButton(system); k <= LastButton(system); ++k)
            enabled[static_cast<std::size_t>(k)] = sources.counts.count(system, k) >= 1;
    }
    m_lessEnabled = false;
    m_moreEnabled = false;

    for (const EphemSystem system : {EphemSystem::GPS, EphemSystem::GLONASS}) {
        for (std::int32_t k = FirstButton(system); k <= LastButton(system); ++k) {
            if (!buttonEnabled(system, k))
                continue;
            if (selectedButton(system) != k)
                select(system, k, sources, observer);
            else
                refresh(sources, observer);
            return;
        }
    }
    refresh(sources, observer);
}

// The files and counts may have changed under the selection since it was made: the record at
// the current position is read again and the step buttons follow the new count. A satellite
// left without records loses its selection.
void EphemView::refresh(const EphemSources& sources, text::ScanObserver& observer) {
    if (m_system == EphemSystem::None)
        return;
    const std::int32_t count = sources.counts.count(m_system, m_satellite);
    if (count < 1) {
        m_selected.fill(0);
        m_page = EphemSystem::None;
        m_system = EphemSystem::None;
        m_satellite = 0;
        m_n = 0;
        m_title.clear();
        return;
    }
    if (m_n < 1 || m_n > count)
        m_n = 1;
    ShowEphemeris(m_system, m_satellite, m_n, sources, observer);
    m_lessEnabled = m_n >= 2;
    m_moreEnabled = m_n < count;
}

void EphemView::select(EphemSystem system, std::int32_t s, const EphemSources& sources,
                       text::ScanObserver& observer) {
    // A selection accepts 1 up to the last button; for GEO that reaches below the buttons.
    if (system == EphemSystem::None || s < 1 || s > LastButton(system))
        return;
    for (const EphemSystem other : kEphemSystems)
        if (other != system)
            m_selected[systemIndex(other)] = 0;
    m_selected[systemIndex(system)] = s >= FirstButton(system) ? s : 0;
    m_page = system;
    ShowEphemeris(system, s, 1, sources, observer);
    m_system = system;
    m_satellite = s;
    m_n = 1;
    m_lessEnabled = false;
    m_moreEnabled = sources.counts.count(system, s) >= 2;
}

void EphemView::more(const EphemSources& sources, text::ScanObserver& observer) {
    if (!m_moreEnabled)
        return;
    ++m_n;
    m_lessEnabled = true;
    m_moreEnabled = m_n < sources.counts.count(m_system, m_satellite);
    if (m_system != EphemSystem::None)
        ShowEphemeris(m_system, m_satellite, m_n, sources, observer);
}

void EphemView::less(const EphemSources& sources, text::ScanObserver& observer) {
    if (!m_lessEnabled)
        return;
    --m_n;
    m_moreEnabled = true;
    m_lessEnabled = m_n >= 2;
    if (m_system != EphemSystem::None)
        ShowEphemeris(m_system, m_satellite, m_n, sources, observer);
}

void EphemView::ShowEphemeris(EphemSystem system, std::int32_t s, std::int32_t n,
                              const EphemSources& sources, text::ScanObserver& observer) {
    if (system == EphemSystem::None || sources.counts.count(system, s) < n)
        return;
    const std::filesystem::path& file = sources.file(system);
    std::int32_t shown = s;
    std::vector<EphemLabel> labels;
    bool found = false;
    switch (system) {
    case EphemSystem::GPS: {
        nav::TEphemGPSRec r;
        found = nav::FindEphemeris(file, s, n, r, observer);
        if (found) {
            shown = r.prn;
            labels = GPSLabels(r, sources.decSep);
        }
        break;
    }
    case EphemSystem::GLONASS: {
        nav::TEphemGLORec r;
        found = nav::FindEphemeris(file, s, n, r, observer);
        if (found) {
            shown = r.slot;
            labels = GLOLabels(r, sources.decSep);
        }
        break;
    }
    case EphemSystem::GEO: {
        nav::TEphemGEORec r;
        found = nav::FindEphemeris(file, s, n, r, observer);
        if (found) {
            shown = r.prn100 - 100;
            labels = GEOLabels(r, sources.geoHeader, sources.decSep);
        }
        break;
    }
    case EphemSystem::Galileo: {
        nav::TEphemGALRec r;
        found = nav::FindEphemeris(file, s, n, r, observer);
        if (found) {
            shown = r.prn;
            labels = GALLabels(r, sources.decSep);
        }
        break;
    }
    case EphemSystem::None:
        return;
    }
    if (!found) {
        observer.notice(NotFoundText(system, n, s));
        return;
    }
    m_title = EphemTitle(system, shown, n);
    m_labels[systemIndex(system)] = std::move(labels);
}

bool EphemView::buttonEnabled(EphemSystem system, std::int32_t number) const noexcept {
    if (system == EphemSystem::None || number < FirstButton(system) || number > LastButton(system))
        return false;
    return m_enabled[systemIndex(system)][static_cast<std::size_t>(number)];
}

std::int32_t EphemView::selectedButton(EphemSystem system) const noexcept {
    return system == EphemSystem::None ? 0 : m_selected[systemIndex(system)];
}

const std::vector<EphemLabel>& EphemView::labels(EphemSystem system) const noexcept {
    static const std::vector<EphemLabel> kNone;
    return system == EphemSystem::None ? kNone : m_labels[systemIndex(system)];
}

} // namespace views
