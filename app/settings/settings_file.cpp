#include "app/settings/settings_file.h"

#include <windows.h>

#include <string>

#include "framework/ansi.h"
#include "framework/error.h"

horolo::IniReader SettingsFileReader() {
    return [](const char* section, const char* key, const char* defaultText) {
        char text[1024];
        const DWORD length = GetPrivateProfileStringA(section, key, defaultText, text, sizeof text, kSettingsFileName);
        return std::string(text, length);
    };
}

horolo::SettingWriter SettingsFileWriter() {
    return [](std::string_view section, std::string_view key, const std::string& value) {
        return WritePrivateProfileStringA(std::string(section).c_str(), std::string(key).c_str(), value.c_str(),
                                          kSettingsFileName) != FALSE;
    };
}

void ReportRefusedWrite() { fw::ShowErrorBox(fw::FromAnsi(kSettingsFileName) + L" に書き込めません"); }
