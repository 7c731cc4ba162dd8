#include "bench/BenchMain.h"

#include <windows.h>
#include <objbase.h>

#include <cstdio>
#include <exception>

namespace cq::bench {

int runInApartment(const char* name, int (*run)(int, char**), int argc, char** argv) {
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
    int code = 1;
    try {
        code = run(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", name, e.what());
    }
    CoUninitialize();
    return code;
}

}  // namespace cq::bench
