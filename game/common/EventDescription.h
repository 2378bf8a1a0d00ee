#ifndef CORNFIELD_COMMON_EVENTDESCRIPTION_H
#define CORNFIELD_COMMON_EVENTDESCRIPTION_H

#include <string>

#include <velloq/core/Event.h>

inline constexpr char DESCRIPTION_EVENT[] = "description_event";

// Carries the sentence the shop's description line is to show.
class EventDescription : public vq::Event {
public:
    EventDescription();
    explicit EventDescription(std::string init_description);
    std::string getDescription() const;
    void setDescription(std::string new_description);

private:
    std::string m_description;
};

#endif
