#include "engine/group.h"
#include "engine/memory.h"
#include "engine/node.h"
#include "engine/result.h"
#include "engine/scenegraph.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Reports a marker so that a later check tells whether anything was reported
// after it.
void markLog() {
    Report(Result{1, "test marker"}, "node_test", "markLog", 0);
}

std::string lastReport() {
    const char* last = ReportLastMessage();
    return last != nullptr ? last : "";
}

std::vector<std::string> childNames(const Node* node) {
    std::vector<std::string> names;
    for (u32 i = 0; i < node->getChildCount(); i++) {
        names.push_back(node->getChild(i)->getName());
    }
    return names;
}

// parent with children c, b, a (attached a first).
struct Family : ::testing::Test {
    Group* parent = SceneGraph::createGroup("parent");
    Group* a = SceneGraph::createGroup("a");
    Group* b = SceneGraph::createGroup("b");
    Group* c = SceneGraph::createGroup("c");
    void SetUp() override {
        parent->attachChild(a);
        parent->attachChild(b);
        parent->attachChild(c);
    }
    void TearDown() override { SceneGraph::deleteNode(parent); }
};

TEST_F(Family, ChildrenStandNewestFirst) {
    EXPECT_EQ(childNames(parent), (std::vector<std::string>{"c", "b", "a"}));
    EXPECT_EQ(parent->getChild(0), c);
    EXPECT_EQ(parent->getChild(2), a);
    EXPECT_EQ(parent->getChild(3), nullptr);
    EXPECT_EQ(c->getNextSibling(), b);
    EXPECT_EQ(a->getParent(), parent);
}

TEST_F(Family, AttachingAnOwnChildWarnsAndKeepsTheOrder) {
    markLog();
    parent->attachChild(a);
    EXPECT_NE(lastReport().find("This node hasn't been detached from its parent"),
              std::string::npos);
    EXPECT_EQ(childNames(parent), (std::vector<std::string>{"c", "b", "a"}));
    EXPECT_EQ(parent->getChildCount(), 3);
}

TEST_F(Family, AttachingMovesAChildFromItsOldParent) {
    Group* other = SceneGraph::createGroup("other");
    other->attachChild(b);
    EXPECT_EQ(childNames(parent), (std::vector<std::string>{"c", "a"}));
    EXPECT_EQ(b->getParent(), other);
    EXPECT_EQ(other->getChildCount(), 1);
    SceneGraph::deleteNode(other);
}

TEST_F(Family, DetachingTheMiddleChildRelinksTheList) {
    parent->detachChild(b);
    EXPECT_EQ(childNames(parent), (std::vector<std::string>{"c", "a"}));
    EXPECT_EQ(b->getParent(), nullptr);
    EXPECT_EQ(b->getNextSibling(), nullptr);
    SceneGraph::deleteNode(b);
}

TEST_F(Family, DetachingAStrangerWarnsAndChangesNothing) {
    Group* stranger = SceneGraph::createGroup("stranger");
    markLog();
    parent->detachChild(stranger);
    EXPECT_NE(lastReport().find("The two nodes are not connected"), std::string::npos);
    EXPECT_EQ(parent->getChildCount(), 3);
    SceneGraph::deleteNode(stranger);
}

TEST_F(Family, DeletingAnAttachedNodeDetachesItFirst) {
    SceneGraph::deleteNode(b);
    EXPECT_EQ(childNames(parent), (std::vector<std::string>{"c", "a"}));
}

TEST_F(Family, DetachFromParentOfARootDoesNothing) {
    markLog();
    parent->detachFromParent();
    EXPECT_NE(lastReport().find("test marker"), std::string::npos);
}

// Tree: root - children x1 (older), y (newer). y has child "x" (depth 1);
// x1 has a child "deep" with a child "x" (depth 2).
struct Search : ::testing::Test {
    Group* root = SceneGraph::createGroup("root");
    Group* older = SceneGraph::createGroup("older");
    Group* newer = SceneGraph::createGroup("newer");
    Group* xUnderNewer = SceneGraph::createGroup("x");
    Group* deep = SceneGraph::createGroup("deep");
    Group* xDeep = SceneGraph::createGroup("x");
    Group* onlyDeep = SceneGraph::createGroup("only");
    void SetUp() override {
        root->attachChild(older);
        root->attachChild(newer);
        newer->attachChild(xUnderNewer);
        older->attachChild(deep);
        deep->attachChild(xDeep);
        xDeep->attachChild(onlyDeep);
    }
    void TearDown() override { SceneGraph::deleteNode(root); }
};

TEST_F(Search, DepthRules) {
    struct Case {
        const char* name;
        u32 depth;
        Node* expected;
    };
    const Case cases[] = {
        {"newer", 0, newer},   {"x", 0, nullptr},       {"x", 1, xUnderNewer},
        {"deep", 0, nullptr},  {"deep", 1, deep},       {"only", 2, nullptr},
        {"only", 3, onlyDeep}, {"missing", 9, nullptr}, {"X", 5, nullptr},
    };
    for (const Case& k : cases) {
        EXPECT_EQ(root->findChild(k.name, k.depth), k.expected) << k.name << " " << k.depth;
    }
}

