#include "platform/runtime/result.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <memory>
#include <string>
#include <variant>

namespace {

using platform::Failure;
using platform::Result;
using platform::Status;

Result<int> half(int number) {
    if (number % 2 != 0) {
        return Failure{EINVAL, "odd"};
    }
    return number / 2;
}

TEST(Result, HoldsEitherTheValueOrTheFailure) {
    const Result<int> value = half(8);
    ASSERT_TRUE(value.ok());
    EXPECT_TRUE(static_cast<bool>(value));
    EXPECT_EQ(value.value(), 4);
    EXPECT_EQ(*value, 4);
    EXPECT_THROW(static_cast<void>(value.failure()), std::bad_variant_access);

    const Result<int> failed = half(7);
    ASSERT_FALSE(failed.ok());
    EXPECT_FALSE(static_cast<bool>(failed));
    EXPECT_EQ(failed.failure().code, EINVAL);
    EXPECT_EQ(failed.failure().reason, "odd");
    EXPECT_THROW(static_cast<void>(failed.value()), std::bad_variant_access);
}

TEST(Result, GivesUpAValueThatCannotBeCopied) {
    Result<std::unique_ptr<std::string>> made = std::make_unique<std::string>("text");
    ASSERT_TRUE(made);
    EXPECT_EQ(made->get()->size(), 4u);
    const std::unique_ptr<std::string> taken = std::move(made).value();
    EXPECT_EQ(*taken, "text");
}

TEST(Status, IsSuccessUntilAFailureIsGiven) {
    Status status;
    EXPECT_TRUE(status.ok());
    EXPECT_THROW(static_cast<void>(status.failure()), std::bad_variant_access);
    status = Failure{EACCES, "refused"};
    ASSERT_FALSE(status);
    EXPECT_EQ(status.failure().code, EACCES);
    EXPECT_EQ(status.failure().reason, "refused");
    status = {};
    EXPECT_TRUE(status);
}

TEST(SystemFailure, CarriesTheNumberAndTheSystemsTextAfterTheContext) {
    const Failure bare = platform::systemFailure(ENOENT);
    EXPECT_EQ(bare.code, ENOENT);
    EXPECT_EQ(bare.reason, "No such file or directory");
    const Failure named = platform::systemFailure(EACCES, "cannot open the lock /t.lock");
    EXPECT_EQ(named.code, EACCES);
    EXPECT_EQ(named.reason, "cannot open the lock /t.lock: Permission denied");
}

}  // namespace
