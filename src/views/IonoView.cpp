#include "views/IonoView.h"

#include "text/NumberText.h"

namespace views {

std::array<IonoLabel, 8> IonoLabels(const header::THeaderDataGPS& h, std::string_view decSep) {
    struct Fixed {
        std::string_view name, caption, head;
    };
    static constexpr std::array<Fixed, 8> kFixed = {{
        {"STIOA0", "Alpha(0) [s]", " Alpha0="},
        {"STIOA1", "Alpha(1) [s/semicircles]", " Alpha1="},
        {"STIOA2", "Alpha(2) [s/semicircles**2]", " Alpha2="},
        {"STIOA3", "Alpha(3) [s/semicircles**3]", " Alpha3="},
        {"STIOB0", "Beta(0) [s]", " Beta0 ="},
        {"STIOB1", "Beta(1) [s/semicircles]", " Beta1 ="},
        {"STIOB2", "Beta(2) [s/semicircles**2]", " Beta2 ="},
        {"STIOB3", "Beta(3) [s/semicircles**3]", " Beta3 ="},
    }};
    std::array<IonoLabel, 8> out;
    for (std::size_t i = 0; i < 8; ++i) {
        out[i].name = kFixed[i].name;
        out[i].caption = kFixed[i].caption;
        out[i].text = std::string(kFixed[i].head) +
                      text::GeneralText(static_cast<long double>(h.ion[i]), decSep);
    }
    return out;
}

} // namespace views
