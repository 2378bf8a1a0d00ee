#ifndef VQ_DISPLAY_WINDOWPROBE_H
#define VQ_DISPLAY_WINDOWPROBE_H

namespace vq {
namespace priv {

// Connects to the window system, if there is one to connect to, and keeps
// the connection for its lifetime. SFML ends the process when it cannot
// reach the X server, so the display asks first, and holds this connection
// while SFML opens its own: a connection opened right after another closed
// is sometimes refused for a moment ("resource temporarily unavailable"),
// which the probe rides out by trying again and SFML would not survive.
class WindowSystemProbe {
public:
    WindowSystemProbe();
    ~WindowSystemProbe();
    WindowSystemProbe(const WindowSystemProbe&) = delete;
    WindowSystemProbe& operator=(const WindowSystemProbe&) = delete;

    bool reachable() const;
    // Bits per pixel of the default screen; 0 when not known.
    unsigned depth() const;
    // False where the engine was built without the X11 check: then reachable()
    // is always true and a missing server is left to SFML.
    static bool checks();

private:
    void* m_p_connection;
    bool m_reachable;
    unsigned m_depth;
};

} // namespace priv
} // namespace vq

#endif
