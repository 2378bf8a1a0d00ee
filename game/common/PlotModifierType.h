#ifndef CORNFIELD_COMMON_PLOTMODIFIERTYPE_H
#define CORNFIELD_COMMON_PLOTMODIFIERTYPE_H

// The tool the player holds, or the kind of a tool lying on the field.
enum PlotModifierType {
    WATERING_CAN = 0,
    FERTILIZER = 1,
    NO_MODIFIER = 2,
};

#endif
