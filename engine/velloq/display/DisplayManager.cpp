#include <velloq/display/DisplayManager.h>

#include <cmath>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include <SFML/Graphics.hpp>

#include <velloq/core/DataFolder.h>
#include <velloq/core/LogManager.h>
#include <velloq/display/CharacterBatch.h>
#include <velloq/display/ConvertColor.h>
#include <velloq/display/FrameCapture.h>
#include <velloq/display/FrameDiff.h>
#include <velloq/display/KeptFrame.h>
#include <velloq/display/SfmlCompat.h>
#include <velloq/display/WindowProbe.h>

namespace vq {

namespace {

sf::Image* p_frame_capture = nullptr;
priv::FrameCounts frame_counts;
bool frame_reuse = true;

// Copying the kept frame back to the window costs about as much as drawing
// quads over this many pixels (measured with the software renderer): a
// frame that changed little is brought up to date only when what changed
// costs less to draw than the whole frame, less this.
const double RESTORE_COST = 80000;

// Software GL drivers allocate the command lists of each frame anew and
// free them when it is shown; given back to the system every time, that
// memory is mapped in again page by page while the next frame is drawn.
void keepFreedMemoryForTheNextFrame() {
#if defined(__GLIBC__)
    mallopt(M_TRIM_THRESHOLD, 64 << 20);
#endif
}

} // namespace

void priv::setFrameCapture(sf::Image* p_image) { p_frame_capture = p_image; }
priv::FrameCounts priv::frameCounts() { return frame_counts; }
void priv::setFrameReuse(bool enabled) { frame_reuse = enabled; }

struct DisplayManager::Impl {
    std::unique_ptr<sf::RenderWindow> window;
    sf::Font font;
    // Kept for windows opened later; empty while none was set.
    sf::Image icon;
    // The frame being drawn, shown in one draw call by swapBuffers.
    priv::CharacterBatch batch;
    std::vector<DrawnCharacter> current_frame;
    std::vector<DrawnCharacter> last_frame;

    // The quads of the frame last shown and what it was drawn over.
    std::vector<priv::CharacterBatch::Quad> shown_quads;
    bool shown_clear_known = false;
    sf::Color shown_clear;
    priv::KeptFrame kept;
    priv::FrameDiff diff;

