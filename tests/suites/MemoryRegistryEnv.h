#pragma once
// Environment for the registry suites: a fresh in-memory registry per test.

#include "common/Port.h"
#include "tests/doubles/MemoryRegistry.h"

#include <string>

namespace cq::suites {

struct MemoryRegistryEnv {
    RegKey root() const { return reg::kCurrentUser; }
    std::string base() const { return "Software\\ChronoquillTest\\Memory"; }
    int openHandles() const { return registry.openHandles(); }

    MemoryRegistry registry;
    ScopedPort<Registry> port{registry};
};

}  // namespace cq::suites
