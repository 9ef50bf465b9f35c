// The whole games of tests/scenarios/games.txt on real Qt widgets, played
// with the mouse.
#include "tests/qt/qt_fixture.h"
#include "tests/scenarios/suite.h"

std::unique_ptr<scenarios::Driver> scenarios::MakeDriver() {
  return std::make_unique<scenarios::FixtureDriver<qt_test::Game>>();
}
