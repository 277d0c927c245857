// A settings file that another program held at start is read as soon as it lets go of it.
#pragma once

// At the end of start-up: when the INI file could not be read, looks again twice a second.
void WatchUnreadIni();
// The look: when the file can be read now, the lists, settings and stored places are read, the
// boxes are made again at the stored places, and only then is anything written (what the user
// decided meanwhile included). False while it is still held, or while boxes are in use.
bool ReadIniOnceFree();
