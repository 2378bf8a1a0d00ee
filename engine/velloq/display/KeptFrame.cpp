#include <velloq/display/KeptFrame.h>

#include <SFML/OpenGL.hpp>

#include <velloq/display/SfmlCompat.h>

#ifndef GL_BGRA
#define GL_BGRA 0x80E1
#endif
#ifndef APIENTRY
#define APIENTRY
#endif

namespace vq {
namespace priv {

namespace {

// Texels as they are: with no blending, the window gets the copy exactly.
const char* const COPY_SHADER = "uniform sampler2D picture;\n"
                                "void main() { gl_FragColor = texture2D(picture, gl_TexCoord[0].xy); }\n";

// Fetched from the driver, so the engine needs no GL library of its own.
using TexImage2D = void(APIENTRY*)(GLenum, GLint, GLint, GLsizei, GLsizei, GLint, GLenum, GLenum, const void*);

} // namespace

KeptFrame::KeptFrame() : m_usable(false), m_kept(false), m_clear() {}

bool KeptFrame::start(sf::RenderWindow& window) {
    stop();
    const unsigned width = window.getSize().x, height = window.getSize().y;
    if (!sf::Shader::isAvailable())
        return false;
    std::unique_ptr<sf::Shader> p_shader(new sf::Shader);
    std::unique_ptr<sf::RenderTexture> p_picture(new sf::RenderTexture);
    if (!p_shader->loadFromMemory(COPY_SHADER, sf::Shader::Type::Fragment) ||
        !createRenderTexture(*p_picture, width, height) || !p_picture->setActive(true))
        return false;
    p_shader->setUniform("picture", sf::Shader::CurrentTexture);
    // Stored blue first like the window's pixels, rather than in the
    // texture's default order: a driver that keeps a texture in the order
    // its pixels are given then draws into it, and copies it to the window,
    // exactly as it draws into the window, and without converting pixels.
    const auto texImage2D = reinterpret_cast<TexImage2D>(sf::Context::getFunction("glTexImage2D"));
    if (texImage2D != nullptr) {
        sf::Texture::bind(&p_picture->getTexture());
        texImage2D(GL_TEXTURE_2D, 0, GL_RGBA, static_cast<GLsizei>(width), static_cast<GLsizei>(height), 0, GL_BGRA,
                   GL_UNSIGNED_BYTE, nullptr);
        sf::Texture::bind(nullptr);
    }
    // What the texture's SFML side recorded as bound no longer holds.
    p_picture->resetGLStates();
    if (!p_picture->setActive(false) || !window.setActive(true))
        return false;
    // Rows top first, as the window stores them: the driver then rasterises
    // each quad at the same coordinates as in the window. A view turned
    // upside down does that: flipping negates coordinates exactly.
    const sf::Vector2f size(static_cast<float>(width), static_cast<float>(height));
    sf::View view = p_picture->getDefaultView();
    view.setSize(sf::Vector2f(size.x, -size.y));
    p_picture->setView(view);
    // Shown the other way up again: the texture's rows count from the bottom.
    const sf::Vector2f corners[6] = {{0, 0}, {size.x, 0}, {0, size.y}, {0, size.y}, {size.x, 0}, size};
    for (int i = 0; i < 6; i++)
        m_corners[i] = sf::Vertex{corners[i], sf::Color::White, sf::Vector2f(corners[i].x, size.y - corners[i].y)};
    m_p_shader = std::move(p_shader);
    m_p_picture = std::move(p_picture);
    m_usable = true;
    return true;
}

void KeptFrame::stop() {
    m_usable = false;
    m_kept = false;
    m_p_picture.reset();
    m_p_shader.reset();
}

sf::RenderTarget& KeptFrame::picture() { return *m_p_picture; }

void KeptFrame::keep(sf::Color clear) {
    m_kept = true;
    m_clear = clear;
}

void KeptFrame::show(sf::RenderTarget& window) {
    m_p_picture->display();
    sf::RenderStates states;
    states.blendMode = sf::BlendNone;
    states.texture = &m_p_picture->getTexture();
    states.shader = m_p_shader.get();
    window.draw(m_corners, 6, TRIANGLES, states);
}

} // namespace priv
} // namespace vq
