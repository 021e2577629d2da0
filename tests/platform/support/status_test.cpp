// The platform's one way to say something could not be done.
#include "support/status.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

using support::Result;
using support::Status;

TEST(Status, DoneOrFailedIsKeptApartFromTheMessage) {
  EXPECT_TRUE(Status().ok());
  EXPECT_EQ(Status().message(), "");
  Status refused = Status::failure("cannot open help file \"x.hlp\"");
  EXPECT_FALSE(refused.ok());
  EXPECT_EQ(refused.message(), "cannot open help file \"x.hlp\"");
  // A failure without words is still a failure.
  EXPECT_FALSE(Status::failure("").ok());
}

TEST(Result, HoldsTheValueOrSaysWhyNot) {
  Result<std::string> empty = std::string();
  ASSERT_TRUE(empty.ok());  // an empty value is a value
  EXPECT_EQ(empty.value(), "");
  EXPECT_TRUE(empty.status().ok());

  Result<std::string> failed = Status::failure("menu.mnu:2: unknown keyword");
  ASSERT_FALSE(failed.ok());
  EXPECT_FALSE(failed.status().ok());
  EXPECT_EQ(failed.status().message(), "menu.mnu:2: unknown keyword");
  EXPECT_FALSE(Result<int>(Status::failure("")).ok());
}

TEST(Result, AValueThatCanOnlyMoveIsHandedOver) {
  Result<std::unique_ptr<int>> held = std::make_unique<int>(7);
  ASSERT_TRUE(held.ok());
  std::unique_ptr<int> taken = std::move(held.value());
  EXPECT_EQ(*taken, 7);
}

}  // namespace
