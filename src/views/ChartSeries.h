#pragma once

#include <string>
#include <vector>

namespace views {

/// One series of chart points in the order they were found, with its legend title.
struct PointSeries {
    std::string title;
    std::vector<double> x;
    std::vector<double> y;

    void add(double px, double py) {
        x.push_back(px);
        y.push_back(py);
    }
    std::size_t size() const noexcept { return x.size(); }
    void clear() noexcept {
        x.clear();
        y.clear();
    }
};

/// The range of a chart axis: automatic (follows the data) or fixed to [minimum, maximum].
struct AxisRule {
    bool automatic = true;
    double minimum = 0;
    double maximum = 0;

    static AxisRule fixed(double lo, double hi) noexcept { return {false, lo, hi}; }
    friend bool operator==(const AxisRule&, const AxisRule&) = default;
};

} // namespace views
