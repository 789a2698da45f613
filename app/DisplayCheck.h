#pragma once

#include <QString>

// Without a display Qt ends the program inside QApplication's constructor with an abort that
// reads like a broken install. Checked before that constructor: the one line to print when no
// window system can be reached and none was chosen, or an empty text when the program can start.
QString missingDisplayMessage(int argc, const char *const argv[]);
