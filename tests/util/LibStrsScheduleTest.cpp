// Tests of the schedule date computations: first run dates of periods and
// the date conditions that move with the run date.
#include "util/LibStrs.h"

#include "platform/core/Exceptions.h"

#include <gtest/gtest.h>

namespace zb {
namespace {

Variant Days(Variant n) { return VarArrayOf({0, n}); }
Variant Weeks(Variant n, Variant weekday) { return VarArrayOf({1, VarArrayOf({n, weekday})}); }
Variant MonthDay(Variant n, Variant day) { return VarArrayOf({2, VarArrayOf({0, n, day})}); }
Variant MonthWeekday(int n, int ordinal, int weekday) { return VarArrayOf({2, VarArrayOf({1, n, ordinal, weekday})}); }

TEST(LibStrsSchedule, FirstRunDate)
{
    struct Case {
        std::string start;
        Variant period;
        std::string first;
    } cases[] = {
        {"20240103", Days(1), "20240103"},
        {"2024013", Days(1), ""},
        // 3 January 2024 is a Wednesday.
        {"20240103", Weeks(1, 1), "20240108"},
        {"20240103", Weeks(1, 3), "20240103"},
        {"20240103", Weeks(2, 1), "20240115"},
        {"20240103", Weeks(1, 6), "20240106"},
        {"20240103", Weeks(Variant("2"), Variant("3")), "20240110"},  // numbers as texts
        {"20240115", MonthDay(1, 20), "20240120"},
        {"20240115", MonthDay(1, 15), "20240115"},
        {"20240115", MonthDay(1, 10), "20240210"},
        {"20240405", MonthDay(1, 31), "20240430"},
        {"20240115", MonthDay(3, 31), "20240331"},
        {"20240131", MonthDay(1, 30), "20240229"},
        {"20240115", MonthWeekday(1, 0, 1), "20240205"},  // first Monday of January lies before the start
        {"20240101", MonthWeekday(1, 0, 1), "20240101"},
        {"20240101", MonthWeekday(1, 4, 5), "20240126"},  // last Friday
        {"20240101", MonthWeekday(1, 1, 3), "20240110"},  // second Wednesday
        {"20240101", MonthWeekday(1, 3, 0), "20240128"},  // fourth Sunday
        {"20240130", MonthWeekday(2, 4, 2), "20240227"},  // last Tuesday; the first pass is one month on
        {"20240115", VarArrayOf({3, 4}), ""},             // hours
        {"20240115", VarArrayOf({9, 4}), ""},
        {"20240115", Weeks(Variant("x"), 1), ""},
        {"20240115", VarArrayOf({1}), ""},
        {"20240115", Variant("not a record"), ""},
        {"bad", MonthDay(1, 10), ""},
        {"bad", MonthWeekday(1, 0, 1), ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.start + " " + c.period.ToJson());
        EXPECT_EQ(FirstRunDate(c.start, c.period), c.first);
    }
}

TEST(LibStrsSchedule, FirstRunDateEndsForABrokenMonthCount)
{
    // n = 0 breaks the promise n >= 1; the search still ends, with the candidate it last had.
    EXPECT_EQ(FirstRunDate("20240115", MonthWeekday(0, 0, 1)), "20240101");
}

TEST(LibStrsSchedule, RelativeAndWeekBoundaryDates)
{
    struct Case {
        std::string base, count, unit, mode, days, result;
    } cases[] = {
        {"20240131", "1", "1", "2", "0", "20240229"},  // plus a month, last day
        {"20240131", "1", "1", "1", "0", "20240201"},  // first day
        {"20240131", "1", "1", "0", "3", "20240303"},  // plus days
        {"20240131", "-1", "1", "9", "0", "20231231"},
        {"20240103", "0", "0", "1", "0", "20231231"},  // the Sunday of the week
        {"20240103", "0", "0", "2", "0", "20240106"},  // its Saturday
        {"20240103", "1", "0", "2", "0", "20240113"},
        {"20240110", "-1", "0", "0", "2", "20240105"},  // minus a week plus two days
        {"202412", "1", "0", "1", "5", "202501"},       // a year-month moves by months only
        {"202401", "-1", "1", "2", "0", "202312"},
        {"bad date", "1", "1", "2", "0", ""},
        {"bad date", "1", "0", "1", "0", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.base + " " + c.count + " " + c.unit + " " + c.mode + " " + c.days);
        EXPECT_EQ(RelativeConditionDate(c.base, c.count, c.unit, c.mode, c.days), c.result);
    }
    EXPECT_THROW(RelativeConditionDate("20240103", "x", "0", "0", "0"), EConvertError);
    EXPECT_EQ(WeekBoundaryDate("20240107", 0, "1"), "20240107");  // a Sunday is its own week start
    EXPECT_EQ(WeekBoundaryDate("20240106", -1, "2"), "20231230");
    EXPECT_EQ(WeekBoundaryDate("", 0, "1"), "");
}

// A definition text from its fields.
std::string Def(std::initializer_list<std::string> fields)
{
    std::string out;
    for (const std::string& f : fields) {
        if (!out.empty())
            out += kSep3;
        out += f;
    }
    return out;
}

TEST(LibStrsSchedule, RecomputeConditionDates)
{
    Variant values = VarArrayOf({
        Variant("unused"),
        Variant("20200101"),                            // 1: run date + 1 month, last day
        Variant::Wide("20200101"),                      // 2: does not move
        VarArrayOf({Variant(), "20200101", "20200131"}), // 3: range, begin Sunday of the week, end moves by -5 days
        Variant("202001"),                              // 4: year-month + 1
        Variant("20200101"),                            // 5: moves, nothing shifts it: the run date
        VarArrayOf({Variant(), "keep", "20200131"}),     // 6: range, only the end moves
    });
    Variant defs = VarArrayOf({
        6,
        Def({"1", "d1", "Y", "1", "1", "2", "0", "D", "1"}),
        Def({"1", "d2", "N", "1", "1", "2", "0", "D", "2"}),
        Def({"0", "r1", "Y", "0", "0", "1", "0", "Y", "-1", "0", "0", "2", "D", "3"}),
        Def({"1", "ym", "Y", "1", "1", "0", "0", "M", "4"}),
        Def({"1", "d5", "Y", "0", "1", "0", "0", "D", "5"}),
        Def({"0", "r2", "N", "1", "1", "1", "0", "Y", "1", "1", "2", "0", "D", "6"}),
    });
    const Variant job = VarArrayOf({Variant(), values, Variant(), defs});

    const Variant out = RecomputeConditionDates(job, "20240131");
    ASSERT_TRUE(out.IsArray()) << out.ToJson();
    EXPECT_EQ(out[0], Variant("unused"));
    EXPECT_EQ(out[1], Variant("20240229"));
    EXPECT_EQ(out[2], Variant::Wide("20200101"));
    EXPECT_EQ(out[3][1], Variant("20240128"));
    EXPECT_EQ(out[3][2], Variant("20240126"));
    EXPECT_EQ(out[4], Variant("202402"));
    EXPECT_EQ(out[5], Variant("20240131"));
    EXPECT_EQ(out[6][1], Variant("keep"));
    EXPECT_EQ(out[6][2], Variant("20240229"));
    EXPECT_EQ(job[1][1], Variant("20200101")) << "the job record is not changed";

    // The year-month case of the run 20241215.
    const Variant ym = VarArrayOf({Variant(), VarArrayOf({Variant(), "202401"}), Variant(),
                                   VarArrayOf({1, Def({"1", "ym", "Y", "1", "1", "0", "0", "M", "1"})})});
    EXPECT_EQ(RecomputeConditionDates(ym, "20241215")[1], Variant("202501"));
}

TEST(LibStrsSchedule, RecomputeConditionDatesGivesAnEmptyTextForFaultyRecords)
{
    const Variant values = VarArrayOf({Variant(), "20200101"});
    const Variant good = Def({"1", "d", "Y", "1", "1", "2", "0", "D", "1"});
    const Variant records[] = {
        VarArrayOf({Variant(), values, Variant(), VarArrayOf({1, Def({"1", "d", "Y", "1", "1", "2", "0", "D", "x"})})}),
        VarArrayOf({Variant(), values, Variant(), VarArrayOf({1, Def({"1", "d", "Y", "1", "1", "2", "0", "D", "7"})})}),
        VarArrayOf({Variant(), values, Variant(), VarArrayOf({1, Def({"1", "d", "N", "1", "1", "2", "0", "D", "7"})})}),
        VarArrayOf({Variant(), values, Variant(), VarArrayOf({1, Def({"0", "r", "Y", "1", "1", "2", "0", "N", "0", "1", "2", "0", "D", "1"})})}),
        VarArrayOf({Variant(), values, Variant(), VarArrayOf({1, Def({"1", "d", "Y", "z", "1", "2", "0", "D", "1"})})}),
        VarArrayOf({Variant(), values, Variant(), VarArrayOf({2, good})}),  // count beyond the definitions
        VarArrayOf({Variant(), values}),
        Variant("no record"),
    };
    for (const Variant& job : records) {
        SCOPED_TRACE(job.ToJson());
        const Variant out = RecomputeConditionDates(job, "20240131");
        EXPECT_EQ(out.Type(), VarType::String);
        EXPECT_EQ(out.Text(), "");
    }
}

}  // namespace
}  // namespace zb
