// Horolo: creates the four windows in their fixed order and runs the clock.
#include <windows.h>

#include <functional>
#include <utility>

#include "app/clock/clockform.h"
#include "app/info/aboutbox.h"
#include "app/settings/setupform.h"
#include "framework/application.h"
#include "framework/error.h"

namespace {

// The alarm window; created last, so its creation handler runs the
// program's start-up once every window exists.
class TAlarmForm : public fw::Form {
public:
    explicit TAlarmForm(std::function<void()> startUp)
        : fw::Form({L"設定時間になりました", 221, 64, fw::BorderStyle::None, false, true, true}),
          startUp_(std::move(startUp)) {}

    void FormCreate() { startUp_(); }

protected:
    void onCreate() override { FormCreate(); }

private:
    std::function<void()> startUp_;
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    try {
        fw::Application& app = fw::Application::instance();
        TSetupform setupform;
        TAboutBox AboutBox;
        Tclockform clockform(setupform, &AboutBox);
        TAlarmForm AlarmForm([&clockform] { clockform.StartUp(); });
        clockform.create();
        AboutBox.create();
        setupform.create();
        AlarmForm.create();
        return app.run(clockform);
    } catch (...) {
        fw::ReportException();
        return 1;
    }
}
