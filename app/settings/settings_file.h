// Horolo.ini through the system's profile calls, always by its bare name, so
// the system keeps it in the Windows directory (or, for a standard user, in
// that user's own store). Nothing is cached: every value is read from the
// system and every write handed to it at once.
#pragma once

#include "app/settings/stored_settings.h"

inline constexpr const char* kSettingsFileName = "Horolo.ini";

// Reads a key's text, at most 1023 bytes, or the default without the key.
horolo::IniReader SettingsFileReader();
// Writes a key's text; false when the system refused the write.
horolo::SettingWriter SettingsFileWriter();

// The error box of a save that stopped because a write was refused.
void ReportRefusedWrite();
