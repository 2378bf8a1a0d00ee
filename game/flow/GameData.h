#ifndef CORNFIELD_FLOW_GAMEDATA_H
#define CORNFIELD_FLOW_GAMEDATA_H

// Starts the log and the resource store and loads the whole resource table,
// all before the engine opens its window (the game manager's start-up leaves
// managers already started as they are). A damaged install is so refused
// without a window: every file that failed to load is named on stderr and in
// the log. 0 when all loaded; -1 when the game must not start.
int loadGameData();

#endif
