// The movement rules: quarter steps into free cells, walls, pointer zones,
// tunnels, eating, the power state, the monsters' choices and meetings.
#include "games/mazechase/rules.h"

#include <gtest/gtest.h>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

u8 bit(i32 flag) {
    return static_cast<u8>(1u << flag);
}

// A maze drawn as rows of digits, the rest empty.
MatrixMap mazeOf(const std::vector<std::string>& rows) {
    MatrixMap map;
    for (size_t y = 0; y < rows.size(); y++) {
        for (size_t x = 0; x < rows[y].size(); x++) {
            map.setCell(GridPosition(static_cast<i32>(x), static_cast<i32>(y)), rows[y][x] - '0');
        }
    }
    return map;
}

MazeActor playerAt(MatrixMap& map, i32 x, i32 y, i32 direction) {
    MazeActor actor = MazeActorAt(kFlagPlayer, GridPosition(x, y));
    actor.direction = direction;
    map.cells[y][x] |= bit(kFlagPlayer);
    return actor;
}

FrameInput held(f32 x, f32 y) {
    FrameInput input{};
    input.pointerDown = 1;
    input.pointerX = x;
    input.pointerY = y;
    return input;
}

TEST(MazeMoves, CrossingAtThreeQuartersCarriesTheFlag) {
    struct Case {
        i32 direction;
        GridPosition next;
        i32 stepX, stepY; // a quarter before the next cell's centre
    };
    const Case cases[] = {
        {kMazeRight, GridPosition(3, 2), -1, 0},
        {kMazeLeft, GridPosition(1, 2), 1, 0},
        {kMazeDown, GridPosition(2, 3), 0, -1},
        {kMazeUp, GridPosition(2, 1), 0, 1},
    };
    for (const Case& c : cases) {
        MatrixMap map;
        MazeActor p = playerAt(map, 2, 2, c.direction);
        for (int i = 0; i < 3; i++) {
            MazeAdvanceCell(p, map);
            MazeStep(p);
        }
        EXPECT_EQ(p.cell, GridPosition(2, 2)) << c.direction;
        MazeAdvanceCell(p, map);
        EXPECT_EQ(p.cell, c.next) << c.direction;
        EXPECT_EQ(p.stepX, c.stepX) << c.direction;
        EXPECT_EQ(p.stepY, c.stepY) << c.direction;
        EXPECT_EQ(map.cells[2][2], 0) << c.direction;
        EXPECT_EQ(map.cells[c.next.y][c.next.x], bit(kFlagPlayer)) << c.direction;
    }
}

TEST(MazeMoves, WallAheadBlocksFromTheFirstQuarterStep) {
    struct Case {
        const char* row; // the player at column 1
        i32 direction;
        i32 stepX;
        bool blocked;
    };
    const Case cases[] = {
        {"0410", kMazeRight, 0, false}, {"0410", kMazeRight, 1, true},
        {"0420", kMazeRight, 1, true},  {"0460", kMazeRight, 1, true},
        {"0401", kMazeRight, 1, false}, {"0430", kMazeRight, 1, false},
        {"0470", kMazeRight, 1, false}, {"1400", kMazeLeft, 0, false},
        {"1400", kMazeLeft, -1, true},  {"0410", kMazeLeft, -1, false},
    };
    for (const Case& c : cases) {
        MatrixMap map = mazeOf({"", c.row});
        MazeActor p = MazeActorAt(kFlagPlayer, GridPosition(1, 1));
        p.direction = c.direction;
        p.stepX = c.stepX;
        EXPECT_EQ(MazeBlockedAhead(p, map), c.blocked) << c.row << " " << c.stepX;
    }
}

