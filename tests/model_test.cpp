// The board on in-memory elements against the reference model, over a
// million random events (fewer under the sanitizers), keeping its own rules
// after each one.
#include <gtest/gtest.h>

#include "tests/memory_target.h"

namespace {

TEST(ModelTest, RandomEventsAgreeWithTheReference) {
  model::MemoryTarget target(".");
  const std::string failure = model::Play(target, ".", 20261208u, model::Events(1'000'000));
  EXPECT_EQ(failure, "");
}

TEST(ModelTest, AnotherSeparatorAgreesToo) {
  model::MemoryTarget target("\u066B");
  const std::string failure = model::Play(target, "\u066B", 7u, model::Events(200'000));
  EXPECT_EQ(failure, "");
}

}  // namespace
