#include "launcher/EnvironmentChecks_win.h"
#include "launcher/OperatingSystem_win.h"

#include <gtest/gtest.h>

TEST(EnvironmentChecks, MachineFactsOfThisSystem) {
    const OsFacts facts = QueryOsFacts();
    EXPECT_GE(facts.detected.major, 5u);
    EXPECT_NE(0u, facts.detected.build);
    // The tests run as the 64-bit build, so the machine is 64-bit whatever the query path.
    EXPECT_EQ(PROCESSOR_ARCHITECTURE_AMD64, NativeProcessorArchitecture());
    EXPECT_TRUE(Is64BitSystem());
    EXPECT_EQ(facts.machine.nativeArchitecture, NativeProcessorArchitecture());
    const std::wstring name = SystemName(facts.detected, facts.productType, facts.suiteMask, facts.machine);
    EXPECT_TRUE(name.starts_with(L"Windows ")) << name.c_str();
}

TEST(EnvironmentChecks, Direct2DAndRightsArePresent) {
    EXPECT_TRUE(HasDirect2D());
    EXPECT_TRUE(HasDirect2D()); // every object was released: a second factory is made alike
    EXPECT_TRUE(IsAdministrator());
}

TEST(EnvironmentChecks, SingleInstanceMutexIsHeldUntilItsOwnerEnds) {
    KernelHandle first;
    ASSERT_FALSE(IsSetupRunning(first, 10)) << "another launcher is running";
    EXPECT_TRUE(first.IsValid());
    {
        KernelHandle second;
        EXPECT_TRUE(IsSetupRunning(second, 10));
        // Old systems that are not terminal servers use the name local to the logon session, which a
        // machine-wide holder does not block.
        KernelHandle local;
        EXPECT_FALSE(IsSetupRunning(local, 4));
        KernelHandle localAgain;
        EXPECT_TRUE(IsSetupRunning(localAgain, 4));
    }
    first.Close();
    KernelHandle third;
    EXPECT_FALSE(IsSetupRunning(third, 10));
}
