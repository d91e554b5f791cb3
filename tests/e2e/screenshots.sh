#!/bin/sh
# Refreshes the games' pictures in docs/ from a build tree: plays each game
# under Xvfb through its end-to-end test and keeps some of the captures.
#
#   tests/e2e/screenshots.sh [build-dir]     (default: build)
set -e
repo=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$repo/build}" && pwd)
test="$build/tests/e2e_golf_test"
if [ ! -x "$test" ]; then
    echo "no $test: build the tree first" >&2
    exit 1
fi
xvfb-run -a -s "-screen 0 1024x1024x24 -noreset" "$test" \
    --gtest_filter=GolfE2E.ShotViewFollowsMenuContinueAndRestart
mkdir -p "$repo/docs"
cp "$build/screenshots/golf-play.png" "$repo/docs/golf-play.png"
cp "$build/screenshots/golf-menu.png" "$repo/docs/golf-menu.png"
echo "docs/golf-play.png and docs/golf-menu.png updated"

xvfb-run -a -s "-screen 0 1024x1024x24 -noreset" "$build/tests/e2e_planetrun_test" \
    --gtest_filter='PlanetE2E.StartBanner*:PlanetE2E.FlightEnds*'
cp "$build/screenshots/planetrun-play.png" "$repo/docs/planetrun-play.png"
cp "$build/screenshots/planetrun-end.png" "$repo/docs/planetrun-end.png"
echo "docs/planetrun-play.png and docs/planetrun-end.png updated"

xvfb-run -a -s "-screen 0 1024x1024x24 -noreset" "$build/tests/e2e_rockfield_test" \
    --gtest_filter=RockfieldE2E.RocksFlyPastTurnWithThePhoneAndExitCleanly
cp "$build/screenshots/rockfield-field.png" "$repo/docs/rockfield-field.png"
echo "docs/rockfield-field.png updated"

xvfb-run -a -s "-screen 0 1024x1024x24 -noreset" "$build/tests/e2e_towerdefence_test" \
    --gtest_filter=TowerDefenceE2E.TowerBoughtThroughTheMenuStandsWhereThePressWas
cp "$build/screenshots/towerdefence-play.png" "$repo/docs/towerdefence-play.png"
echo "docs/towerdefence-play.png updated"

xvfb-run -a -s "-screen 0 1024x1024x24 -noreset" "$build/tests/e2e_mazechase_test" \
    --gtest_filter=MazeE2E.HoldingThePointerMovesThePlayerAndRaisesTheScore
cp "$build/screenshots/mazechase-play.png" "$repo/docs/mazechase-play.png"
cp "$build/screenshots/mazechase-move-menu.png" "$repo/docs/mazechase-menu.png"
echo "docs/mazechase-play.png and docs/mazechase-menu.png updated"

# The asteroid shooter: level 1 as a player starts it, level 2 as the game
# test reaches it by placing shots on the asteroids (run from bin/, where
# the asset paths resolve).
xvfb-run -a -s "-screen 0 1024x1024x24 -noreset" "$build/tests/e2e_asteroidshooter_test" \
    --gtest_filter=AsteroidShooterE2E.PlayShowsTheShipItsShotsAndTheCounter
(cd "$build/bin" && xvfb-run -a -s "-screen 0 1024x1024x24 -noreset" \
    "$build/tests/asteroidshooter_game" --gtest_filter=AsteroidGameTest.FiftyHitsReachLevelTwo)
cp "$build/screenshots/asteroidshooter-level1.png" "$repo/docs/asteroidshooter-level1.png"
cp "$build/screenshots/asteroidshooter-level2.png" "$repo/docs/asteroidshooter-level2.png"
echo "docs/asteroidshooter-level1.png and docs/asteroidshooter-level2.png updated"

xvfb-run -a -s "-screen 0 1024x1024x24 -noreset" "$build/tests/e2e_ogreblast_test" \
    --gtest_filter=OgreblastE2E.PlayFiresAtOgresAndTheShipFollowsThePointer
cp "$build/screenshots/ogreblast-play-landscape-fire.png" "$repo/docs/ogreblast-play.png"
cp "$build/screenshots/ogreblast-play-start-welcome.png" "$repo/docs/ogreblast-welcome.png"
echo "docs/ogreblast-play.png and docs/ogreblast-welcome.png updated"
