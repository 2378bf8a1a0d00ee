#include <velloq/display/KeptFrame.h>

#include <string>

#include <SFML/OpenGL.hpp>
#include <SFML/Window/Context.hpp>

#include <velloq/display/SfmlCompat.h>

#ifndef GL_BGRA
#define GL_BGRA 0x80E1
#endif
#ifndef GL_DRAW_FRAMEBUFFER
#define GL_DRAW_FRAMEBUFFER 0x8CA9
#endif
#ifndef GL_FRAMEBUFFER_BINDING
#define GL_FRAMEBUFFER_BINDING 0x8CA6
#endif
#ifndef APIENTRY
#define APIENTRY
#endif

namespace vq {
namespace priv {

// The driver's framebuffer copy. Fetched from the driver, so the engine
// needs no GL library of its own.
struct KeptFrame::Copier {
    using BindFramebuffer = void(APIENTRY*)(GLenum, GLuint);
    using BlitFramebuffer = void(APIENTRY*)(GLint, GLint, GLint, GLint, GLint, GLint, GLint, GLint, GLbitfield, GLenum);
    using GetIntegerv = void(APIENTRY*)(GLenum, GLint*);
    BindFramebuffer bind = nullptr;
    BlitFramebuffer blit = nullptr;
    GetIntegerv getIntegerv = nullptr;
    GLint width = 0, height = 0;

    // In the window's context, which must be active.
    bool find(const sf::RenderWindow& window) {
        const char* suffix = nullptr;
        if (window.getSettings().majorVersion >= 3 || sf::Context::isExtensionAvailable("GL_ARB_framebuffer_object"))
            suffix = "";
        else if (sf::Context::isExtensionAvailable("GL_EXT_framebuffer_blit"))
            suffix = "EXT";
        if (suffix == nullptr)
            return false;
        bind = reinterpret_cast<BindFramebuffer>(function("glBindFramebuffer", suffix));
        blit = reinterpret_cast<BlitFramebuffer>(function("glBlitFramebuffer", suffix));
        getIntegerv = reinterpret_cast<GetIntegerv>(function("glGetIntegerv", ""));
        width = static_cast<GLint>(window.getSize().x);
        height = static_cast<GLint>(window.getSize().y);
        return bind != nullptr && blit != nullptr && getIntegerv != nullptr;
    }
    static sf::GlFunctionPointer function(const char* name, const char* suffix) {
        return sf::Context::getFunction((std::string(name) + suffix).c_str());
    }
};

namespace {

// Fetched from the driver like the copy.
using TexImage2D = void(APIENTRY*)(GLenum, GLint, GLint, GLsizei, GLsizei, GLint, GLenum, GLenum, const void*);

} // namespace

KeptFrame::KeptFrame() = default;
KeptFrame::~KeptFrame() = default;

bool KeptFrame::start(sf::RenderWindow& window) {
    stop();
    const unsigned width = window.getSize().x, height = window.getSize().y;
    std::unique_ptr<sf::RenderTexture> p_picture(new sf::RenderTexture);
    std::unique_ptr<Copier> p_copier(new Copier);
    if (!window.setActive(true) || !p_copier->find(window))
        return false;
    const auto window_context = sf::Context::getActiveContextId();
    if (!createRenderTexture(*p_picture, width, height) || !p_picture->setActive(true))
        return false;
    // Copied from as the framebuffer SFML binds for it in the window's
    // context; a render texture with a context of its own cannot be.
    GLint framebuffer = 0;
    p_copier->getIntegerv(GL_FRAMEBUFFER_BINDING, &framebuffer);
    if (framebuffer == 0 || sf::Context::getActiveContextId() != window_context)
        return false;
    // Stored blue first like the window's pixels, rather than in the
    // texture's default order: a driver that keeps a texture in the order
    // its pixels are given then draws into it exactly as it draws into the
    // window, and copies it to the window without converting pixels.
    const auto texImage2D = reinterpret_cast<TexImage2D>(sf::Context::getFunction("glTexImage2D"));
    if (texImage2D != nullptr) {
        sf::Texture::bind(&p_picture->getTexture());
        texImage2D(GL_TEXTURE_2D, 0, GL_RGBA, static_cast<GLsizei>(width), static_cast<GLsizei>(height), 0, GL_BGRA,
                   GL_UNSIGNED_BYTE, nullptr);
        sf::Texture::bind(nullptr);
    }
    // What the texture's SFML side recorded as bound no longer holds.
    p_picture->resetGLStates();
    if (!window.setActive(true))
        return false;
    // Rows top first, as the window stores them: the driver then rasterises
    // each quad at the same coordinates as in the window. A view turned
    // upside down does that: flipping negates coordinates exactly.
    sf::View view = p_picture->getDefaultView();
    view.setSize(sf::Vector2f(static_cast<float>(width), -static_cast<float>(height)));
    p_picture->setView(view);
    m_p_picture = std::move(p_picture);
    m_p_copier = std::move(p_copier);
    return true;
}

void KeptFrame::stop() {
    m_p_picture.reset();
    m_p_copier.reset();
}

sf::RenderTarget& KeptFrame::picture() { return *m_p_picture; }

bool KeptFrame::show(sf::RenderWindow& window) {
    // The picture's framebuffer is bound for reading (and drawing) in the
    // window's context, the window's own for drawing; the copy turns the
    // rows over, which leaves every row where the window keeps it. Then
    // SFML binds the window's framebuffer again and knows it is bound.
    if (!m_p_picture->setActive(true))
        return false;
    const Copier& copier = *m_p_copier;
    copier.bind(GL_DRAW_FRAMEBUFFER, 0);
    copier.blit(0, 0, copier.width, copier.height, 0, copier.height, copier.width, 0, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    return window.setActive(true);
}

} // namespace priv
} // namespace vq
