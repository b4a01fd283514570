// One kernel of several that must give the same results, as a parameter of
// a table-driven test: its name, the kernel, and whether this CPU has it.
#pragma once

#include <ostream>
#include <string>

#include <gtest/gtest.h>

namespace velmar::test {

template <class Kernel>
struct KernelCase {
    const char* name;
    Kernel update;
    bool (*available)();
};

template <class Kernel>
void PrintTo(const KernelCase<Kernel>& k, std::ostream* os) { *os << k.name; }

inline bool Always() { return true; }

// The fixture: a kernel this CPU lacks is skipped, not passed.
template <class Kernel>
class KernelTest : public ::testing::TestWithParam<KernelCase<Kernel>> {
protected:
    void SetUp() override {
        if (!this->GetParam().available()) GTEST_SKIP() << this->GetParam().name << " not supported on this CPU";
    }
};

// Test names from the kernels' names.
template <class Kernel>
std::string KernelName(const ::testing::TestParamInfo<KernelCase<Kernel>>& info) { return info.param.name; }

}  // namespace velmar::test
