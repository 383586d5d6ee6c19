// The standard windowed controls, one family per header: buttons (push
// buttons, check boxes, radio groups), panels (group boxes, colour panels),
// lists, pages, the progress bar, the drive and directory lists, the edit
// box; and the graphic controls (labels, images, paint boxes). Each takes its layout and initial state in its constructor (a layout
// with designated initialisers); state changed before the form creates the
// control is kept and applied at creation. The common dialogs are in
// framework/dialogs.h.
#pragma once

#include "framework/buttons.h"
#include "framework/graphic_controls.h"
#include "framework/drive_directory_lists.h"
#include "framework/edits.h"
#include "framework/lists.h"
#include "framework/pages.h"
#include "framework/panels.h"
#include "framework/progress_bar.h"
