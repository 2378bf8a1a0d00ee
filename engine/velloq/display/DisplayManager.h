#ifndef VQ_DISPLAY_DISPLAYMANAGER_H
#define VQ_DISPLAY_DISPLAYMANAGER_H

#include <memory>
#include <string>
#include <vector>

#include <velloq/core/Manager.h>
#include <velloq/core/Vector.h>
#include <velloq/display/Color.h>
#include <velloq/display/Justification.h>

namespace sf {
class RenderWindow;
class Color;
} // namespace sf

namespace vq {

const char WINDOW_TITLE_DEFAULT[] = "Velloq";
// Read from the data folder (core/DataFolder.h), the working directory unless set.
const char FONT_FILE_DEFAULT[] = "vq-font.ttf";
const int WINDOW_HORIZONTAL_PIXELS_DEFAULT = 1024;
const int WINDOW_VERTICAL_PIXELS_DEFAULT = 768;
const int WINDOW_HORIZONTAL_CHARS_DEFAULT = 80;
const int WINDOW_VERTICAL_CHARS_DEFAULT = 24;
// Set to 1 in the environment, it starts the display headless unless the
// program chose otherwise with setHeadless().
const char HEADLESS_ENVIRONMENT_VARIABLE[] = "VQ_HEADLESS";

// One character as drawn in a frame: what tests read instead of pixels.
struct DrawnCharacter {
    Vector position; // in cells, as passed to drawCh
    char ch;
    Color color;
};

// Owns the window and draws the game as coloured characters on a grid of
// cells. The characters of a frame are collected and drawn in one batch when
// the frame is shown.
class DisplayManager : public Manager {
public:
    static DisplayManager& getInstance();
    ~DisplayManager() override;

    int startUp() override;
    int shutDown() override;

    // Headless, the display opens no window, loads no font and needs no
    // window system: characters are kept in the frames below and never
    // rasterised; the loop, lastFrameAsText() and input injected through the
    // InputManager work as usual. Chosen before startUp (it takes effect at
    // the next one); without a choice, VQ_HEADLESS=1 in the environment
    // chooses it.
    void setHeadless(bool headless);
    bool isHeadless() const;

    // Draws ch over an opaque block of the background colour; 0 or -1.
    int drawCh(Vector world_pos, char ch, Color color) const;
    int drawString(Vector world_pos, std::string str, Justification just, Color color) const;
    // The window's icon, from an image file (PNG, BMP, TGA, ...) read now from
    // the data folder; shown at once, or when the window opens. 0, or -1 with
    // the reason in the log, and the window keeps the icon it had.
    int setWindowIcon(const std::string& image_file);
    // Changes the clear colour and the blocks behind characters; always true.
    bool setBackgroundColor(Color new_color);
    // Shows the frame drawn since the last call, then starts an empty one.
    int swapBuffers();

    int getHorizontal() const;
    int getVertical() const;
    int getHorizontalPixels() const;
    int getVerticalPixels() const;
    // nullptr before startUp.
    sf::RenderWindow* getWindow() const;

    // Characters drawn so far in the frame being built, and in the last frame
    // shown, in drawing order.
    const std::vector<DrawnCharacter>& getCurrentFrame() const;
    const std::vector<DrawnCharacter>& getLastFrame() const;
    // The last frame shown as getVertical() lines of getHorizontal()
    // characters joined by '\n'; each cell holds the character drawn last
    // whose position rounds to it, or a space.
    std::string lastFrameAsText() const;
    static std::string framedAsText(const std::vector<DrawnCharacter>& frame, int columns, int rows);

private:
    DisplayManager();
    // Glyph size in pixels: the whole part of two cell widths.
    unsigned characterSize() const;

    struct Impl;
    std::unique_ptr<Impl> m_p_impl;
    int m_window_horizontal_pixels;
    int m_window_vertical_pixels;
    int m_window_horizontal_chars;
    int m_window_vertical_chars;
    Color m_background_color;
    int m_headless; // -1 until the program chooses
};

// Cell size in pixels (12.8 x 32 for the default window); valid at any time.
float charWidth();
float charHeight();
Vector spacesToPixels(Vector spaces);
Vector pixelsToSpaces(Vector pixels);

} // namespace vq

#endif
