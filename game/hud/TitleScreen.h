#ifndef CORNFIELD_HUD_TITLESCREEN_H
#define CORNFIELD_HUD_TITLESCREEN_H

#include <velloq/world/Object.h>

// The picture between games, with the lounge music. After a lost game it
// shows the game-over picture for 90 steps first. SPACE removes it.
class TitleScreen : public vq::Object {
public:
    TitleScreen();

    // Always 0: the same key press also starts the game in the day keeper.
    int eventHandler(const vq::Event* p_e) override;

private:
    int m_countdown;
};

#endif
