#include "shop/ShopDescription.h"

#include <velloq/core/Event.h>

#include "common/EventDescription.h"

ShopDescription::ShopDescription() { setType("ShopDescription"); }

int ShopDescription::eventHandler(const vq::Event* p_e) {
    if (p_e->getType() != DESCRIPTION_EVENT)
        return 0;
    const auto* p_description = dynamic_cast<const EventDescription*>(p_e);
    if (p_description == nullptr)
        return 0;
    setText(p_description->getDescription());
    return 1;
}
