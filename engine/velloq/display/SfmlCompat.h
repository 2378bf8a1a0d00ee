#ifndef VQ_DISPLAY_SFMLCOMPAT_H
#define VQ_DISPLAY_SFMLCOMPAT_H

// Private to the display, input and audio sources (and the tests and
// benchmarks that look inside them). Every difference between SFML 2.5/2.6
// and SFML 3 lives here, so everything else is written once against these
// helpers.

#include <cstdint>
#include <memory>
#include <string>

#include <SFML/Audio.hpp>
#include <SFML/Graphics.hpp>
#include <SFML/Window.hpp>

#if SFML_VERSION_MAJOR >= 3
#include <optional>
#else
#include <AL/alc.h>
#endif

namespace vq {
namespace priv {

// The backquote key and the quote key were renamed in SFML 2.6.
#if SFML_VERSION_MAJOR >= 3 || (SFML_VERSION_MAJOR == 2 && SFML_VERSION_MINOR >= 6)
const sf::Keyboard::Key KEY_GRAVE = sf::Keyboard::Key::Grave;
const sf::Keyboard::Key KEY_APOSTROPHE = sf::Keyboard::Key::Apostrophe;
#else
const sf::Keyboard::Key KEY_GRAVE = sf::Keyboard::Key::Tilde;
const sf::Keyboard::Key KEY_APOSTROPHE = sf::Keyboard::Key::Quote;
#endif

// Text drawing in SFML 3 leaves control characters (below 32, and 127) out;
// SFML 2 draws the font's glyph for them.
#if SFML_VERSION_MAJOR >= 3
const bool TEXT_DRAWS_CONTROL_CHARACTERS = false;
#else
const bool TEXT_DRAWS_CONTROL_CHARACTERS = true;
#endif

// A window event reduced to the fields the engine reads.
struct WindowEvent {
    enum Kind { OTHER, CLOSED, KEY_PRESSED, KEY_RELEASED, MOUSE_MOVED, MOUSE_BUTTON_PRESSED, MOUSE_BUTTON_RELEASED };
    Kind kind = OTHER;
    sf::Keyboard::Key key = sf::Keyboard::Key::Unknown;
    sf::Mouse::Button button = sf::Mouse::Button::Left;
    int x = 0; // pixels, for mouse events
    int y = 0;
};

#if SFML_VERSION_MAJOR >= 3

inline float rectLeft(const sf::FloatRect& r) { return r.position.x; }
inline float rectTop(const sf::FloatRect& r) { return r.position.y; }
inline float rectWidth(const sf::FloatRect& r) { return r.size.x; }
inline float rectHeight(const sf::FloatRect& r) { return r.size.y; }
inline int rectLeft(const sf::IntRect& r) { return r.position.x; }
inline int rectTop(const sf::IntRect& r) { return r.position.y; }
inline int rectWidth(const sf::IntRect& r) { return r.size.x; }
inline int rectHeight(const sf::IntRect& r) { return r.size.y; }

// Title bar and close button: not resizable, never full screen. The window
// takes the screen's depth (bits_per_pixel, 0 when unknown: the library's
// choice); one deeper than the screen is refused.
inline std::unique_ptr<sf::RenderWindow> createWindow(unsigned width, unsigned height, unsigned bits_per_pixel,
                                                      const char* title) {
    const sf::VideoMode mode =
        bits_per_pixel > 0 ? sf::VideoMode({width, height}, bits_per_pixel) : sf::VideoMode({width, height});
    return std::make_unique<sf::RenderWindow>(mode, title, sf::Style::Titlebar | sf::Style::Close, sf::State::Windowed);
}

inline bool openFont(sf::Font& font, const char* path) { return font.openFromFile(path); }

inline void setIcon(sf::Window& window, const sf::Image& image) {
    window.setIcon(image.getSize(), image.getPixelsPtr());
}

inline sf::Text makeText(const sf::Font& font, const sf::String& str, unsigned size) {
    return sf::Text(font, str, size);
}

inline bool createRenderTexture(sf::RenderTexture& texture, unsigned width, unsigned height) {
    return texture.resize({width, height});
}

inline bool createTexture(sf::Texture& texture, unsigned width, unsigned height) {
    return texture.resize({width, height});
}

inline sf::Color pixelAt(const sf::Image& image, unsigned x, unsigned y) { return image.getPixel({x, y}); }

// The X window id, as xdotool names the window.
inline unsigned long nativeWindowId(const sf::Window& window) {
    return static_cast<unsigned long>(window.getNativeHandle());
}

// Quads are gone in SFML 3: every quad is two triangles.
const sf::PrimitiveType TRIANGLES = sf::PrimitiveType::Triangles;

inline WindowEvent describeEvent(const sf::Event& event) {
    WindowEvent out;
    if (event.is<sf::Event::Closed>()) {
        out.kind = WindowEvent::CLOSED;
    } else if (const auto* p = event.getIf<sf::Event::KeyPressed>()) {
        out.kind = WindowEvent::KEY_PRESSED;
        out.key = p->code;
    } else if (const auto* p = event.getIf<sf::Event::KeyReleased>()) {
        out.kind = WindowEvent::KEY_RELEASED;
        out.key = p->code;
    } else if (const auto* p = event.getIf<sf::Event::MouseMoved>()) {
        out.kind = WindowEvent::MOUSE_MOVED;
        out.x = p->position.x;
        out.y = p->position.y;
    } else if (const auto* p = event.getIf<sf::Event::MouseButtonPressed>()) {
        out.kind = WindowEvent::MOUSE_BUTTON_PRESSED;
        out.button = p->button;
        out.x = p->position.x;
        out.y = p->position.y;
    } else if (const auto* p = event.getIf<sf::Event::MouseButtonReleased>()) {
        out.kind = WindowEvent::MOUSE_BUTTON_RELEASED;
        out.button = p->button;
        out.x = p->position.x;
        out.y = p->position.y;
    }
    return out;
}

// Calls handle(const sf::Event&) for every pending event, in arrival order.
template <typename Handler> void forEachPendingEvent(sf::Window& window, Handler handle) {
    while (const std::optional<sf::Event> event = window.pollEvent())
        handle(*event);
}

// Made-up events, for tests.
inline sf::Event makeClosedEvent() { return sf::Event(sf::Event::Closed{}); }
inline sf::Event makeKeyEvent(bool pressed, sf::Keyboard::Key key) {
    if (pressed) {
        sf::Event::KeyPressed e{};
        e.code = key;
        return sf::Event(e);
    }
    sf::Event::KeyReleased e{};
    e.code = key;
    return sf::Event(e);
}
inline sf::Event makeMouseMovedEvent(int x, int y) {
    sf::Event::MouseMoved e{};
    e.position = {x, y};
    return sf::Event(e);
}
inline sf::Event makeMouseButtonEvent(bool pressed, sf::Mouse::Button button, int x, int y) {
    if (pressed) {
        sf::Event::MouseButtonPressed e{};
        e.button = button;
        e.position = {x, y};
        return sf::Event(e);
    }
    sf::Event::MouseButtonReleased e{};
    e.button = button;
    e.position = {x, y};
    return sf::Event(e);
}
inline sf::Event makeFocusLostEvent() { return sf::Event(sf::Event::FocusLost{}); }

#else // SFML 2.5 / 2.6

inline float rectLeft(const sf::FloatRect& r) { return r.left; }
inline float rectTop(const sf::FloatRect& r) { return r.top; }
inline float rectWidth(const sf::FloatRect& r) { return r.width; }
inline float rectHeight(const sf::FloatRect& r) { return r.height; }
inline int rectLeft(const sf::IntRect& r) { return r.left; }
inline int rectTop(const sf::IntRect& r) { return r.top; }
inline int rectWidth(const sf::IntRect& r) { return r.width; }
inline int rectHeight(const sf::IntRect& r) { return r.height; }

// Title bar and close button: not resizable, never full screen. The window
// takes the screen's depth (bits_per_pixel, 0 when unknown: the library's
// choice); one deeper than the screen is refused.
inline std::unique_ptr<sf::RenderWindow> createWindow(unsigned width, unsigned height, unsigned bits_per_pixel,
                                                      const char* title) {
    const sf::VideoMode mode =
        bits_per_pixel > 0 ? sf::VideoMode(width, height, bits_per_pixel) : sf::VideoMode(width, height);
    return std::unique_ptr<sf::RenderWindow>(new sf::RenderWindow(mode, title, sf::Style::Titlebar | sf::Style::Close));
}

inline bool openFont(sf::Font& font, const char* path) { return font.loadFromFile(path); }

inline void setIcon(sf::Window& window, const sf::Image& image) {
    window.setIcon(image.getSize().x, image.getSize().y, image.getPixelsPtr());
}

inline sf::Text makeText(const sf::Font& font, const sf::String& str, unsigned size) {
    return sf::Text(str, font, size);
}

inline bool createRenderTexture(sf::RenderTexture& texture, unsigned width, unsigned height) {
    return texture.create(width, height);
}

inline bool createTexture(sf::Texture& texture, unsigned width, unsigned height) {
    return texture.create(width, height);
}

inline sf::Color pixelAt(const sf::Image& image, unsigned x, unsigned y) { return image.getPixel(x, y); }

inline unsigned long nativeWindowId(const sf::Window& window) {
    return static_cast<unsigned long>(window.getSystemHandle());
}

const sf::PrimitiveType TRIANGLES = sf::Triangles;

inline WindowEvent describeEvent(const sf::Event& event) {
    WindowEvent out;
    switch (event.type) {
    case sf::Event::Closed:
        out.kind = WindowEvent::CLOSED;
        break;
    case sf::Event::KeyPressed:
    case sf::Event::KeyReleased:
        out.kind = event.type == sf::Event::KeyPressed ? WindowEvent::KEY_PRESSED : WindowEvent::KEY_RELEASED;
        out.key = event.key.code;
        break;
    case sf::Event::MouseMoved:
        out.kind = WindowEvent::MOUSE_MOVED;
        out.x = event.mouseMove.x;
        out.y = event.mouseMove.y;
        break;
    case sf::Event::MouseButtonPressed:
    case sf::Event::MouseButtonReleased:
        out.kind = event.type == sf::Event::MouseButtonPressed ? WindowEvent::MOUSE_BUTTON_PRESSED
                                                               : WindowEvent::MOUSE_BUTTON_RELEASED;
        out.button = event.mouseButton.button;
        out.x = event.mouseButton.x;
        out.y = event.mouseButton.y;
        break;
    default:
        break;
    }
    return out;
}

// Calls handle(const sf::Event&) for every pending event, in arrival order.
template <typename Handler> void forEachPendingEvent(sf::Window& window, Handler handle) {
    sf::Event event;
    while (window.pollEvent(event))
        handle(static_cast<const sf::Event&>(event));
}

// Made-up events, for tests.
inline sf::Event makeClosedEvent() {
    sf::Event e{};
    e.type = sf::Event::Closed;
    return e;
}
inline sf::Event makeKeyEvent(bool pressed, sf::Keyboard::Key key) {
    sf::Event e{};
    e.type = pressed ? sf::Event::KeyPressed : sf::Event::KeyReleased;
    e.key.code = key;
    return e;
}
inline sf::Event makeMouseMovedEvent(int x, int y) {
    sf::Event e{};
    e.type = sf::Event::MouseMoved;
    e.mouseMove.x = x;
    e.mouseMove.y = y;
    return e;
}
inline sf::Event makeMouseButtonEvent(bool pressed, sf::Mouse::Button button, int x, int y) {
    sf::Event e{};
    e.type = pressed ? sf::Event::MouseButtonPressed : sf::Event::MouseButtonReleased;
    e.mouseButton.button = button;
    e.mouseButton.x = x;
    e.mouseButton.y = y;
    return e;
}
inline sf::Event makeFocusLostEvent() {
    sf::Event e{};
    e.type = sf::Event::LostFocus;
    return e;
}

#endif

// Audio. SFML 2 plays through OpenAL Soft, SFML 3 through miniaudio (which
// tries PulseAudio first on Linux, then ALSA).
const bool AUDIO_THROUGH_OPENAL = SFML_VERSION_MAJOR < 3;
#if SFML_VERSION_MAJOR >= 3
template <typename Playable> inline void setLooping(Playable& playable, bool loop) { playable.setLooping(loop); }
template <typename Playable> bool isLooping(const Playable& playable) { return playable.isLooping(); }
inline const sf::SoundBuffer* soundBufferOf(const sf::Sound& sound) { return &sound.getBuffer(); }
// SFML 3 opens its device with its first audio object. When that fails it
// has no audio engine and names no device; each sound then complains and
// plays nothing, so nothing is played then.
inline bool audioDeviceAvailable() { return sf::PlaybackDevice::getDevice().has_value(); }
#else
inline void setLooping(sf::Sound& sound, bool loop) { sound.setLoop(loop); }
inline void setLooping(sf::SoundStream& stream, bool loop) { stream.setLoop(loop); }
template <typename Playable> bool isLooping(const Playable& playable) { return playable.getLoop(); }
inline const sf::SoundBuffer* soundBufferOf(const sf::Sound& sound) { return sound.getBuffer(); }
// SFML 2 opens its device with its first audio object. Without one it keeps
// every call failing, and a playing stream's thread spins reporting errors,
// so nothing may be played then.
inline bool audioDeviceAvailable() { return alcGetCurrentContext() != nullptr; }
#endif

} // namespace priv
} // namespace vq

#endif
