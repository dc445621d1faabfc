#include "platform/shell/instance.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/registry_test.h"

namespace {

class InstanceTest : public testsupport::RegistryTest {
  protected:
    void TearDown() override {
        platform::releaseInstanceLock();
        RegistryTest::TearDown();
    }

    // PrevInstance as a second process sees it.
    static bool prevInstanceInChild() {
        const pid_t child = fork();
        if (child == 0) {
            platform::releaseInstanceLock();
            _exit(platform::PrevInstance() ? 1 : 0);
        }
        int status = 0;
        waitpid(child, &status, 0);
        return WIFEXITED(status) && WEXITSTATUS(status) == 1;
    }
};

TEST_F(InstanceTest, TheFirstProcessRunsAndASecondOneSeesIt) {
    EXPECT_FALSE(prevInstanceInChild());
    EXPECT_FALSE(platform::PrevInstance());
    EXPECT_FALSE(platform::PrevInstance());  // asking again keeps the claim
    EXPECT_TRUE(prevInstanceInChild());
    platform::releaseInstanceLock();
    EXPECT_FALSE(prevInstanceInChild());
}

TEST_F(InstanceTest, ALockFileLeftByAKilledInstanceDoesNotBlock) {
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    if (child == 0) {
        platform::releaseInstanceLock();
        const char held = platform::PrevInstance() ? 'n' : 'y';
        (void)!write(ready[1], &held, 1);
        pause();
        _exit(0);
    }
    char held = 0;
    ASSERT_EQ(read(ready[0], &held, 1), 1);
    close(ready[0]);
    close(ready[1]);
    EXPECT_EQ(held, 'y');
    EXPECT_TRUE(prevInstanceInChild());
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    EXPECT_TRUE(std::filesystem::exists(platform::instanceLockPath()));
    EXPECT_FALSE(platform::PrevInstance());
}

TEST_F(InstanceTest, ALockThatCannotBeMadeIsSaidOnceAndLetsTheProgramRun) {
    testsupport::writeFile(registryDir() / "plain", "");
    platform::setRegistryFolder(registryDir() / "plain" / "registry");
    EXPECT_FALSE(platform::PrevInstance());
    EXPECT_FALSE(platform::PrevInstance());
    EXPECT_EQ(traced("instance"), std::vector<std::string>{"lock-failed file=\"" +
                                                           platform::instanceLockPath().string() +
                                                           "\" reason=\"Not a directory\""});
}

}  // namespace
