#pragma once

// Qt's own file and colour dialogs keep their history and custom colours in the user's shared
// QtProject.conf. The editor keeps nothing between runs, so before the first such dialog is made
// their settings are sent to a folder of the program's own, removed again when the program ends.
// Does nothing after the first call; never called at start-up.
void keepDialogSettingsPrivate();
