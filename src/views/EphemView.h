#pragma once

#include "header/HeaderData.h"
#include "header/SatSystems.h"
#include "nav/EphemRecords.h"
#include "nav/NavLines.h"
#include "text/GPSTime.h"
#include "text/ScanObserver.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace views {

/// The four groups of satellite buttons of the ephemerides view; None before any selection.
enum class EphemSystem { None, GPS, GLONASS, GEO, Galileo };

/// The systems in the order of their button groups and page controls.
inline constexpr std::array<EphemSystem, 4> kEphemSystems = {
    EphemSystem::GPS, EphemSystem::GLONASS, EphemSystem::GEO, EphemSystem::Galileo};

/// The position of a system in kEphemSystems; asserts on None.
std::size_t systemIndex(EphemSystem system) noexcept;

/// The numbers of a group's buttons: GPS 1..32 (RBG), GLONASS 1..24 (RBR), GEO 20..58 (RBS),
/// Galileo 1..36 (RBE).
std::int32_t FirstButton(EphemSystem system) noexcept;
std::int32_t LastButton(EphemSystem system) noexcept;
/// "RBG1" ... "RBE36"; "" for None.
std::string SatelliteButtonName(EphemSystem system, std::int32_t number);
/// "PCEphGPS", "PCEphGLO", "PCEphGEO", "PCEphGAL"; "" for None.
std::string_view PageControlName(EphemSystem system) noexcept;
/// The captions of a page control's pages, in order.
std::vector<std::string_view> PageCaptions(EphemSystem system);

/// Records written per satellite by the last scan of each system's navigation file; a system
/// whose file was not scanned keeps zero counts.
struct EphemCounts {
    nav::EphemCountTable gps{nav::kGPSNumbers.firstNumber, nav::kGPSNumbers.lastNumber};
    nav::EphemCountTable glo{nav::kGLONumbers.firstNumber, nav::kGLONumbers.lastNumber};
    nav::EphemCountTable geo{nav::kGEONumbers.firstNumber, nav::kGEONumbers.lastNumber};
    nav::EphemCountTable gal{nav::kGALNumbers.firstNumber, nav::kGALNumbers.lastNumber};

    /// The count of satellite s of a system; 0 for None and numbers outside the table.
    std::int32_t count(EphemSystem system, std::int32_t s) const noexcept;
};

/// Everything the view reads: the four record files, the counts, the GEO header record (its
/// reference date and correction to system time) and the user's decimal separator.
struct EphemSources {
    std::filesystem::path gpsFile, gloFile, geoFile, galFile;
    EphemCounts counts;
    header::THeaderDataGEO geoHeader;
    std::string decSep = ".";

    const std::filesystem::path& file(EphemSystem system) const noexcept;
};

/// One value label of a page control: its control name, the page it sits on (0-based) and its
/// whole text (fixed text, then the value).
struct EphemLabel {
    std::string_view name;
    int page = 0;
    std::string text;

    friend bool operator==(const EphemLabel&, const EphemLabel&) = default;
};

/// STEphem: "GPS Ephemeris  sv=" + satellite + "   N=" + n (GLONASS, GEO, GAL likewise).
std::string EphemTitle(EphemSystem system, std::int32_t satellite, std::int32_t n);
/// The message of a record that is not there: "Ephemeris 3 for SV G5  is not found".
std::string NotFoundText(EphemSystem system, std::int32_t n, std::int32_t s);

/// " Date  dd\mm\yyyy": two-digit years below 81 are 20yy, others 19yy; a year of 100 or more
/// is shown as stored.
std::string EphemDateText(const text::TEpochTime& t);
/// " Time  hh:mm:ss.s" with the seconds right-aligned in four characters and one decimal
/// (" 0.0", "30.0"); utc appends "  (UTC)" (GLONASS).
std::string EphemTimeText(const text::TEpochTime& t, bool utc);

/// The labels of each system's page control in fill order, date and time first. Reals are in
/// the general format with decSep; single fields show their binary value (1.10000002384186).
std::vector<EphemLabel> GPSLabels(const nav::TEphemGPSRec& r, std::string_view decSep);
std::vector<EphemLabel> GLOLabels(const nav::TEphemGLORec& r, std::string_view decSep);
/// STtkGEO reads "Unknown" when the header's reference year, month and day are all 0.
std::vector<EphemLabel> GEOLabels(const nav::TEphemGEORec& r, const header::THeaderDataGEO& h,
                                  std::string_view decSep);
std::vector<EphemLabel> GALLabels(const nav::TEphemGALRec& r, std::string_view decSep);

/// The state of the ephemerides view: which button of each group is selected, which page
/// control is shown, the current satellite and position, the step buttons and the texts shown.
/// Every showing reads the record file again through FindEphemeris; nothing is cached. Message
/// boxes (file not opened, record not found) go to the observer.
class EphemView {
public:
    /// Ephemerides1Click: enables the buttons of the satellites with records, disables the
    /// step buttons and selects the first GPS satellite with records (else the first GLONASS
    /// one). When that button is already selected, or no GPS or GLONASS satellite has
    /// records, the current selection is shown again from the file as it is now.
    void open(const EphemSources& sources, text::ScanObserver& observer);
    /// A click on satellite button s of a group. Numbers outside the system's range (GEO
    /// 1..58) do nothing.
    void select(EphemSystem system, std::int32_t s, const EphemSources& sources,
                text::ScanObserver& observer);
    /// BBMoreClick and BBLessClick; nothing happens while the button is disabled.
    void more(const EphemSources& sources, text::ScanObserver& observer);
    void less(const EphemSources& sources, text::ScanObserver& observer);

    /// Fills the title and the system's labels from the n-th record of satellite s. Nothing
    /// happens when the count of s is below n; a record not found is told and the texts stay.
    void ShowEphemeris(EphemSystem system, std::int32_t s, std::int32_t n,
                       const EphemSources& sources, text::ScanObserver& observer);

    bool buttonEnabled(EphemSystem system, std::int32_t number) const noexcept;
    /// The selected button of a group, 0 for none.
    std::int32_t selectedButton(EphemSystem system) const noexcept;
    /// The one page control shown, None while all four are hidden.
    EphemSystem pageShown() const noexcept { return m_page; }
    EphemSystem currentSystem() const noexcept { return m_system; }
    std::int32_t currentSatellite() const noexcept { return m_satellite; }
    std::int32_t position() const noexcept { return m_n; }
    bool lessEnabled() const noexcept { return m_lessEnabled; }
    bool moreEnabled() const noexcept { return m_moreEnabled; }
    /// STEphem; "" until a record was shown.
    const std::string& title() const noexcept { return m_title; }
    /// The labels of a system's page control as last filled; empty until then.
    const std::vector<EphemLabel>& labels(EphemSystem system) const noexcept;

private:
    void refresh(const EphemSources& sources, text::ScanObserver& observer);

    std::array<std::array<bool, header::kSatNumberSlots>, 4> m_enabled{};
    std::array<std::int32_t, 4> m_selected{};
    EphemSystem m_page = EphemSystem::None;
    EphemSystem m_system = EphemSystem::None;
    std::int32_t m_satellite = 0;
    std::int32_t m_n = 0;
    bool m_lessEnabled = false;
    bool m_moreEnabled = false;
    std::string m_title;
    std::array<std::vector<EphemLabel>, 4> m_labels;
};

} // namespace views
