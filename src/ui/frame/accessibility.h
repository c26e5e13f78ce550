#pragma once

// What a screen reader is told about the forms, beyond what each control's caption says.

// The forms are plain QWidgets shown as top-level windows. Qt gives a plain QWidget the role of
// a client area whether it is a window or not (AT-SPI reports it as a "filler"), and its Linux
// bridge announces only a window or a dialog as one. From this call on, a top-level window that
// Qt gives no role of its own is a window, and a dialog opened over the main form (a
// MainFormDialog) a dialog. Called before the first form is built; calling again does nothing.
void announceFormsAsWindows();
