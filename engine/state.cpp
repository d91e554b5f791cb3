#include "engine/state.h"

#include "engine/scenegraph.h"

State::State(const char* name) : Node(name, kNodeState) {}

void State::draw(RenderContext* context) {
    if (!isActive()) {
        return;
    }
    RenderState saved = *RenderState::getCurrentState();
    if (getDrawSelf()) {
        RenderState::setState(&state, state.specified, false);
    }
    for (Node* child = getChild(0); child != nullptr; child = child->getNextSibling()) {
        child->draw(context);
    }
    if (getDrawSelf()) {
        RenderState::setState(&saved, RenderState::kAll, false);
    }
}

Node* State::clone() const {
    State* copy = SceneGraph::createState(getName());
    copy->state = state;
    return copy;
}
