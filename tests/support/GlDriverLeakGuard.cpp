// Linked into the tests that open windows. Mesa's GL driver makes one-time
// allocations when it loads and is unloaded with the last GL context, at
// exit, which leaves the leak checker reporting them from an unnamed module.
// A context opened before the tests and never closed keeps the driver, and
// so those allocations, alive to the end: only real leaks are reported.

#include <SFML/Window/Context.hpp>
#include <gtest/gtest.h>

#include <velloq/display/WindowProbe.h>

namespace {

// Volatile so the store stays and the context remains reachable.
sf::Context* volatile p_held_context = nullptr;

struct HoldGlDriver : ::testing::Environment {
    void SetUp() override {
        const vq::priv::WindowSystemProbe probe;
        if (!probe.reachable() || p_held_context != nullptr)
            return; // no X display, no driver
        p_held_context = new sf::Context;
        static_cast<void>(p_held_context->setActive(false));
    }
};

const ::testing::Environment* const p_hold = ::testing::AddGlobalTestEnvironment(new HoldGlDriver);

} // namespace
