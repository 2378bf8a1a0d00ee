#include <velloq/display/QuadPainter.h>

#include <velloq/display/SfmlCompat.h>

namespace vq {
namespace priv {

void QuadPainter::add(const Quad& q) {
    // The triangles text drawing uses: (top-left, top-right, bottom-left),
    // (bottom-left, top-right, bottom-right).
    const sf::Vertex top_left{sf::Vector2f(q.left, q.top), q.color, sf::Vector2f(q.u1, q.v1)};
    const sf::Vertex top_right{sf::Vector2f(q.right, q.top), q.color, sf::Vector2f(q.u2, q.v1)};
    const sf::Vertex bottom_left{sf::Vector2f(q.left, q.bottom), q.color, sf::Vector2f(q.u1, q.v2)};
    const sf::Vertex bottom_right{sf::Vector2f(q.right, q.bottom), q.color, sf::Vector2f(q.u2, q.v2)};
    m_vertices.push_back(top_left);
    m_vertices.push_back(top_right);
    m_vertices.push_back(bottom_left);
    m_vertices.push_back(bottom_left);
    m_vertices.push_back(top_right);
    m_vertices.push_back(bottom_right);
}

void QuadPainter::addAll(const std::vector<Quad>& quads) {
    m_vertices.reserve(m_vertices.size() + 6 * quads.size());
    for (const Quad& quad : quads)
        add(quad);
}

void QuadPainter::draw(sf::RenderTarget& target, const sf::Texture* p_texture) {
    if (!m_vertices.empty() && p_texture != nullptr) {
        sf::RenderStates states;
        states.texture = p_texture;
        target.draw(m_vertices.data(), m_vertices.size(), TRIANGLES, states);
    }
    m_vertices.clear();
}

} // namespace priv
} // namespace vq
