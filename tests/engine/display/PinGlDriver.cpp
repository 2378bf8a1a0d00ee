// Linked into the tests that open windows. Mesa unloads its GL driver when
// the last context goes, at exit, orphaning the driver's own one-time
// allocations, which the leak checker then reports from an unnamed module.
// Keeping the driver loaded until the process ends keeps them reachable, so
// leak reports show only real leaks.

#include <dlfcn.h>
#include <link.h>

#include <cstring>

#include <SFML/Window/Context.hpp>
#include <gtest/gtest.h>

#include "display/WindowProbe.h"

namespace {

int pinDriver(struct dl_phdr_info* p_info, std::size_t, void*) {
    const char* p_name = p_info->dlpi_name;
    if (p_name != nullptr && std::strstr(p_name, "_dri.so") != nullptr)
        dlopen(p_name, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE); // only marks it, the handle is never closed
    return 0;
}

class PinGlDriver : public ::testing::Environment {
public:
    // A context of its own loads the driver before any test runs.
    void SetUp() override {
        const vq::priv::WindowSystemProbe probe;
        if (!probe.reachable())
            return; // no X display: no driver either
        const sf::Context context;
        dl_iterate_phdr(pinDriver, nullptr);
    }
};

const ::testing::Environment* const p_pin = ::testing::AddGlobalTestEnvironment(new PinGlDriver);

} // namespace