    // Puts the frame into the window's hidden buffer the cheapest way.
    void compose(sf::RenderWindow& target);
};

void DisplayManager::Impl::compose(sf::RenderWindow& target) {
    // What the frame starts from (the batch's clear colour); unknown for the
    // first frame of a new window. The window is cleared to it only when the
    // frame is drawn there whole: a kept picture covers it anyway.
    const bool clear_known = batch.clearColorKnown();
    const sf::Color clear_color = batch.clearColor();
    if (frame_reuse && kept.usable() && clear_known && shown_clear_known && shown_clear == clear_color) {
        // Worth it while frames change this little.
        if (diff.compare(shown_quads, batch.getQuads(), static_cast<int>(target.getSize().x),
                         static_cast<int>(target.getSize().y), RESTORE_COST)) {
            if (!kept.holds(clear_color)) {
                kept.picture().clear(clear_color);
                batch.draw(kept.picture());
                kept.keep(clear_color);
                frame_counts.drawn++;
            } else if (diff.unchanged()) {
                frame_counts.reused++;
            } else {
                batch.drawOver(kept.picture(), diff.erased(), clear_color, diff.redrawn());
                frame_counts.updated++;
            }
            kept.show(target);
            return;
        }
    }
    if (clear_known)
        target.clear(clear_color);
    batch.draw(target);
    frame_counts.drawn++;
    kept.forget();
}

DisplayManager::DisplayManager()
    : m_p_impl(new Impl), m_window_horizontal_pixels(WINDOW_HORIZONTAL_PIXELS_DEFAULT),
      m_window_vertical_pixels(WINDOW_VERTICAL_PIXELS_DEFAULT),
      m_window_horizontal_chars(WINDOW_HORIZONTAL_CHARS_DEFAULT),
      m_window_vertical_chars(WINDOW_VERTICAL_CHARS_DEFAULT), m_background_color(BLACK) {
    setType("DisplayManager");
}

DisplayManager::~DisplayManager() = default;

DisplayManager& DisplayManager::getInstance() {
    static DisplayManager instance;
    return instance;
}

int DisplayManager::startUp() {
    if (m_p_impl->window)
        return 0;
    if (!priv::openFont(m_p_impl->font, dataPath(FONT_FILE_DEFAULT).c_str())) {
        LogManager::getInstance().writeLog(1, "Failed to load font");
        return -1;
    }
    // Held until SFML has its own connection.
    const priv::WindowSystemProbe probe;
    if (probe.reachable())
        m_p_impl->window = priv::createWindow(static_cast<unsigned>(m_window_horizontal_pixels),
                                              static_cast<unsigned>(m_window_vertical_pixels), WINDOW_TITLE_DEFAULT);
    if (!m_p_impl->window || !m_p_impl->window->isOpen()) {
        m_p_impl->window.reset();
        LogManager::getInstance().writeLog(1, "Failed to create window");
        return -1;
    }
    m_p_impl->window->setMouseCursorVisible(false);
    m_p_impl->window->setVerticalSyncEnabled(true);
    if (m_p_impl->icon.getSize().x > 0)
        priv::setIcon(*m_p_impl->window, m_p_impl->icon);
    keepFreedMemoryForTheNextFrame();
    if (!m_p_impl->kept.start(*m_p_impl->window))
        LogManager::getInstance().writeLog(1, "Cannot keep the frame shown, every frame is drawn whole");
    frame_counts = priv::FrameCounts();
    priv::CharacterBatch& batch = m_p_impl->batch;
    batch.setFont(&m_p_impl->font, characterSize());
    batch.setCellSize(charWidth(), charHeight());
    batch.setTargetSize(static_cast<unsigned>(m_window_horizontal_pixels),
                        static_cast<unsigned>(m_window_vertical_pixels));
    // What a new window holds is unknown until the first clear.
    batch.forgetClearColor();
    m_p_impl->shown_clear_known = false;
    m_p_impl->current_frame.clear();
    return Manager::startUp();
}

int DisplayManager::shutDown() {
    m_p_impl->kept.stop();
    m_p_impl->batch.setFont(nullptr, 0);
    m_p_impl->font = sf::Font();
    if (m_p_impl->window) {
        m_p_impl->window->close();
        m_p_impl->window.reset();
    }
    return Manager::shutDown();
}

int DisplayManager::drawCh(Vector world_pos, char ch, Color color) const {
    if (!m_p_impl->window) {
        LogManager::getInstance().writeLog(1, "Cannot draw character, window not created");
        return -1;
    }
    const Vector p = spacesToPixels(world_pos);
    m_p_impl->batch.add(p.getX(), p.getY(), ch, convertColor(color), convertColor(m_background_color));
    m_p_impl->current_frame.push_back(DrawnCharacter{world_pos, ch, color});
    return 0;
}

int DisplayManager::drawString(Vector world_pos, std::string str, Justification just, Color color) const {
    Vector start = world_pos;
    const float length = static_cast<float>(str.size());
    if (just == JUSTIFY_CENTER)
        start.setX(world_pos.getX() - length / 2);
    else if (just == JUSTIFY_RIGHT)
        start.setX(world_pos.getX() - length);
    for (std::size_t i = 0; i < str.size(); i++)
        if (drawCh(Vector(start.getX() + static_cast<float>(i), start.getY()), str[i], color) != 0)
            return -1;
    return 0;
}

int DisplayManager::setWindowIcon(const std::string& image_file) {
    const std::string path = dataPath(image_file);
    sf::Image icon;
    if (!icon.loadFromFile(path) || icon.getSize().x == 0 || icon.getSize().y == 0) {
        LogManager::getInstance().writeLog(1, "Failed to load window icon '%s'", path.c_str());
        return -1;
    }
    m_p_impl->icon = icon;
    if (m_p_impl->window)
        priv::setIcon(*m_p_impl->window, m_p_impl->icon);
    return 0;
}

bool DisplayManager::setBackgroundColor(Color new_color) {
    m_background_color = new_color;
    return true;
}

int DisplayManager::swapBuffers() {
    if (!m_p_impl->window) {
        LogManager::getInstance().writeLog(1, "Cannot swap buffers, window not created");
        return -1;
    }
    sf::RenderWindow& window = *m_p_impl->window;
    Impl& impl = *m_p_impl;
    impl.compose(window);
    if (p_frame_capture != nullptr) {
        sf::Texture copy;
        if (priv::createTexture(copy, window.getSize().x, window.getSize().y)) {
            copy.update(window);
            *p_frame_capture = copy.copyToImage();
        }
    }
    window.display();
    // The queue is emptied next anyway: take it rather than copy it.
    impl.batch.takeQuads(impl.shown_quads);
    impl.shown_clear = impl.batch.clearColor();
    impl.shown_clear_known = impl.batch.clearColorKnown();
    impl.batch.clear();
    impl.batch.setClearColor(convertColor(m_background_color));
    m_p_impl->last_frame.swap(m_p_impl->current_frame);
    m_p_impl->current_frame.clear();
    return 0;
}

int DisplayManager::getHorizontal() const { return m_window_horizontal_chars; }
int DisplayManager::getVertical() const { return m_window_vertical_chars; }
int DisplayManager::getHorizontalPixels() const { return m_window_horizontal_pixels; }
int DisplayManager::getVerticalPixels() const { return m_window_vertical_pixels; }
sf::RenderWindow* DisplayManager::getWindow() const { return m_p_impl->window.get(); }

unsigned DisplayManager::characterSize() const { return static_cast<unsigned>(2 * charWidth()); }

const std::vector<DrawnCharacter>& DisplayManager::getCurrentFrame() const { return m_p_impl->current_frame; }
const std::vector<DrawnCharacter>& DisplayManager::getLastFrame() const { return m_p_impl->last_frame; }

std::string DisplayManager::lastFrameAsText() const {
    return framedAsText(m_p_impl->last_frame, m_window_horizontal_chars, m_window_vertical_chars);
}

std::string DisplayManager::framedAsText(const std::vector<DrawnCharacter>& frame, int columns, int rows) {
    if (columns <= 0 || rows <= 0)
        return std::string();
    std::string text(static_cast<std::size_t>(rows) * static_cast<std::size_t>(columns + 1), ' ');
    for (int r = 0; r < rows; r++)
        text[static_cast<std::size_t>(r) * static_cast<std::size_t>(columns + 1) + static_cast<std::size_t>(columns)] =
            '\n';
    text.pop_back();
    for (const DrawnCharacter& drawn : frame) {
        const double col = std::floor(static_cast<double>(drawn.position.getX()) + 0.5);
        const double row = std::floor(static_cast<double>(drawn.position.getY()) + 0.5);
        if (!(col >= 0 && row >= 0 && col < columns && row < rows))
            continue; // off the grid, or not a number
        text[static_cast<std::size_t>(row) * static_cast<std::size_t>(columns + 1) + static_cast<std::size_t>(col)] =
            drawn.ch;
    }
    return text;
}

sf::Color convertColor(Color color) {
    // clang-format off
    switch (color) {
    case BLACK: return sf::Color::Black;
    case RED: return sf::Color::Red;
    case GREEN: return sf::Color::Green;
    case YELLOW: return sf::Color::Yellow;
    case BLUE: return sf::Color::Blue;
    case MAGENTA: return sf::Color::Magenta;
    case CYAN: return sf::Color::Cyan;
    default: return sf::Color::White;
    }
    // clang-format on
}

float charWidth() {
    const DisplayManager& d = DisplayManager::getInstance();
    return static_cast<float>(d.getHorizontalPixels()) / static_cast<float>(d.getHorizontal());
}

float charHeight() {
    const DisplayManager& d = DisplayManager::getInstance();
    return static_cast<float>(d.getVerticalPixels()) / static_cast<float>(d.getVertical());
}

Vector spacesToPixels(Vector spaces) { return Vector(spaces.getX() * charWidth(), spaces.getY() * charHeight()); }

Vector pixelsToSpaces(Vector pixels) { return Vector(pixels.getX() / charWidth(), pixels.getY() / charHeight()); }

} // namespace vq
