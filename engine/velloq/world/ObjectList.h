#ifndef VQ_WORLD_OBJECTLIST_H
#define VQ_WORLD_OBJECTLIST_H

namespace vq {

class Object;

const int MAX_OBJECTS = 1000;

// Fixed-capacity list of object pointers, copied by value; it never allocates
// and never owns the objects.
class ObjectList {
public:
    ObjectList();

    // -1 when full; duplicates are not checked here.
    int insert(Object* p_o);
    // Removes the first occurrence, keeping the order; -1 when absent.
    int remove(Object* p_o);
    void clear();
    int getCount() const { return m_count; }
    bool isEmpty() const { return m_count == 0; }
    bool isFull() const { return m_count == MAX_OBJECTS; }

    // Throws std::out_of_range("Index out of range") outside 0..count-1.
    Object* operator[](int index) const {
        if (index < 0 || index >= m_count)
            throwOutOfRange();
        return m_p_obj[index];
    }
    // This list followed by the other's entries, as many as still fit.
    ObjectList operator+(ObjectList other) const;

private:
    [[noreturn]] static void throwOutOfRange();

    int m_count;
    Object* m_p_obj[MAX_OBJECTS];
};

} // namespace vq

#endif
