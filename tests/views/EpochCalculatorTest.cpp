#include "views/EpochCalculator.h"

#include "RecordFixture.h"

#include <gtest/gtest.h>

using views_test::epochRec;
using views_test::TempFolder;
using views_test::writeRecords;

TEST(EpochCalculator, TimeTexts) {
    struct Case {
        text::TEpochTime t;
        const char* text;
        const char* why;
    };
    const Case cases[] = {
        {{2009, 5, 25, 0, 5, 30.25L}, "25/05/2009  00:05:30.250", "the worked example"},
        {{2009, 12, 31, 23, 59, 59.9994L}, "31/12/2009  23:59:59.999", "rounds down"},
        {{2010, 1, 2, 3, 4, 5.0625L}, "02/01/2010  03:04:05.062", "a half goes to even"},
        {{2010, 1, 2, 3, 4, 5.1875L}, "02/01/2010  03:04:05.188", "a half goes to even"},
        {{2009, 12, 31, 23, 59, 59.9996L}, "01/01/2010  00:00:00.000", "1000 ms carry"},
        {{2010, 1, 2, 3, 4, 7.9996L}, "02/01/2010  03:04:08.000", "1000 ms carry"},
        {{5, 1, 1, 0, 0, 0}, "01/01/05  00:00:00.000", "a one-digit year gets its 0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(views::epochTimeText(c.t), c.text);
    }
}

TEST(EpochCalculator, StepsWithinTheLoadedEpochs) {
    TempFolder dir;
    std::vector<obs::TEpochRec> epochs;
    for (std::int32_t i = 0; i < 2880; ++i)
        epochs.push_back(epochRec(i / 120, (i / 2) % 60, (i % 2) * 30, {{'G', 1}}));
    writeRecords(dir.epochs(), obs::kEpochRecSize, epochs);
    views::EpochCalculator calc;
    EXPECT_TRUE(calc.load(dir.epochs(), 2880).empty());
    EXPECT_EQ(calc.count(), 2880);
    EXPECT_EQ(calc.current(), 1);
    EXPECT_EQ(calc.ENumEp(), "1");
    EXPECT_EQ(calc.EDateTime(), "25/05/2009  00:00:00.000");
    EXPECT_FALSE(calc.canStepLeft());
    EXPECT_FALSE(calc.stepLeft());
    EXPECT_EQ(calc.current(), 1);
    EXPECT_TRUE(calc.stepRight());
    EXPECT_EQ(calc.EDateTime(), "25/05/2009  00:00:30.000");
    calc.TBTimeChange(2880);
    EXPECT_EQ(calc.ENumEp(), "2880");
    EXPECT_EQ(calc.EDateTime(), "25/05/2009  23:59:30.000");
    EXPECT_FALSE(calc.canStepRight());
    EXPECT_FALSE(calc.stepRight());
    EXPECT_EQ(calc.current(), 2880);
    EXPECT_TRUE(calc.stepLeft());
    EXPECT_EQ(calc.current(), 2879);
    calc.TBTimeChange(500);
    EXPECT_TRUE(calc.load(dir.epochs(), 2880).empty()); // opening again starts at 1
    EXPECT_EQ(calc.current(), 1);
    calc.close();
    EXPECT_EQ(calc.count(), 0);
    EXPECT_EQ(calc.EDateTime(), "");
}

TEST(EpochCalculator, Messages) {
    TempFolder dir;
    views::EpochCalculator calc;
    EXPECT_EQ(
        calc.load(dir.epochs(), 0),
        (std::vector<std::string>{"Error Opening File RinexEpochs.dat ! ", "There is no Epochs"}));
    writeRecords(dir.epochs(), obs::kEpochRecSize, std::vector<obs::TEpochRec>{});
    EXPECT_EQ(calc.load(dir.epochs(), 3),
              (std::vector<std::string>{"There is no Epochs",
                                        "Number of epochs in Temp file differs from true one"}));
    EXPECT_EQ(calc.ENumEp(), "");
    EXPECT_FALSE(calc.canStepRight());
    writeRecords(dir.epochs(), obs::kEpochRecSize,
                 std::vector<obs::TEpochRec>{epochRec(1, 2, 3, {{'G', 1}})});
    EXPECT_EQ(calc.load(dir.epochs(), 2),
              std::vector<std::string>{"Number of epochs in Temp file differs from true one"});
    EXPECT_EQ(calc.EDateTime(), "25/05/2009  01:02:03.000");
}
