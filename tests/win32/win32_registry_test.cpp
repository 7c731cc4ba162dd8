// The real registry port (Wine's registry) answers as the in-memory double does.

#include "tests/suites/RegistryPortSuite.h"
#include "tests/win32/ScratchRegistryEnv.h"

namespace cq::suites {

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, RegistryPortSuite, ::testing::Types<ScratchRegistryEnv>);

}  // namespace cq::suites
