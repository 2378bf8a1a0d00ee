#ifndef CORNFIELD_MAIN_GAMEFILES_H
#define CORNFIELD_MAIN_GAMEFILES_H

#include <cstdio>
#include <string>

// The picture the window shows as its icon, in the data folder.
const char WINDOW_ICON_FILE[] = "icons/cornfield-64.png";

// Where the game's files are. The data (the font and the sprites, sounds and
// music folders) is read from the first of these that holds it:
// $CORNFIELD_DATA_DIR, the folder an install puts next to the executable
// (<prefix>/share/games/cornfield for <prefix>/games/cornfield), the working
// directory. Played from its data in the working directory, as in a source
// tree, the game logs to velloq.log there; otherwise it writes nothing there
// and logs to $XDG_STATE_HOME/cornfield/velloq.log (~/.local/state/...).
class GameFiles {
public:
    GameFiles();

    // Finds the data and tells the engine where to read it and where to log,
    // making the log's folder. False, with one line on err naming every
    // folder tried, when no folder holds the data or there is no place for
    // the log; a log folder that cannot be made is reported on err too, and
    // the log's start then fails.
    bool setUp(FILE* err);
    // Writes to the started log where the data was found.
    void report() const;

private:
    bool findData(FILE* err);
    bool placeLog(FILE* err);

    std::string m_data_folder; // as the engine is told: "" is the working directory
    std::string m_found;       // the folder as named to the player
    std::string m_log_file;
};

#endif
