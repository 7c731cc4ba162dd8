#pragma once
// The names of the members that a type description lists, in its order, as an
// object browser shows them.

#include <windows.h>
#include <oaidl.h>

#include <string>
#include <vector>

#include "common/win32/Text.h"

namespace cq::test {

inline std::vector<std::string> memberNames(ITypeInfo& info) {
    std::vector<std::string> names;
    for (UINT i = 0;; ++i) {
        FUNCDESC* func = nullptr;
        if (FAILED(info.GetFuncDesc(i, &func))) break;
        BSTR name = nullptr;
        UINT found = 0;
        if (SUCCEEDED(info.GetNames(func->memid, &name, 1, &found)) && found == 1)
            names.push_back(win32::fromWide(name));
        SysFreeString(name);
        info.ReleaseFuncDesc(func);
    }
    return names;
}

}  // namespace cq::test
