#ifndef CORNFIELD_FLOW_RUNOBJECTS_H
#define CORNFIELD_FLOW_RUNOBJECTS_H

class DayKeeper;

// Creates the six objects that live for the whole run, in this order: title
// screen, reticle, day keeper, time text, money text, day text. Events reach
// objects in world order, so the title screen hears a key press before the
// day keeper does. The world owns them; the day keeper is returned for
// callers that drive the game directly.
DayKeeper* createRunObjects();

#endif
