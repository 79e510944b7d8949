#include "views/EventsView.h"

#include "RecordFixture.h"

#include <gtest/gtest.h>

using views_test::TempFolder;
using views_test::writeRecords;

namespace {

obs::TExtEventRec event(std::int32_t minute, long double seconds, bool inputA) {
    obs::TExtEventRec e;
    e.time = {2009, 5, 25, 12, minute, seconds};
    e.inputA = inputA;
    return e;
}

void writeEvents(const std::filesystem::path& path, bool inputA,
                 const std::vector<long double>& seconds) {
    std::vector<obs::TExtEventRec> events;
    for (const long double s : seconds)
        events.push_back(event(0, s, inputA));
    writeRecords(path, obs::kExtEventRecSize, events);
}

} // namespace

TEST(EventsView, MillisecondsAreRoundedForXAAndTruncatedForXB) {
    TempFolder dir;
    writeEvents(dir.xa(), true, {10.0006L, 11.0004L});
    writeEvents(dir.xb(), false, {10.0006L, 11.0004L});
    const auto v = views::computeEventsView(dir.xa(), dir.xb(), 2, 2, true, true);
    EXPECT_TRUE(v.messages.empty());
    EXPECT_EQ(v.series[0].title, "XA");
    EXPECT_EQ(v.series[1].title, "XB");
    ASSERT_EQ(v.series[0].size(), 1u);
    ASSERT_EQ(v.series[1].size(), 1u);
    EXPECT_EQ(v.series[0].x[0], 2);
    EXPECT_NEAR(v.series[0].y[0], 0.999, 1e-5);
    EXPECT_NEAR(v.series[1].y[0], 1.000, 1e-5);
}

TEST(EventsView, EventTimeIsADayCount) {
    const text::TEpochTime t{2009, 5, 25, 12, 0, 30.2506L};
    EXPECT_NEAR(views::eventTime(t, true), text::EncodeDate(2009, 5, 25) + (43230.251 / 86400),
                1e-10);
    EXPECT_NEAR(views::eventTime(t, false), text::EncodeDate(2009, 5, 25) + (43230.250 / 86400),
                1e-10);
}

TEST(EventsView, AxisIsFixedAroundEvenSpacingAndFollowsXB) {
    struct Case {
        const char* why;
        std::vector<long double> a, b;
        bool xa, xb;
        views::AxisRule axis;
        std::size_t pointsA, pointsB;
    };
    const Case cases[] = {
        {"even XA spacing fixes the axis",
         {10, 12.3L, 14.6L},
         {},
         true,
         false,
         views::AxisRule::fixed(1, 3),
         2,
         0},
        {"a spread of 1 s or more leaves it automatic",
         {10, 11.5L, 14},
         {},
         true,
         false,
         views::AxisRule{},
         2,
         0},
        {"with both channels the XB rule decides",
         {10, 12.3L, 14.6L},
         {0, 5.5L, 11},
         true,
         true,
         views::AxisRule::fixed(4, 6),
         2,
         2},
        {"XB alone when XA is unchecked",
         {10, 12.3L, 14.6L},
         {0, 5.5L, 11},
         false,
         true,
         views::AxisRule::fixed(4, 6),
         0,
         2},
        {"one event draws nothing", {10}, {}, true, true, views::AxisRule{}, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        TempFolder dir;
        writeEvents(dir.xa(), true, c.a);
        writeEvents(dir.xb(), false, c.b);
        const auto v =
            views::computeEventsView(dir.xa(), dir.xb(), static_cast<std::int32_t>(c.a.size()),
                                     static_cast<std::int32_t>(c.b.size()), c.xa, c.xb);
        EXPECT_TRUE(v.messages.empty());
        EXPECT_EQ(v.left, c.axis);
        EXPECT_EQ(v.series[0].size(), c.pointsA);
        EXPECT_EQ(v.series[1].size(), c.pointsB);
    }
}

TEST(EventsView, EndsTheFillingAtAMissingOrShortFile) {
    {
        SCOPED_TRACE("XA cannot be opened: XB is not drawn either");
        TempFolder dir;
        writeEvents(dir.xb(), false, {0, 1, 2});
        const auto v = views::computeEventsView(dir.xa(), dir.xb(), 2, 3, true, true);
        EXPECT_EQ(v.messages, std::vector<std::string>{"Error Opening File ExtEventRecsXA.dat ! "});
        EXPECT_EQ(v.series[1].size(), 0u);
    }
    {
        SCOPED_TRACE("XB cannot be opened");
        TempFolder dir;
        const auto v = views::computeEventsView(dir.xa(), dir.xb(), 0, 3, true, true);
        EXPECT_EQ(v.messages, std::vector<std::string>{"Error Opening File ExtEventRecsXB.dat ! "});
    }
    {
        SCOPED_TRACE("XA shorter than counted: silent, points kept, no axis rule, no XB");
        TempFolder dir;
        writeEvents(dir.xa(), true, {10, 11, 12});
        writeEvents(dir.xb(), false, {0, 1, 2});
        const auto v = views::computeEventsView(dir.xa(), dir.xb(), 5, 3, true, true);
        EXPECT_TRUE(v.messages.empty());
        EXPECT_EQ(v.series[0].x, (std::vector<double>{2, 3}));
        EXPECT_EQ(v.series[1].size(), 0u);
        EXPECT_TRUE(v.left.automatic);
    }
}
