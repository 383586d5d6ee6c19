// Identifiers of the program's resources, shared by the resource script and
// the code that loads them. Plain macros: the resource compiler reads this.
#pragma once

// The program icon (16, 24, 32 and 48 pixels); the lowest icon id, so the
// shell shows it for the executable.
#define IDI_HOROLO 1

// The About window's picture: the icon's clock face, 64 by 64, 256 colours.
#define IDB_ABOUT 101
