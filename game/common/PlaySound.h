#ifndef CORNFIELD_COMMON_PLAYSOUND_H
#define CORNFIELD_COMMON_PLAYSOUND_H

#include <string>

// Plays the sound with this label once; a label that is not loaded is skipped.
void playSound(const std::string& label);

// Called with the label of every sound the game asks for, loaded or not, so
// tests can follow the game's sounds without audio hardware. nullptr stops it.
using SoundObserver = void (*)(const std::string& label);
void setSoundObserver(SoundObserver observer);

#endif
