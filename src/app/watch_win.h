// The boxes follow the desktop folder and the hidden store.
#pragma once

// Watches both folders (again, where one was missing or went away). Called at start and whenever
// the changes are taken up.
void StartFolderWatch();
// Lets go of every watched folder and forgets what waited (tests, between desktops of their own).
void StopFolderWatch();
// The main loop's wait: for messages, for a change in a watched folder, for the graphics device's
// removal, until the changes of a burst are due, or until boxes a failed draw left marked are to be
// drawn again. With nothing pending it waits for those events alone (no wake-up at all).
void WaitForMessagesOrChanges();
// From the main loop, with nothing held: once a burst of changes has quieted and the user is not
// in the middle of a resize or an item drag, the folders are listed again and the boxes rebuilt
// where a group changed. (Menus, dialogs and the move loop run loops of their own, which never come
// here: changes wait for their end.)
// True when changes were taken up (the boxes they changed are marked, not drawn yet).
bool FollowFolderChanges();