TEST(MazeMoves, LyingAcrossTwoColumnsEitherNextCellBlocks) {
    // The player half-way between columns 1 and 2 turns up: a wall above
    // column 2 stops it at the first quarter step, as one above column 1.
    for (const char* above : {"001", "010", "000"}) {
        MatrixMap map = mazeOf({above, "000"});
        MazeActor p = playerAt(map, 1, 1, kMazeUp);
        p.stepX = 2;
        EXPECT_FALSE(MazeBlockedAhead(p, map)) << above;
        MazeStep(p);
        EXPECT_EQ(MazeBlockedAhead(p, map), std::string(above) != "000") << above;
    }
}

TEST(MazeMoves, TunnelWrapsToColumnZeroAndBack) {
    MatrixMap map = mazeOf({"", "", "", "", "", "3"});
    MazeActor p = playerAt(map, 29, 5, kMazeRight);
    p.stepX = 3;
    MazeAdvanceCell(p, map);
    EXPECT_TRUE(MazeWrapAround(p));
    EXPECT_EQ(p.cell, GridPosition(0, 5));
    EXPECT_EQ(p.stepX, -1);
    EXPECT_FALSE(MazeWrapAround(p));
    EXPECT_EQ(map.cells[5][29], 0);
    EXPECT_EQ(map.cells[5][0], bit(kFlagPlayer) | bit(kFlagPellet));

    MazeActor m = MazeActorAt(kFlagMonster, GridPosition(4, 0));
    map.cells[0][4] |= bit(kFlagMonster);
    m.stepY = -3;
    MazeAdvanceCell(m, map);
    EXPECT_TRUE(MazeWrapAround(m));
    EXPECT_EQ(m.cell, GridPosition(4, 29));
    EXPECT_EQ(map.cells[29][4], bit(kFlagMonster));
}

TEST(MazeEating, FoodIsEatenOnceAndOnlyItsFlagGoes) {
    struct Case {
        u8 cell;
        MazeFood food;
        u8 left;
    };
    const Case cases[] = {
        {static_cast<u8>(bit(kFlagPlayer) | bit(kFlagPellet)), kAtePellet, bit(kFlagPlayer)},
        {static_cast<u8>(bit(kFlagPlayer) | bit(kFlagPowerPellet)), kAtePowerPellet,
         bit(kFlagPlayer)},
        {static_cast<u8>(bit(kFlagPlayer) | bit(kFlagPellet) | bit(kFlagMonster)), kAtePellet,
         static_cast<u8>(bit(kFlagPlayer) | bit(kFlagMonster))},
        {bit(kFlagPlayer), kAteNothing, bit(kFlagPlayer)},
    };
    for (const Case& c : cases) {
        MatrixMap map;
        map.cells[3][3] = c.cell;
        MazeActor p = MazeActorAt(kFlagPlayer, GridPosition(3, 3));
        EXPECT_EQ(MazeEat(p, map), c.food);
        EXPECT_EQ(map.cells[3][3], c.left);
        EXPECT_EQ(MazeEat(p, map), kAteNothing);
    }
}

TEST(MazeSteering, PointerZones) {
    struct Case {
        f32 x, y;
        bool forward;
        MazeTurn turn;
    };
    const Case cases[] = {
        {0.0f, 0.0f, true, kTurnNone},    {-0.45f, 0.0f, true, kTurnLeft},
        {0.45f, 0.5f, true, kTurnRight},  {0.0f, -0.6f, false, kTurnAround},
        {-0.6f, -0.6f, false, kTurnLeft}, {0.9f, -0.9f, false, kTurnRight},
        {0.0f, -0.25f, false, kTurnNone}, {0.0f, -0.5f, false, kTurnNone},
        {-0.5f, 0.0f, false, kTurnLeft},  {0.4f, 0.0f, true, kTurnNone},
        {-0.4f, -0.4f, false, kTurnNone}, {0.5f, 0.9f, false, kTurnRight},
    };
    for (const Case& c : cases) {
        MazeActor p = MazeActorAt(kFlagPlayer, GridPosition(1, 1));
        MazeSteering s = MazeSteer(p, held(c.x, c.y));
        EXPECT_EQ(s.forward, c.forward) << c.x << ", " << c.y;
        EXPECT_EQ(s.turn, c.turn) << c.x << ", " << c.y;
    }
}

