#pragma once

// Sets what every window of the program shares: a 9 pt Chinese font that fits every caption box,
// and message box buttons in the order Yes, No on every platform. Call once the QApplication
// exists and before any window is made.
void ApplyApplicationStyle();

// Picks the text engine that draws the font at its own widths on every platform, so that captions
// measure alike everywhere. Call before the QApplication exists.
void SelectFontEngine();
