// The unit tests' main: every test starts and ends with all state at its start-up values
// (ResetAllState), and a test that reaches the end of the program fails by name.
#include <gtest/gtest.h>

#include "app/main_loop.h"
#include "support/program_end.h"

namespace {

class CleanState : public ::testing::EmptyTestEventListener {
  void OnTestStart(const ::testing::TestInfo&) override { ResetAllState(); }
  void OnTestEnd(const ::testing::TestInfo&) override { ResetAllState(); }
};

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  ThrowAtProgramEnd();
  ::testing::UnitTest::GetInstance()->listeners().Append(new CleanState);
  return RUN_ALL_TESTS();
}
