// Run with ALSA pointed at nothing: MCI opens the file, but every play fails.
#include "tests/alarm/alarm_fixture.h"

#include <vector>

TEST_F(AlarmTest, AFailedPlaybackEndsTheSoundButNotTheNotice) {
    for (const bool repeat : {true, false}) {
        SCOPED_TRACE(repeat ? "repeating" : "once");
        fake.beeps.clear();
        fake.mciCommands.clear();
        setup.refrpl.setChecked(repeat);
        tickAt(7, 59, 0);  // another minute ends the latch
        tickAt(8, 0, 0);
        const MCIDEVICEID device = alarm.AlarmDevice();
        ASSERT_TRUE(fwtest::PumpUntil([this] { return !fake.beeps.empty(); }));
        fwtest::PumpFor(300);  // no replay follows
        EXPECT_EQ(fake.beeps, std::vector<UINT>{1});
        EXPECT_EQ(sent(MCI_PLAY), 1);
        EXPECT_EQ(sent(MCI_SEEK), 0);
        EXPECT_TRUE(DeviceClosed(device));
        EXPECT_TRUE(alarm.visible());
        EXPECT_TRUE(alarm.AlarmSounding());
        clickStop();
        EXPECT_FALSE(alarm.visible());
        EXPECT_FALSE(alarm.AlarmSounding());
        EXPECT_EQ(sent(MCI_CLOSE), 1);
    }
}
