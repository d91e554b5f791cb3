#include "games/mazechase/rules.h"

#include <algorithm>

namespace {

i32 reverseOf(i32 direction) {
    return (direction + 2) % 4;
}

bool neighbourFree(const MazeActor& actor, const MatrixMap& map, i32 direction) {
    i32 dx = 0, dy = 0;
    MazeDirectionDelta(direction, &dx, &dy);
    return !CellBlocks(map.getCellByRow(actor.cell.y + dy, actor.cell.x + dx));
}

// The cell the player heads into from its quarter step, or its own cell
// while it is still at or before the centre.
GridPosition cellAhead(const MazeActor& actor) {
    GridPosition target = actor.cell;
    if (actor.direction == kMazeUp && actor.stepY == -1) {
        target.y -= 1;
    } else if (actor.direction == kMazeDown && actor.stepY == 1) {
        target.y += 1;
    } else if (actor.direction == kMazeLeft && actor.stepX == -1) {
        target.x -= 1;
    } else if (actor.direction == kMazeRight && actor.stepX == 1) {
        target.x += 1;
    }
    return target;
}

bool inZone(f32 v, f32 low, f32 high) {
    return v > low && v < high;
}

} // namespace

MazeActor MazeActorAt(i32 type, GridPosition start) {
    MazeActor actor{};
    actor.type = type;
    actor.startCell = start;
    actor.cell = start;
    return actor;
}

void MazeAdvanceCell(MazeActor& actor, MatrixMap& map) {
    GridPosition& c = actor.cell;
    if (actor.stepX == 3) {
        c.x += 1;
        actor.stepX = -1;
        map.moveFlag(c.y, c.x - 1, c.y, c.x, actor.type);
    }
    if (actor.stepX == -3) {
        c.x -= 1;
        actor.stepX = 1;
        map.moveFlag(c.y, c.x + 1, c.y, c.x, actor.type);
    }
    if (actor.stepY == 3) {
        c.y += 1;
        actor.stepY = -1;
        map.moveFlag(c.y - 1, c.x, c.y, c.x, actor.type);
    }
    if (actor.stepY == -3) {
        c.y -= 1;
        actor.stepY = 1;
        map.moveFlag(c.y + 1, c.x, c.y, c.x, actor.type);
    }
}

bool MazeWrapAround(MazeActor& actor) {
    GridPosition& c = actor.cell;
    if (c.x == -1 || c.x == kMazeSize) {
        c.x = MazeWrap(c.x);
        return true;
    }
    if (c.y == -1 || c.y == kMazeSize) {
        c.y = MazeWrap(c.y);
        return true;
    }
    return false;
}

void MazeDirectionDelta(i32 direction, i32* dx, i32* dy) {
    static const i32 kDx[4] = {0, -1, 0, 1};
    static const i32 kDy[4] = {-1, 0, 1, 0};
    *dx = kDx[direction & 3];
    *dy = kDy[direction & 3];
}

void MazeStep(MazeActor& actor) {
    i32 dx = 0, dy = 0;
    MazeDirectionDelta(actor.direction, &dx, &dy);
    actor.stepX += dx;
    actor.stepY += dy;
}

u32 MazeFreeDirections(const MazeActor& actor, const MatrixMap& map, i32 out[4]) {
    if (actor.stepX != 0 || actor.stepY != 0) {
        out[0] = actor.direction;
        return 1;
    }
    static const i32 kOrder[4] = {kMazeLeft, kMazeRight, kMazeUp, kMazeDown};
    u32 count = 0;
    for (i32 direction : kOrder) {
        if (direction != reverseOf(actor.direction) && neighbourFree(actor, map, direction)) {
            out[count++] = direction;
        }
    }
    return count;
}

bool MazeChooseDirection(const MazeActor& actor, const MatrixMap& map, const i32* free, u32 count,
                         u32 random15, i32* direction) {
    if (count > 0) {
        *direction = free[random15 % count];
        return true;
    }
    i32 back = reverseOf(actor.direction);
    if (neighbourFree(actor, map, back)) {
        *direction = back;
        return true;
    }
    return false;
}

