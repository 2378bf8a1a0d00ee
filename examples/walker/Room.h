#ifndef WALKER_ROOM_H
#define WALKER_ROOM_H

// What the game is made of, shared by the program (main.cpp) and its test.

// Where the room's top-left cell sits in the 80 x 24 grid.
const int ROOM_LEFT = 20;
const int ROOM_TOP = 5;

// Loads the sprites and the sound, each under its label; 0, or -1 when one
// is missing or broken (the log says which).
int loadResources();
// Makes the walls and the hero of the room.
void buildRoom();

#endif