TEST_F(Search, TheNewerChildsSubtreeWinsAndDirectChildrenFirst) {
    Group* directX = SceneGraph::createGroup("x");
    older->attachChild(directX);
    // Under "older": "x" is a direct child, deeper "x" under "deep".
    EXPECT_EQ(older->findChild("x", 5), directX);
    // From the root both subtrees hold "x" at depth 1; "newer" is searched first.
    EXPECT_EQ(root->findChild("x", 5), xUnderNewer);
}

TEST(NodeName, LongNamesKeepTheirLast255Characters) {
    struct Case {
        size_t length;
        size_t kept;
    };
    const Case cases[] = {{255, 255}, {256, 256}, {257, 255}, {300, 255}};
    for (const Case& k : cases) {
        std::string name;
        for (size_t i = 0; i < k.length; i++) {
            name += static_cast<char>('a' + i % 26);
        }
        Group* node = SceneGraph::createGroup("n");
        node->setName(name.c_str());
        EXPECT_EQ(std::string(node->getName()), name.substr(k.length - k.kept)) << k.length;
        SceneGraph::deleteNode(node);
    }
}

TEST(NodeName, SetNameAcceptsTheNodesOwnName) {
    Group* node = SceneGraph::createGroup("same");
    node->setName(node->getName());
    EXPECT_STREQ(node->getName(), "same");
    SceneGraph::deleteNode(node);
}

TEST_F(Family, DuplicateReversesTheChildrenAndKeepsNamesBelowTheTop) {
    Group* grandchild = SceneGraph::createGroup("g");
    c->attachChild(grandchild);
    parent->setActive(false);
    parent->setDrawSelf(false);
    parent->setTranslation(1, 2, 3);

    Node* copy = parent->duplicate("copy", true);
    ASSERT_NE(copy, nullptr);
    EXPECT_STREQ(copy->getName(), "copy");
    EXPECT_EQ(copy->getType(), static_cast<u32>(kNodeGroup));
    EXPECT_EQ(copy->getParent(), nullptr);
    EXPECT_TRUE(copy->isActive());
    EXPECT_TRUE(copy->getDrawSelf());
    EXPECT_EQ(static_cast<Group*>(copy)->getTranslation().x, 0.0f);
    EXPECT_EQ(childNames(copy), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(childNames(copy->getChild(2)), (std::vector<std::string>{"g"}));
    SceneGraph::deleteNode(copy);

    Node* flat = parent->duplicate(nullptr, false);
    EXPECT_STREQ(flat->getName(), "parent");
    EXPECT_EQ(flat->getChildCount(), 0);
    SceneGraph::deleteNode(flat);
}

TEST(NodeDuplicate, AClassWithoutACloneGivesNull) {
    Node plain("plain", kNodeGroup);
    Group* child = SceneGraph::createGroup("child");
    plain.attachChild(child);
    EXPECT_EQ(plain.duplicate("copy", true), nullptr);
    // A group whose child cannot be copied gets no null child.
    Group* group = SceneGraph::createGroup("group");
    group->attachChild(new Node("plain", kNodeState));
    Node* copy = group->duplicate(nullptr, true);
    EXPECT_EQ(copy->getChildCount(), 0);
    SceneGraph::deleteNode(copy);
    SceneGraph::deleteNode(group);
}

TEST(NodeDraw, ARootOtherThanAWorldWarnsButIsDrawn) {
    Node root("root", kNodeState);
    markLog();
    root.draw(nullptr);
    EXPECT_NE(lastReport().find("The node has no parent"), std::string::npos);
    Node world("world", kNodeWorld);
    markLog();
    world.draw(nullptr);
    EXPECT_NE(lastReport().find("test marker"), std::string::npos);
}

TEST(NodeMemory, ABuiltAndDeletedTreeGivesBackEveryByte) {
    u32 bytes = MemoryGetTotal();
    u32 blocks = MemoryGetBlockCount();
    Group* root = SceneGraph::createGroup("root");
    for (int i = 0; i < 5; i++) {
        Group* child = SceneGraph::createGroup("child");
        root->attachChild(child);
        for (int j = 0; j < 3; j++) {
            child->attachChild(SceneGraph::createGroup("leaf"));
        }
    }
    root->getChild(1)->setName("a longer name than before");
    Node* copy = root->duplicate("copy", true);
    SceneGraph::deleteNode(root->getChild(2));
    EXPECT_GT(MemoryGetTotal(), bytes);
    SceneGraph::deleteNode(copy);
    SceneGraph::deleteNode(root);
    SceneGraph::deleteNode(nullptr);
    EXPECT_EQ(MemoryGetTotal(), bytes);
    EXPECT_EQ(MemoryGetBlockCount(), blocks);
}

} // namespace
