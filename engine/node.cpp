#include "engine/node.h"

#include "engine/memory.h"
#include "engine/result.h"

#include <cstring>

namespace {

const Result kNotDetached = {1, "This node hasn't been detached from its parent"};
const Result kNotConnected = {1, "The two nodes are not connected"};
const Result kNoParent = {1, "The node has no parent"};

constexpr std::size_t kWholeNameLimit = 256;
constexpr std::size_t kCutNameLength = 255;

} // namespace

const Result Node::kInactiveCamera = {1, "Camera resides in a non-active node"};

Node::Node(const char* name_, u32 type_)
    : name(StringDuplicate(name_)), type(type_), parent(nullptr), firstChild(nullptr),
      nextSibling(nullptr), childCount(0), active(1), drawSelfFlag(1) {}

Node::~Node() {
    detachFromParent();
    while (firstChild != nullptr) {
        Node* child = firstChild;
        detachChild(child);
        delete child;
    }
    MemoryFree(name);
}

void Node::setName(const char* newName) {
    std::size_t length = std::strlen(newName);
    const char* kept = length > kWholeNameLimit ? newName + length - kCutNameLength : newName;
    char* copy = StringDuplicate(kept);
    MemoryFree(name);
    name = copy;
}

void Node::attachChild(Node* child) {
    if (child->parent != nullptr) {
        REPORT(kNotDetached);
        if (child->parent == this) {
            return;
        }
        child->parent->detachChild(child);
    }
    child->nextSibling = firstChild;
    firstChild = child;
    child->parent = this;
    childCount++;
}

void Node::detachChild(Node* child) {
    for (Node** link = &firstChild; *link != nullptr; link = &(*link)->nextSibling) {
        if (*link == child) {
            *link = child->nextSibling;
            child->parent = nullptr;
            child->nextSibling = nullptr;
            childCount--;
            return;
        }
    }
    REPORT(kNotConnected);
}

void Node::detachFromParent() {
    if (parent != nullptr) {
        parent->detachChild(this);
    }
}

Node* Node::getChild(u32 i) const {
    Node* child = firstChild;
    for (; child != nullptr && i > 0; i--) {
        child = child->nextSibling;
    }
    return child;
}

Node* Node::findChild(const char* wanted, u32 depth) const {
    for (Node* child = firstChild; child != nullptr; child = child->nextSibling) {
        if (std::strcmp(child->name, wanted) == 0) {
            return child;
        }
    }
    if (depth == 0) {
        return nullptr;
    }
    for (Node* child = firstChild; child != nullptr; child = child->nextSibling) {
        Node* found = child->findChild(wanted, depth - 1);
        if (found != nullptr) {
            return found;
        }
    }
    return nullptr;
}

Node* Node::duplicate(const char* newName, bool recursive) const {
    Node* copy = clone();
    if (copy == nullptr) {
        return nullptr;
    }
    if (newName != nullptr) {
        copy->setName(newName);
    }
    if (recursive) {
        for (Node* child = firstChild; child != nullptr; child = child->nextSibling) {
            Node* childCopy = child->duplicate(nullptr, true);
            if (childCopy != nullptr) {
                copy->attachChild(childCopy);
            }
        }
    }
    return copy;
}

void Node::transformCamera(mat4& view) {
    if (active == 0) {
        REPORT(kInactiveCamera);
    }
    if (parent != nullptr) {
        parent->transformCamera(view);
    }
}

void Node::updateWorldMatrices(RenderContext* context) {
    if (active == 0) {
        return;
    }
    for (Node* child = firstChild; child != nullptr; child = child->nextSibling) {
        child->updateWorldMatrices(context);
    }
}

void Node::draw(RenderContext* context) {
    if (type != kNodeWorld && parent == nullptr) {
        REPORT(kNoParent);
    }
    if (active == 0) {
        return;
    }
    if (drawSelfFlag != 0) {
        drawSelf(context);
    }
    for (Node* child = firstChild; child != nullptr; child = child->nextSibling) {
        child->draw(context);
    }
}

void Node::drawSelf(RenderContext*) {}

Node* Node::clone() const {
    return nullptr;
}

void Node::unlinkLight(Light* light) {
    for (Node* child = firstChild; child != nullptr; child = child->nextSibling) {
        child->unlinkLight(light);
    }
}
