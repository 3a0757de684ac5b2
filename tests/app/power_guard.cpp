// Every test of this program runs with a power service that fails the test
// when it is called: nothing here may ever reach the real machine's power.
// Tests that expect a request put their own recorder in place for a scope.
#include <gtest/gtest.h>

#include "classlib/services/powerservice.h"

namespace {

class FailingPower : public TPowerService {
public:
    TPrivilegeResult EnableShutdownPrivilege() override {
        ADD_FAILURE() << "the shutdown privilege was asked for";
        return prNoToken;
    }
    bool InitiateShutdown(const std::string&, const std::string&, DWORD, bool, bool) override {
        ADD_FAILURE() << "a shutdown was asked for";
        return false;
    }
    bool AbortShutdown(const std::string&) override {
        ADD_FAILURE() << "a shutdown abort was asked for";
        return false;
    }
    bool ExitSession(UINT, DWORD) override {
        ADD_FAILURE() << "ExitWindowsEx was asked for";
        return false;
    }
};

class PowerGuard : public ::testing::Environment {
public:
    void SetUp() override { TServiceSlot<TPowerService>::Replace(&power_); }
    void TearDown() override { TServiceSlot<TPowerService>::Replace(nullptr); }

private:
    FailingPower power_;
};

[[maybe_unused]] ::testing::Environment* const powerGuard =
    ::testing::AddGlobalTestEnvironment(new PowerGuard);

}  // namespace
