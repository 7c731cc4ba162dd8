// CWinReg over the real registry (Wine's), in a scratch key.

#include "tests/suites/CWinRegSuite.h"
#include "tests/win32/ScratchRegistryEnv.h"

namespace cq::suites {

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, CWinRegSuite, ::testing::Types<ScratchRegistryEnv>);

}  // namespace cq::suites
