#include "views/EventsView.h"

#include "obs/ObsRecords.h"
#include "text/RecordBytes.h"
#include "text/RecordFile.h"

#include <algorithm>
#include <cmath>

namespace views {

namespace {

enum class Filling : std::uint8_t { Go = 0, End = 1 };

// One channel: its points, then its axis rule. Returns End when the whole filling stops.
Filling fillChannel(const std::filesystem::path& file, std::string_view name, std::int32_t count,
                    bool inputA, PointSeries& series, EventsView& view) {
    text::RecordFileReader reader;
    if (!reader.open(file, obs::kExtEventRecSize)) {
        view.messages.push_back("Error Opening File " + std::string(name) + " ! ");
        return Filling::End;
    }
    auto record = reader.next();
    if (record.empty())
        return Filling::End;
    double previous = eventTime(text::RecordReader(record).epochTime(0), inputA);
    double smallest = 0;
    double largest = 0;
    for (std::int32_t i = 2; i <= count; ++i) {
        record = reader.next();
        if (record.empty())
            return Filling::End; // no message and no axis rule
        const double time = eventTime(text::RecordReader(record).epochTime(0), inputA);
        const double d = (time - previous) / text::OneSecond;
        series.add(i, d);
        smallest = i == 2 ? d : std::min(smallest, d);
        largest = i == 2 ? d : std::max(largest, d);
        previous = time;
    }
    if (std::fabs(largest - smallest) >= 1)
        view.left = AxisRule{};
    else
        view.left = AxisRule::fixed(std::trunc(smallest) - 1, std::trunc(largest) + 1);
    return Filling::Go;
}

} // namespace

double eventTime(const text::TEpochTime& t, bool inputA) noexcept {
    const double seconds = static_cast<double>(t.seconds);
    const double whole = std::trunc(seconds);
    const double fraction = (seconds - whole) * 1000;
    const double ms = inputA ? std::nearbyint(fraction) : std::trunc(fraction);
    // Arithmetic rather than a time-of-day encoding, so that 1000 ms simply adds a second.
    const double ofDay = ((t.hour * 60.0 + t.minute) * 60.0 + whole) * 1000.0 + ms;
    return text::EncodeDate(t.year, t.month, t.day) + ofDay / 86400000.0;
}

EventsView computeEventsView(const std::filesystem::path& extEventsXA,
                             const std::filesystem::path& extEventsXB, std::int32_t eventsA,
                             std::int32_t eventsB, bool CBXA, bool CBXB) {
    EventsView v;
    v.series[0].title = "XA";
    v.series[1].title = "XB";
    if (eventsA > 1 && CBXA &&
        fillChannel(extEventsXA, "ExtEventRecsXA.dat", eventsA, true, v.series[0], v) ==
            Filling::End)
        return v;
    if (eventsB > 1 && CBXB)
        fillChannel(extEventsXB, "ExtEventRecsXB.dat", eventsB, false, v.series[1], v);
    return v;
}

} // namespace views
