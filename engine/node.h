#pragma once

#include "engine/types.h"
#include "engine/vecmath.h"

struct RenderContext;
struct Result;
class Light;

// Node type codes.
enum NodeType : u32 {
    kNodeCamera = 0,
    kNodeGroup = 1,
    kNodeLight = 2,
    kNodeState = 3,
    kNodeWorld = 4,
    kNodeTriangleMesh = 5,
    kNodeSprite = 6
};

// The base of the scene tree: a named node that owns its children. Children
// stand newest first; every walk over them visits the newest first.
class Node {
  public:
    Node(const char* name, u32 type);
    // Detaches itself from its parent, then deletes its whole subtree.
    virtual ~Node();
    Node(const Node&) = delete;
    Node& operator=(const Node&) = delete;

    // Multiplies this node's inverse local transform into the view matrix
    // and forwards to the parent.
    virtual void transformCamera(mat4& view);
    // First tree walk: world matrices.
    virtual void updateWorldMatrices(RenderContext* context);
    // Second tree walk: this node (unless drawSelf is off) and its subtree.
    virtual void draw(RenderContext* context);
    virtual void drawSelf(RenderContext* context);
    // A new, unattached node of the same class with the same own settings
    // and no children; null for a class that cannot be copied.
    virtual Node* clone() const;
    // Clears every reference to a light about to disappear, in this subtree.
    virtual void unlinkLight(Light* light);

    // Up to 256 characters are kept whole, a longer name keeps its last 255.
    void setName(const char* name);
    const char* getName() const { return name; }
    u32 getType() const { return type; }
    Node* getParent() const { return parent; }
    Node* getNextSibling() const { return nextSibling; }
    u16 getChildCount() const { return childCount; }
    bool isActive() const { return active != 0; }
    bool getDrawSelf() const { return drawSelfFlag != 0; }
    void setActive(bool on) { active = on ? 1 : 0; }
    void setDrawSelf(bool on) { drawSelfFlag = on ? 1 : 0; }

    void attachChild(Node* child);
    void detachChild(Node* child);
    void detachFromParent();
    // The i-th child, 0 the newest; null beyond the last.
    Node* getChild(u32 i) const;
    // The first node of that name among the children, then depth levels
    // below them, child by child.
    Node* findChild(const char* name, u32 depth) const;
    // A copy under a new name (null keeps the name), with copies of the
    // children when recursive; null when the class cannot be copied.
    Node* duplicate(const char* newName, bool recursive) const;

  protected:
    // The camera walk's warning on meeting an inactive node, reported by the
    // walk step of the node's class.
    static const Result kInactiveCamera;

  private:
    char* name;
    u32 type;
    Node* parent;
    Node* firstChild;
    Node* nextSibling;
    u16 childCount;
    u8 active;
    u8 drawSelfFlag;
};
