// Where the Life task meets the engine. The task knows nothing of the GL
// window's settings and the engine nothing of the saver's: this link copies
// what the engine must follow of the task's settings (vertical sync, the
// clear colour, the monitor mode), answers the task's question of the
// output's size from the window settings and has the window tell the task
// when a display change gave that output a new size.
#pragma once

// Makes the program's link the task's host and copies the settings the
// engine starts with. After LoadSettings, before a run mode starts.
void ConnectTaskToEngine();
