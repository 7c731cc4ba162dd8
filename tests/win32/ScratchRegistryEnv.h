#pragma once
// Environment for the registry suites under Wine: the real registry, with a
// scratch key HKCU\Software\ChronoquillTest\<random> that is removed after
// each test.

#include "common/Port.h"
#include "common/win32/Win32Registry.h"
#include "tests/doubles/CountingRegistry.h"

#include <windows.h>

#include <cstdio>
#include <random>
#include <string>

namespace cq::suites {

struct ScratchRegistryEnv {
    ScratchRegistryEnv() {
        std::random_device device;
        char name[32];
        std::snprintf(name, sizeof name, "%08x%08x", static_cast<unsigned>(device()),
                      static_cast<unsigned>(GetTickCount()));
        base_ = std::string(kParent) + "\\" + name;
    }
    ~ScratchRegistryEnv() {
        RegDeleteTreeA(HKEY_CURRENT_USER, base_.c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, kParent);  // only when no other test's key is left
    }
    ScratchRegistryEnv(const ScratchRegistryEnv&) = delete;
    ScratchRegistryEnv& operator=(const ScratchRegistryEnv&) = delete;

    RegKey root() const { return reg::kCurrentUser; }
    std::string base() const { return base_; }
    int openHandles() const { return counting.openHandles(); }

    static constexpr const char* kParent = "Software\\ChronoquillTest";
    std::string base_;
    win32::Win32Registry real;
    CountingRegistry counting{real};
    ScopedPort<Registry> port{counting};
};

}  // namespace cq::suites