TEST(MazeSteering, OneTurnPerPressAndNothingWhileUp) {
    MazeActor p = MazeActorAt(kFlagPlayer, GridPosition(1, 1));
    EXPECT_EQ(MazeSteer(p, held(-0.45f, 0)).turn, kTurnLeft);
    MazeSteering again = MazeSteer(p, held(-0.45f, 0));
    EXPECT_TRUE(again.forward);
    EXPECT_EQ(again.turn, kTurnNone);
    FrameInput up = held(-0.45f, 0);
    up.pointerDown = 0;
    MazeSteering released = MazeSteer(p, up);
    EXPECT_FALSE(released.forward);
    EXPECT_EQ(released.turn, kTurnNone);
    EXPECT_EQ(MazeSteer(p, held(0.9f, 0)).turn, kTurnRight);
}

TEST(MazeSteering, TurnsChangeTheDirection) {
    EXPECT_EQ(MazeTurnedDirection(kMazeUp, kTurnLeft), kMazeLeft);
    EXPECT_EQ(MazeTurnedDirection(kMazeUp, kTurnRight), kMazeRight);
    EXPECT_EQ(MazeTurnedDirection(kMazeLeft, kTurnAround), kMazeRight);
    EXPECT_EQ(MazeTurnedDirection(kMazeRight, kTurnLeft), kMazeUp);
    EXPECT_EQ(MazeTurnedDirection(kMazeDown, kTurnNone), kMazeDown);
}

TEST(MazePower, LastsItsUpdatesThenEnds) {
    MazeActor p = MazeActorAt(kFlagPlayer, GridPosition(1, 1));
    MazePowerOn(p);
    int updates = 0;
    while (!MazePowerTick(p)) {
        ASSERT_EQ(p.special, 1);
        updates++;
        ASSERT_LT(updates, 1000);
    }
    // 170 updates after the one that started it; it ends in the 171st.
    EXPECT_EQ(updates, kMazePowerUpdates);
    EXPECT_EQ(p.special, 0);
    EXPECT_FALSE(MazePowerTick(p));
}

TEST(MazeMonsters, FreeDirectionsNeverLeadBack) {
    struct Case {
        std::vector<std::string> rows; // the monster at column 1, row 1
        i32 direction;
        std::set<i32> free;
    };
    const std::vector<Case> cases = {
        {{"000", "000", "000"}, kMazeUp, {kMazeLeft, kMazeRight, kMazeUp}},
        {{"000", "000", "000"}, kMazeRight, {kMazeRight, kMazeUp, kMazeDown}},
        {{"010", "000", "010"}, kMazeRight, {kMazeRight}},
        {{"020", "201", "060"}, kMazeUp, {}},
        {{"000", "101", "010"}, kMazeDown, {}},
        {{"010", "100", "010"}, kMazeLeft, {}},
    };
    for (const Case& c : cases) {
        MatrixMap map = mazeOf(c.rows);
        MazeActor m = MazeActorAt(kFlagMonster, GridPosition(1, 1));
        m.direction = c.direction;
        i32 out[4];
        u32 count = MazeFreeDirections(m, map, out);
        EXPECT_EQ(std::set<i32>(out, out + count), c.free) << c.rows[0] << "/" << c.rows[1];
    }
}

