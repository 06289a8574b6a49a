#pragma once
// The fixed tree of clinical conditions by which the diet catalogue is
// narrowed. A node's index (1 to 95) is its place in the order the tree is
// built; the catalogue maps that index to a category code through the table
// Category Codes Diets, so the order here must never change.
//
// A top-level node carries its text as its key and the pictures "Closed" and
// "Opened"; a second-level node with children of its own carries its text as
// key (its children are added under that key); every other node has neither.
#include <QString>
#include <array>

namespace ConditionTree {

struct Node {
    int index;        // 1 to 95, in the order of adding
    const char *text; // the caption, exactly as shown
    int level;        // 1 top level, 2 or 3
    int parent;       // the parent's index; 0 for a top-level node
    bool keyed;       // carries its text as its key
};

constexpr int kNodeCount = 95;
/// The node that lists the practice's own diets instead of a category.
constexpr int kAddedIndex = 91;
inline const QString kAddedText = QStringLiteral("Added");
/// The keys of the two pictures of the tree's image list.
inline const QString kClosedImage = QStringLiteral("Closed");
inline const QString kOpenedImage = QStringLiteral("Opened");

/// Every node, in the order of adding (nodes()[i].index == i + 1).
const std::array<Node, kNodeCount> &nodes();
/// The node of a 1-based index; index must be 1 to kNodeCount.
const Node &node(int index);

QString text(const Node &n);
/// The node's key, "" when it has none.
QString key(const Node &n);
/// The key the node is added under: its parent's key, "" for a top-level node.
QString parentKey(const Node &n);
/// The node's picture and its picture when expanded: "Closed" and "Opened"
/// for a top-level node, "" for every other.
QString image(const Node &n);
QString expandedImage(const Node &n);

} // namespace ConditionTree
