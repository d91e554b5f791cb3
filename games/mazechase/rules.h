#pragma once

// The rules of the maze-chase game without any GL: grid moves a quarter cell
// at a time, tunnels, the player's pointer zones, eating, the monsters'
// choices, meetings, the power state and lives. Each step of an object's
// update calls these and then moves its mesh and marker, so a test of this
// module tests the game's own rules.

#include "engine/frameinput.h"
#include "games/mazechase/maze.h"

// Directions: 0 toward row - 1 (world -Z), 1 toward column - 1 (world -X),
// 2 toward row + 1 (world +Z), 3 toward column + 1 (world +X). Turning left
// adds 1.
enum MazeDirection : i32 { kMazeUp = 0, kMazeLeft = 1, kMazeDown = 2, kMazeRight = 3 };

// The world units a mover goes each update: a quarter of a 40-unit cell.
constexpr f32 kMazeSpeed = 10.0f;
// The updates the power state lasts after the one that started it.
constexpr i32 kMazePowerUpdates = 170;

// What moves through the maze: the player or a monster.
struct MazeActor {
    i32 type; // the flag it carries in the map: kFlagPlayer or kFlagMonster
    GridPosition startCell;
    GridPosition cell;
    i32 direction;
    // Offset from the centre of the cell in quarter cells, -3..3; 3 or -3
    // lasts only until the next MazeAdvanceCell.
    i32 stepX, stepY;
    u8 turnLatch;     // set while one press has been used for a turn
    i32 specialTimer; // updates left in the power state
    u8 special;       // 1 in the power state
};

// A mover of the type standing at its start cell, at rest, facing up.
MazeActor MazeActorAt(i32 type, GridPosition start);

// At a three-quarter step the mover crosses into the next cell and carries
// its flag along in the map (the new cell wrapped there).
void MazeAdvanceCell(MazeActor& actor, MatrixMap& map);
// Brings a cell that left the grid back to the far side; true when it did.
bool MazeWrapAround(MazeActor& actor);
// The step offsets of one quarter step in a direction: the cell's column
// and row change.
void MazeDirectionDelta(i32 direction, i32* dx, i32* dy);
// One quarter step in the mover's direction.
void MazeStep(MazeActor& actor);

// The directions a monster may take: between cell centres its own
// direction alone; at a centre every free neighbour (left, right, up, down
// in that order) except the way back. Returns the count written to out.
u32 MazeFreeDirections(const MazeActor& actor, const MatrixMap& map, i32 out[4]);
// The monster's next direction from its free directions (count of them) and
// a 15-bit random number: one of them with equal chance; with none, the way
// back when it is free. False when the monster must stand still this update.
bool MazeChooseDirection(const MazeActor& actor, const MatrixMap& map, const i32* free, u32 count,
                         u32 random15, i32* direction);

// The player cannot go on: the next cell ahead (or, lying across two cells,
// either cell's next one) is a wall or cage block.
bool MazeBlockedAhead(const MazeActor& actor, const MatrixMap& map);

enum MazeFood { kAteNothing, kAtePellet, kAtePowerPellet };
// Eats a pellet or power pellet in the player's cell, clearing that flag
// only, so a monster standing there is still seen.
MazeFood MazeEat(const MazeActor& actor, MatrixMap& map);

enum MazeTurn { kTurnNone, kTurnAround, kTurnLeft, kTurnRight };
struct MazeSteering {
    bool forward; // move forward this update
    MazeTurn turn;
};
// The pointer zones: forward while held in the top middle, one turn per
// press (around at the bottom middle, left or right at the sides). Nothing
// while the pointer is up, which also ends the press.
MazeSteering MazeSteer(MazeActor& actor, const FrameInput& input);
// The direction after a turn.
i32 MazeTurnedDirection(i32 direction, MazeTurn turn);

// Starts the power state.
void MazePowerOn(MazeActor& actor);
// One update of the power state: true in the update that ends it.
bool MazePowerTick(MazeActor& actor);

// Back at the start cell, at rest, facing up, its flag moved along.
void MazeReset(MazeActor& actor, MatrixMap& map);

enum MazeMeeting { kNoMeeting, kMonsterSentBack, kPlayerCaught };
// The player and a monster share the updating mover's cell: a monster by
// its own cell (monsters may share one), the player by its flag. In the
// power state the first listed monster in that cell that is away from its
// start cell goes back there (monsterIndex); monsters already home make no
// meeting, so a meeting never repeats without a move. Without the power
// state the player is caught.
MazeMeeting MazeMeet(const MazeActor& mover, bool playerSpecial, const MazeActor* const* monsters,
                     u32 monsterCount, const MatrixMap& map, u32* monsterIndex);

// A caught player: one spare life less, or the end of the game at none.
// True when the game is over.
bool MazeLoseLife(i32* lives);