TEST(MazeMonsters, JunctionPicksEachFreeDirectionAndDeadEndsTurnBack) {
    MatrixMap open = mazeOf({"000", "000", "000"});
    MazeActor m = MazeActorAt(kFlagMonster, GridPosition(1, 1));
    i32 free[4];
    u32 count = MazeFreeDirections(m, open, free);
    std::set<i32> picked;
    for (u32 r = 0; r < 6; r++) {
        i32 direction = -1;
        ASSERT_TRUE(MazeChooseDirection(m, open, free, count, r, &direction));
        picked.insert(direction);
    }
    EXPECT_EQ(picked, (std::set<i32>{kMazeLeft, kMazeRight, kMazeUp}));

    // Between centres it keeps its way.
    m.stepY = -1;
    count = MazeFreeDirections(m, open, free);
    i32 direction = -1;
    ASSERT_TRUE(MazeChooseDirection(m, open, free, count, 2, &direction));
    EXPECT_EQ(direction, kMazeUp);

    // A dead end facing up: back down.
    MatrixMap deadEnd = mazeOf({"010", "101", "000"});
    MazeActor d = MazeActorAt(kFlagMonster, GridPosition(1, 1));
    count = MazeFreeDirections(d, deadEnd, free);
    EXPECT_EQ(count, 0u);
    ASSERT_TRUE(MazeChooseDirection(d, deadEnd, free, count, 7, &direction));
    EXPECT_EQ(direction, kMazeDown);

    // Walled in: it stands still.
    MatrixMap boxed = mazeOf({"010", "101", "010"});
    MazeActor b = MazeActorAt(kFlagMonster, GridPosition(1, 1));
    count = MazeFreeDirections(b, boxed, free);
    EXPECT_FALSE(MazeChooseDirection(b, boxed, free, count, 0, &direction));
}

TEST(MazeMeetings, CaughtOrSendingTheMonsterBack) {
    MatrixMap map;
    MazeActor p = playerAt(map, 5, 5, kMazeUp);
    MazeActor far = MazeActorAt(kFlagMonster, GridPosition(9, 9));
    MazeActor near = MazeActorAt(kFlagMonster, GridPosition(2, 2));
    map.cells[9][9] |= bit(kFlagMonster);
    map.cells[2][2] |= bit(kFlagMonster);
    const MazeActor* monsters[] = {&far, &near};
    u32 index = 99;
    EXPECT_EQ(MazeMeet(p, false, monsters, 2, map, &index), kNoMeeting);

    // The monster walks in from the left.
    near.direction = kMazeRight;
    near.stepX = 0;
    near.cell = GridPosition(4, 5);
    map.moveFlag(2, 2, 5, 4, kFlagMonster);
    near.stepX = 3;
    MazeAdvanceCell(near, map);
    EXPECT_EQ(near.cell, p.cell);
    EXPECT_EQ(MazeMeet(p, false, monsters, 2, map, &index), kPlayerCaught);
    EXPECT_EQ(MazeMeet(near, false, monsters, 2, map, &index), kPlayerCaught);
    EXPECT_EQ(MazeMeet(near, true, monsters, 2, map, &index), kMonsterSentBack);
    EXPECT_EQ(index, 1u);

    MazeReset(near, map);
    EXPECT_EQ(near.cell, GridPosition(2, 2));
    EXPECT_EQ(near.stepX, 0);
    EXPECT_EQ(map.cells[2][2], bit(kFlagMonster));
    EXPECT_EQ(map.cells[5][5], bit(kFlagPlayer));
    EXPECT_EQ(MazeMeet(p, true, monsters, 2, map, &index), kNoMeeting);
}

TEST(MazeMeetings, AMonsterStaysMetWhenAnotherLeavesItsCell) {
    // Two monsters share (5, 5); one moves on to (6, 5) or is sent home,
    // and the player stands in (5, 5) with the one that stayed.
    enum Leaving { kMovesOn, kSentHome };
    for (Leaving leaving : {kMovesOn, kSentHome}) {
        MatrixMap map;
        MazeActor gone = MazeActorAt(kFlagMonster, GridPosition(9, 9));
        MazeActor stayed = MazeActorAt(kFlagMonster, GridPosition(2, 2));
        gone.cell = GridPosition(5, 5);
        stayed.cell = GridPosition(5, 5);
        map.cells[5][5] = bit(kFlagMonster);
        if (leaving == kMovesOn) {
            gone.direction = kMazeRight;
            gone.stepX = 3;
            MazeAdvanceCell(gone, map);
            ASSERT_EQ(gone.cell, GridPosition(6, 5));
        } else {
            MazeReset(gone, map);
        }
        MazeActor p = playerAt(map, 5, 5, kMazeUp);
        const MazeActor* monsters[] = {&gone, &stayed};
        u32 index = 99;
        EXPECT_EQ(MazeMeet(p, false, monsters, 2, map, &index), kPlayerCaught) << leaving;
        EXPECT_EQ(MazeMeet(stayed, false, monsters, 2, map, &index), kPlayerCaught) << leaving;
        EXPECT_EQ(MazeMeet(p, true, monsters, 2, map, &index), kMonsterSentBack) << leaving;
        EXPECT_EQ(index, 1u) << leaving;
        EXPECT_EQ(MazeMeet(gone, false, monsters, 2, map, &index), kNoMeeting) << leaving;
    }
}

