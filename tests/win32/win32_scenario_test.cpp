// The whole games of tests/scenarios/games.txt on real Win32 controls.
#include "tests/scenarios/suite.h"
#include "tests/win32/win32_fixture.h"

std::unique_ptr<scenarios::Driver> scenarios::MakeDriver() {
  return std::make_unique<scenarios::FixtureDriver<win32_test::Game>>();
}