bool MazeBlockedAhead(const MazeActor& actor, const MatrixMap& map) {
    i32 sign = 0;
    bool acrossColumns = false, acrossRows = false;
    if (actor.stepX == 2 || actor.stepX == -2) {
        sign = actor.stepX / 2;
        acrossColumns = true;
    } else if (actor.stepY == 2 || actor.stepY == -2) {
        sign = actor.stepY / 2;
        acrossRows = true;
    }
    GridPosition t = cellAhead(actor);
    if (CellBlocks(map.getCellByRow(t.y, t.x))) {
        return true;
    }
    if (acrossColumns) {
        return CellBlocks(map.getCellByRow(t.y, t.x + sign));
    }
    return acrossRows && CellBlocks(map.getCellByRow(t.y + sign, t.x));
}

MazeFood MazeEat(const MazeActor& actor, MatrixMap& map) {
    u8 cell = map.getCellByRow(actor.cell.y, actor.cell.x);
    if (CellHolds(cell, kFlagPellet)) {
        map.clearFlag(actor.cell, kFlagPellet);
        return kAtePellet;
    }
    if (CellHolds(cell, kFlagPowerPellet)) {
        map.clearFlag(actor.cell, kFlagPowerPellet);
        return kAtePowerPellet;
    }
    return kAteNothing;
}

MazeSteering MazeSteer(MazeActor& actor, const FrameInput& input) {
    MazeSteering steering = {false, kTurnNone};
    if (input.pointerDown != 1) {
        actor.turnLatch = 0;
        return steering;
    }
    f32 x = input.pointerX, y = input.pointerY;
    steering.forward = inZone(x, -0.5f, 0.5f) && y > -0.25f;
    if (actor.turnLatch != 0) {
        return steering;
    }
    actor.turnLatch = 1;
    if (inZone(x, -0.5f, 0.5f) && y < -0.5f) {
        steering.turn = kTurnAround;
    } else if (x < -0.4f) {
        steering.turn = kTurnLeft;
    } else if (x > 0.4f) {
        steering.turn = kTurnRight;
    }
    return steering;
}

i32 MazeTurnedDirection(i32 direction, MazeTurn turn) {
    static const i32 kAdded[4] = {0, 2, 1, 3};
    return (direction + kAdded[turn]) % 4;
}

void MazePowerOn(MazeActor& actor) {
    actor.special = 1;
    actor.specialTimer = kMazePowerUpdates;
}

bool MazePowerTick(MazeActor& actor) {
    if (actor.special == 0) {
        return false;
    }
    if (actor.specialTimer < 1) {
        actor.special = 0;
        return true;
    }
    actor.specialTimer -= 1;
    return false;
}

void MazeReset(MazeActor& actor, MatrixMap& map) {
    map.moveFlag(actor.cell.y, actor.cell.x, actor.startCell.y, actor.startCell.x, actor.type);
    actor.cell = actor.startCell;
    actor.stepX = 0;
    actor.stepY = 0;
    actor.direction = kMazeUp;
}

MazeMeeting MazeMeet(const MazeActor& mover, bool playerSpecial, const MazeActor* const* monsters,
                     u32 monsterCount, const MatrixMap& map, u32* monsterIndex) {
    // The mover stands in its cell. The player is seen there by its flag; a
    // monster by its own cell, since the one monster flag of a cell goes
    // when any of the monsters sharing it leaves.
    bool playerHere = mover.type == kFlagPlayer ||
                      CellHolds(map.getCellByRow(mover.cell.y, mover.cell.x), kFlagPlayer);
    bool monsterHere = mover.type == kFlagMonster ||
                       std::any_of(monsters, monsters + monsterCount,
                                   [&](const MazeActor* m) { return m->cell == mover.cell; });
    if (!playerHere || !monsterHere) {
        return kNoMeeting;
    }
    if (!playerSpecial) {
        return kPlayerCaught;
    }
    // A monster already home stays: sending it back would move nothing, and
    // the meeting would repeat every update.
    for (u32 i = 0; i < monsterCount; i++) {
        if (monsters[i]->cell == mover.cell && !(monsters[i]->cell == monsters[i]->startCell)) {
            *monsterIndex = i;
            return kMonsterSentBack;
        }
    }
    return kNoMeeting;
}

bool MazeLoseLife(i32* lives) {
    if (*lives > 0) {
        *lives -= 1;
        return false;
    }
    return true;
}
