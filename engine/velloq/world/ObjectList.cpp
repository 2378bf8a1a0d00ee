#include <velloq/world/ObjectList.h>

#include <stdexcept>

namespace vq {

ObjectList::ObjectList() : m_count(0) {}

int ObjectList::insert(Object* p_o) {
    if (isFull())
        return -1;
    m_p_obj[m_count++] = p_o;
    return 0;
}

int ObjectList::remove(Object* p_o) {
    for (int i = 0; i < m_count; i++) {
        if (m_p_obj[i] == p_o) {
            for (int j = i; j < m_count - 1; j++)
                m_p_obj[j] = m_p_obj[j + 1];
            m_count--;
            return 0;
        }
    }
    return -1;
}

void ObjectList::clear() { m_count = 0; }
void ObjectList::throwOutOfRange() { throw std::out_of_range("Index out of range"); }

ObjectList ObjectList::operator+(ObjectList other) const {
    ObjectList sum = *this;
    for (int i = 0; i < other.m_count; i++)
        if (sum.insert(other.m_p_obj[i]) != 0)
            break;
    return sum;
}

} // namespace vq
