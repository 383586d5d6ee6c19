#include "app/alarm/alarm_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using horolo::AlarmCheck;
using horolo::AlarmCheckState;

TEST(AlarmRules, WhatATickDoes) {
    struct Case {
        AlarmCheckState state;
        int hour, minute;
        AlarmCheck expected;
    };
    const Case cases[] = {
        {{true, true, false, 8, 30}, 8, 30, AlarmCheck::Start},
        {{true, true, false, 0, 0}, 0, 0, AlarmCheck::Start},       // the defaults, at midnight
        {{true, true, false, 8, 30}, 20, 30, AlarmCheck::None},     // other hour
        {{true, true, false, 8, 30}, 8, 31, AlarmCheck::None},
        {{false, true, false, 8, 30}, 8, 30, AlarmCheck::None},     // clock window hidden
        {{true, false, false, 8, 30}, 8, 30, AlarmCheck::None},     // alarm off
        {{true, true, false, -1, 30}, 8, 30, AlarmCheck::None},     // no hour selected
        {{true, true, false, 8, -1}, 8, 30, AlarmCheck::None},
        {{true, true, true, 8, 30}, 8, 30, AlarmCheck::None},       // already ran this minute
        {{true, true, true, 8, 30}, 9, 30, AlarmCheck::None},       // only the minute ends the latch
        {{true, true, true, 8, 30}, 8, 31, AlarmCheck::Rearm},
        {{false, true, true, 8, 30}, 8, 31, AlarmCheck::None},      // not even rearmed while hidden
        {{true, false, true, 8, 30}, 8, 31, AlarmCheck::None},
    };
    for (const Case& c : cases) {
        const AlarmCheckState& s = c.state;
        SCOPED_TRACE(testing::Message() << "visible " << s.clockVisible << " on " << s.enabled << " latched "
                                        << s.triggered << " set " << s.hourItem << ":" << s.minuteItem << " at "
                                        << c.hour << ":" << c.minute);
        EXPECT_EQ(horolo::CheckAlarmAt(s, c.hour, c.minute), c.expected);
    }
}

TEST(AlarmRules, SavedKeysInTheirOrderStoppingAtARefusal) {
    std::vector<std::string> written;
    std::string_view refused;
    const horolo::SettingWriter write = [&](std::string_view section, std::string_view key, const std::string& value) {
        written.push_back(std::string(section) + "/" + std::string(key) + "=" + value);
        return key != refused;
    };
    const std::string path = "C:\\\x96\xDA\x8A\x6F.wav";  // CP932 bytes, kept as they are
    EXPECT_TRUE(horolo::WriteAlarmSettings(write, 5, path, "-x"));
    EXPECT_EQ(written, (std::vector<std::string>{"Alarm/Action=1", "Alarm/File=" + path, "Alarm/Option=-x"}));
    written.clear();
    refused = "File";
    EXPECT_FALSE(horolo::WriteAlarmSettings(write, 0, "", ""));
    EXPECT_EQ(written, (std::vector<std::string>{"Alarm/Action=0", "Alarm/File="}));
}

}  // namespace
