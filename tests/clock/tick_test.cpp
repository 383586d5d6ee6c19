#include "app/clock/tick.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace horolo {
namespace {

// A ticker over a settable clock that records the hooks in call order.
struct Recorder {
    FaceTime now{};
    std::vector<std::string> calls;
    FaceTime shown{};
    ClockTicker ticker{{
        [this] { return now; },
        [this] { calls.push_back("repaint"); },
        [this](const FaceTime& t) { shown = t; calls.push_back("texts"); },
        [this] { calls.push_back("alarm"); },
    }};
};

TEST(ClockTicker, NewSecondSetsTextsThenRepaintsThenAlarm) {
    Recorder r;
    r.now = {9, 5, 7};
    EXPECT_TRUE(r.ticker.tick(false));
    EXPECT_EQ(r.calls, (std::vector<std::string>{"texts", "repaint", "alarm"}));
    EXPECT_EQ(r.ticker.face(), (FaceTime{9, 5, 7}));
    EXPECT_EQ(r.shown, (FaceTime{9, 5, 7}));
}

TEST(ClockTicker, UnchangedSecondDoesNothingNotEvenTheAlarmCheck) {
    Recorder r;
    r.now = {9, 5, 7};
    r.ticker.tick(false);
    r.calls.clear();
    EXPECT_FALSE(r.ticker.tick(false));
    EXPECT_FALSE(r.ticker.tick(false));
    EXPECT_TRUE(r.calls.empty());
}

TEST(ClockTicker, MidnightBeforeTheFirstTickMatchesTheZeroFace) {
    // The face starts at 00:00:00, so an unforced tick at that very second
    // does nothing until the first forced one (the first paint).
    Recorder r;
    EXPECT_FALSE(r.ticker.tick(false));
    EXPECT_TRUE(r.ticker.tick(true));
    EXPECT_EQ(r.calls.size(), 3u);
}

TEST(ClockTicker, ForcedTickWithinTheSameSecondDoesEverything) {
    Recorder r;
    r.now = {23, 59, 59};
    r.ticker.tick(false);
    r.calls.clear();
    EXPECT_TRUE(r.ticker.tick(true));
    EXPECT_EQ(r.calls, (std::vector<std::string>{"texts", "repaint", "alarm"}));
}

TEST(ClockTicker, AnyChangedFieldCounts) {
    Recorder r;
    r.now = {1, 2, 3};
    r.ticker.tick(false);
    for (FaceTime t : {FaceTime{2, 2, 3}, FaceTime{2, 3, 3}, FaceTime{2, 3, 4}}) {
        r.now = t;
        EXPECT_TRUE(r.ticker.tick(false));
        EXPECT_EQ(r.ticker.face(), t);
    }
}

TEST(TimeTexts, Formatting) {
    EXPECT_EQ(FormatTime({9, 5, 7}), L"09:05:07");
    EXPECT_EQ(FormatTime({0, 0, 0}), L"00:00:00");
    EXPECT_EQ(FormatTime({23, 59, 59}), L"23:59:59");
    EXPECT_EQ(ApplicationTitle(), L"Horolo Version 1.00-Release");
}

TEST(TimeTexts, TableOfTitlesCaptionAndLabel) {
    const FaceTime t{9, 5, 7};
    const TickTexts off = TextsForTick(false, true, t);
    EXPECT_FALSE(off.applicationTitle || off.caption || off.label);
    EXPECT_EQ(TextsForTick(false, false, t).caption, std::nullopt);

    const TickTexts withLabel = TextsForTick(true, true, t);
    EXPECT_EQ(withLabel.applicationTitle, L"Horolo [09:05:07]");
    EXPECT_EQ(withLabel.label, L"09:05:07");
    EXPECT_EQ(withLabel.caption, std::nullopt);

    const TickTexts noLabel = TextsForTick(true, false, t);
    EXPECT_EQ(noLabel.applicationTitle, L"Horolo [09:05:07]");
    EXPECT_EQ(noLabel.caption, L"Horolo [09:05:07]");
    EXPECT_EQ(noLabel.label, std::nullopt);
}

TEST(TickSource, StartupColumn) {
    EXPECT_EQ(StartupTickSource(true, 0), (TickSource{false, 1000u}));
    EXPECT_EQ(StartupTickSource(true, 1), (TickSource{false, 500u}));
    EXPECT_EQ(StartupTickSource(true, 2), (TickSource{false, 100u}));
    EXPECT_EQ(StartupTickSource(true, -1), (TickSource{false, std::nullopt}));
    EXPECT_EQ(StartupTickSource(false, 0), (TickSource{true, std::nullopt}));
    EXPECT_EQ(StartupTickSource(false, -1), (TickSource{true, std::nullopt}));
}

TEST(TickSource, ApplyColumn) {
    EXPECT_EQ(AppliedTickSource(true, 0), (TickSource{false, 1000u}));
    EXPECT_EQ(AppliedTickSource(true, 1), (TickSource{false, 500u}));
    EXPECT_EQ(AppliedTickSource(true, 2), (TickSource{false, 100u}));
    EXPECT_EQ(AppliedTickSource(true, -1), (TickSource{false, std::nullopt}));
    EXPECT_EQ(AppliedTickSource(true, 3), (TickSource{false, std::nullopt}));
    EXPECT_EQ(AppliedTickSource(false, 2), (TickSource{true, 0u}));
}

// The order of the switches, as they are called: never both drivers at once.
TEST(TickSource, SwitchingNeverRunsBothDrivers) {
    const struct {
        TickSource source;
        std::vector<std::string> calls;
    } cases[] = {
        {{false, 500u}, {"remove idle", "timer 500"}},
        {{false, std::nullopt}, {"remove idle"}},
        {{true, 0u}, {"timer 0", "install idle"}},
        {{true, std::nullopt}, {"install idle"}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> calls;
        SwitchTickSource(c.source, {[&] { calls.push_back("remove idle"); },
                                    [&](unsigned ms) { calls.push_back("timer " + std::to_string(ms)); },
                                    [&] { calls.push_back("install idle"); }});
        EXPECT_EQ(calls, c.calls);
    }
}

// The timer is put and kept just after the interval's boundaries within the
// local time's second, so that the second hand follows the change at once.
TEST(TickPhase, CallsFollowTheBoundariesOfTheSecond) {
    const struct {
        unsigned interval;
        int millisecond;
        bool outOfPhase;
        unsigned delay;
    } cases[] = {
        {1000, 3, false, 0},      // on its place: the next call one interval on
        {1000, 0, false, 3},      // just on the boundary
        {1000, 28, false, 975},   // late within the tolerance
        {1000, 29, true, 974},    // later: re-aligned
        {1000, 998, true, 5},     // early: the second has not changed yet
        {500, 503, false, 0},     // the second boundary of a half second
        {500, 700, true, 303},
        {100, 57, true, 46},
        {0, 700, false, 0},       // a stopped timer has no phase
    };
    for (const auto& c : cases) {
        EXPECT_EQ(OutOfPhase(c.interval, c.millisecond), c.outOfPhase) << c.interval << " ms at " << c.millisecond;
        EXPECT_EQ(DelayToPhase(c.interval, c.millisecond), c.delay) << c.interval << " ms at " << c.millisecond;
    }
}

}  // namespace
}  // namespace horolo
