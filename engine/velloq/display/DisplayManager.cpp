#include <velloq/display/DisplayManager.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include <SFML/Graphics.hpp>

#include <velloq/core/DataFolder.h>
#include <velloq/core/LogManager.h>
#include <velloq/display/CharacterBatch.h>
#include <velloq/display/ConvertColor.h>
#include <velloq/display/FrameCapture.h>
#include <velloq/display/FramePresenter.h>
#include <velloq/display/SfmlCompat.h>
#include <velloq/display/WindowProbe.h>

namespace vq {

namespace {

sf::Image* p_frame_capture = nullptr;
priv::FrameCounts frame_counts;
bool frame_reuse = true;

// Software GL drivers allocate the command lists of each frame anew and
// free them when it is shown; given back to the system every time, that
// memory is mapped in again page by page while the next frame is drawn.
void keepFreedMemoryForTheNextFrame() {
#if defined(__GLIBC__)
    mallopt(M_TRIM_THRESHOLD, 64 << 20);
#endif
}

// Why a font file that would not load failed: the system's reason when it
// cannot even be read.
std::string fontFailure(const char* path) {
    std::FILE* p_file = std::fopen(path, "rb");
    if (p_file == nullptr)
        return strerror(errno);
    std::fclose(p_file);
    return "not a font that can be read";
}

// The display the window was asked of, for the player to check.
std::string displayName() {
    const char* p_name = std::getenv("DISPLAY");
    return p_name != nullptr ? p_name : "";
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
    // The frame being drawn, and what puts it into the window.
    priv::CharacterBatch batch;
    priv::FramePresenter presenter;
    std::vector<DrawnCharacter> current_frame;
    std::vector<DrawnCharacter> last_frame;

    // Puts the frame into the window's hidden buffer the cheapest way.
    void compose(sf::RenderWindow& target);
};

void DisplayManager::Impl::compose(sf::RenderWindow& target) {
    switch (presenter.present(target, batch, frame_reuse)) {
    case priv::FramePresenter::DRAWN:
        frame_counts.drawn++;
        break;
    case priv::FramePresenter::UPDATED:
        frame_counts.updated++;
        break;
    case priv::FramePresenter::REUSED:
        frame_counts.reused++;
        break;
    }
}

DisplayManager::DisplayManager()
    : m_p_impl(new Impl), m_window_horizontal_pixels(WINDOW_HORIZONTAL_PIXELS_DEFAULT),
      m_window_vertical_pixels(WINDOW_VERTICAL_PIXELS_DEFAULT),
      m_window_horizontal_chars(WINDOW_HORIZONTAL_CHARS_DEFAULT),
      m_window_vertical_chars(WINDOW_VERTICAL_CHARS_DEFAULT), m_background_color(BLACK), m_headless(-1) {
    setType("DisplayManager");
}

DisplayManager::~DisplayManager() = default;

DisplayManager& DisplayManager::getInstance() {
    static DisplayManager instance;
    return instance;
}

void DisplayManager::setHeadless(bool headless) { m_headless = headless ? 1 : 0; }

bool DisplayManager::isHeadless() const {
    if (m_headless >= 0)
        return m_headless == 1;
    const char* p_value = std::getenv(HEADLESS_ENVIRONMENT_VARIABLE);
    return p_value != nullptr && *p_value != '\0' && std::strcmp(p_value, "0") != 0;
}

int DisplayManager::startUp() {
    if (isStarted())
        return 0;
    if (isHeadless()) {
        m_p_impl->current_frame.clear();
        LogManager::getInstance().writeLog(1, "Headless display: no window, nothing rasterised");
        return Manager::startUp();
    }
    // Start-up failures leave the player without a window: they are said on
    // stderr too, with what to look at.
    const LogManager& log = LogManager::getInstance();
    const std::string font_path = dataPath(FONT_FILE_DEFAULT);
    if (!priv::openFont(m_p_impl->font, font_path.c_str())) {
        std::error_code ignored;
        log.writeError("Failed to load font %s: %s", std::filesystem::absolute(font_path, ignored).c_str(),
                       fontFailure(font_path.c_str()).c_str());
        return -1;
    }
    // Held until SFML has its own connection.
    const priv::WindowSystemProbe probe;
    // A screen of 24 bits or more gets a window with an alpha channel, whose
    // pixels are stored like the kept picture's: the drivers copy that one as
    // a block of memory. A shallower screen gets its own depth.
    const unsigned depth = probe.depth() >= 24 ? 32 : probe.depth();
    if (probe.reachable())
        m_p_impl->window =
            priv::createWindow(static_cast<unsigned>(m_window_horizontal_pixels),
                               static_cast<unsigned>(m_window_vertical_pixels), depth, WINDOW_TITLE_DEFAULT);
    if (!m_p_impl->window || !m_p_impl->window->isOpen()) {
        m_p_impl->window.reset();
        const std::string name = displayName();
        if (name.empty())
            log.writeError("Failed to create window: no display to open it on (DISPLAY is not set)");
        else if (!probe.reachable())
            log.writeError("Failed to create window: cannot connect to display %s", name.c_str());
        else
            log.writeError("Failed to create window: display %s refused a %d x %d window", name.c_str(),
                           m_window_horizontal_pixels, m_window_vertical_pixels);
        return -1;
    }
    m_p_impl->window->setMouseCursorVisible(false);
    m_p_impl->window->setVerticalSyncEnabled(true);
    if (m_p_impl->icon.getSize().x > 0)
        priv::setIcon(*m_p_impl->window, m_p_impl->icon);
    keepFreedMemoryForTheNextFrame();
    m_p_impl->presenter.start();
    frame_counts = priv::FrameCounts();
    priv::CharacterBatch& batch = m_p_impl->batch;
    batch.setFont(&m_p_impl->font, characterSize());
    batch.setCellSize(charWidth(), charHeight());
    batch.setTargetSize(static_cast<unsigned>(m_window_horizontal_pixels),
                        static_cast<unsigned>(m_window_vertical_pixels));
    // What a new window holds is unknown until the first clear.
    batch.startFrameOverUnknown();
    m_p_impl->current_frame.clear();
    return Manager::startUp();
}

int DisplayManager::shutDown() {
    m_p_impl->presenter.stop();
    m_p_impl->batch.setFont(nullptr, 0);
    m_p_impl->font = sf::Font();
    if (m_p_impl->window) {
        m_p_impl->window->close();
        m_p_impl->window.reset();
    }
    return Manager::shutDown();
}

int DisplayManager::drawCh(Vector world_pos, char ch, Color color) const {
    if (!isStarted()) {
        LogManager::getInstance().writeLog(1, "Cannot draw character, window not created");
        return -1;
    }
    if (!m_p_impl->window) { // headless
        m_p_impl->current_frame.push_back(DrawnCharacter{world_pos, ch, color});
        return 0;
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
    if (!isStarted()) {
        LogManager::getInstance().writeLog(1, "Cannot swap buffers, window not created");
        return -1;
    }
    if (!m_p_impl->window) { // headless
        m_p_impl->last_frame.swap(m_p_impl->current_frame);
        m_p_impl->current_frame.clear();
        return 0;
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
    impl.batch.startFrame(convertColor(m_background_color));
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
