#pragma once

#include "engine/frameinput.h"
#include "engine/vecmath.h"
#include "games/mazechase/maze.h"
#include "host/framepacer.h"

#include <vector>

class BackgroundModel;
class Camera;
class Extra_life;
class GameObject;
class Group;
class High_Score;
class Light;
class MiniMap;
class Monster;
class Node;
class Object;
class Player;
class TriangleMesh;
class World;
struct MazeActor;

// The maze-chase game: the maze as a lit scene seen from a camera that rides
// behind the player, a minimap drawn over its top strip, the score, the
// lives, the moving objects and the game-over panel.
class NibblorGame {
  public:
    // Builds the level's maze; a level without a player start is an error
    // that names its file.
    NibblorGame(High_Score* scores, i32 level);
    virtual ~NibblorGame();
    NibblorGame(const NibblorGame&) = delete;
    NibblorGame& operator=(const NibblorGame&) = delete;

    // One frame: the HUD, the objects in order until a life is lost, then
    // the lost life. Always true.
    bool update(FrameInput* input);
    // Clears the whole game screen, then draws the game and the minimap
    // over its top strip.
    void draw(FrameInput* input);

    void addObject(GameObject* object);
    void increaseScore() { score += 1; }
    // The meeting rule for the updating mover: true when its update ends
    // there (the player caught, or the mover itself sent back). Any other
    // mover goes on, so the player walks on and its power state counts down
    // after sending a monster home.
    bool handleMeeting(const MazeActor& mover);
    // Takes the eaten pellet or power pellet of the cell out of the scene
    // and off the minimap.
    void removeFood(GridPosition cell);

    static vec3 toWorldPosition(f32 x, f32 y);
    static vec3 toMinimapPosition(f32 x, f32 y);

    MatrixMap* getMap() { return &map; }
    World* getMainWorld() const { return mainWorld; }
    Player* getPlayer() const { return player; }
    u32 getObjectCount() const { return static_cast<u32>(objects.size()); }
    u32 getMonsterCount() const { return static_cast<u32>(monsters.size()); }
    Light* getWorldLight() const { return worldLight; }
    Light* getGameOverLight() const { return gameOverLight; }
    Node* getPlayerNode() const;
    // The template quad the minimap tiles and the life icons copy.
    TriangleMesh* getTileTemplate() const;
    i32 getScore() const { return score; }
    i32 getLives() const { return lives; }
    bool isGameOver() const { return gameOver; }

  private:
    void createWorlds();
    void buildLevel();
    void buildCell(i32 x, i32 y, Object* const templates[5], Group* const groups[5]);
    TriangleMesh* copyTemplate(Object* from, const char* name, Group* into);
    void createActor(i32 type, GridPosition cell);
    void createBackground();
    void createFloor();
    void createGameOverPanel();
    void createStatsBar();
    void clearScreen();
    void printHud();
    void handleLifeLost();
    void showGameOver();

    World* mainWorld;
    World* minimapWorld;
    Camera* mainCamera;
    Camera* minimapCamera;
    Light* worldLight;
    Light* minimapLight;
    Light* gameOverLight;
    MatrixMap map;
    MiniMap* minimap;
    Group* minimapGroup;
    Node* pelletNodes[kMazeSize][kMazeSize];
    Group* foodGroup;
    Group* specialFoodGroup;
    bool lifeLost;
    bool gameOver;
    i32 lives;
    i32 score;
    Player* player;
    TriangleMesh* gameOverBlack;
    TriangleMesh* gameOverRed;
    std::vector<Monster*> monsters;
    std::vector<const MazeActor*> monsterActors;
    High_Score* highScores;
    std::vector<GameObject*> objects;
    Extra_life* extraLife;
    BackgroundModel* background;
    // The earliest time the next frame may start.
    FramePacer pacer;
};