TEST(MazeMeetings, PowerSendsHomeOnlyAMonsterAwayFromItsStart) {
    // The player stands at (5, 5). A monster there is home when it started
    // there, away when it started at (2, 2); a gone one stands at its start
    // (8, 8). A monster sent home is reset, and the same mover's meeting
    // test must then not send one home again: no meeting repeats in place.
    enum Kind { kHome, kAway, kGone };
    enum Mover { kPlayer, kFirst };
    struct Case {
        Kind first, second;
        bool special;
        Mover mover;
        MazeMeeting meeting;
        u32 index;
    };
    const Case cases[] = {
        {kAway, kGone, true, kPlayer, kMonsterSentBack, 0},
        {kAway, kGone, true, kFirst, kMonsterSentBack, 0},
        {kHome, kGone, true, kPlayer, kNoMeeting, 99},
        {kHome, kGone, true, kFirst, kNoMeeting, 99},
        {kHome, kAway, true, kPlayer, kMonsterSentBack, 1},
        {kHome, kAway, true, kFirst, kMonsterSentBack, 1},
        {kHome, kHome, true, kPlayer, kNoMeeting, 99},
        {kGone, kGone, true, kPlayer, kNoMeeting, 99},
        {kHome, kGone, false, kPlayer, kPlayerCaught, 99},
        {kHome, kGone, false, kFirst, kPlayerCaught, 99},
        {kAway, kGone, false, kPlayer, kPlayerCaught, 99},
    };
    const GridPosition here(5, 5);
    for (size_t n = 0; n < std::size(cases); n++) {
        const Case& c = cases[n];
        MatrixMap map;
        MazeActor p = playerAt(map, here.x, here.y, kMazeUp);
        MazeActor monsters[2];
        const Kind kinds[2] = {c.first, c.second};
        for (int i = 0; i < 2; i++) {
            const GridPosition starts[3] = {here, GridPosition(2, 2), GridPosition(8, 8)};
            monsters[i] = MazeActorAt(kFlagMonster, starts[kinds[i]]);
            monsters[i].cell = kinds[i] == kGone ? starts[kGone] : here;
            map.cells[monsters[i].cell.y][monsters[i].cell.x] |= bit(kFlagMonster);
        }
        const MazeActor* listed[] = {&monsters[0], &monsters[1]};
        const MazeActor& mover = c.mover == kPlayer ? p : monsters[0];
        u32 index = 99;
        EXPECT_EQ(MazeMeet(mover, c.special, listed, 2, map, &index), c.meeting) << n;
        EXPECT_EQ(index, c.index) << n;
        if (c.meeting != kMonsterSentBack || index > 1) {
            continue;
        }
        MazeReset(monsters[index], map);
        EXPECT_EQ(MazeMeet(mover, c.special, listed, 2, map, &index), kNoMeeting) << n;
    }
}

TEST(MazeLives, ASpareLifeThenTheEnd) {
    i32 lives = 1;
    EXPECT_FALSE(MazeLoseLife(&lives));
    EXPECT_EQ(lives, 0);
    EXPECT_TRUE(MazeLoseLife(&lives));
    EXPECT_EQ(lives, 0);
}

} // namespace
