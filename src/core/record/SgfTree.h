#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace zel {

struct SgfProperty {
    std::string Id;                  // upper-case letters only
    std::vector<std::string> Values; // unescaped, bytes as in the file
};

struct SgfNode {
    std::vector<SgfProperty> Properties;
    std::vector<int> Children; // indices into SgfTree::Nodes; the first continues the line
    int Parent = -1;

    // The first value of property `id`, or nullptr.
    const std::string* Find(std::string_view id) const;
    // Every value of every property `id`, in file order.
    std::vector<std::string> All(std::string_view id) const;
};

// The first game tree of an SGF collection; Nodes[0] is its root node.
struct SgfTree {
    std::vector<SgfNode> Nodes;
};

enum class SgfStatus { Ok, Empty, Syntax, TooLarge };

// Limits that hostile files cannot exceed.
constexpr std::size_t kSgfMaxNodes = 100000;
constexpr std::size_t kSgfMaxBytes = 8 * 1024 * 1024;

// Parses the first game tree of `text`, without recursion. Anything before
// the first '(' and after the tree's closing ')' is ignored.
SgfStatus ParseSgf(std::string_view text, SgfTree& tree);

// A property value escaped for an SGF file ('\' and ']' get a backslash).
std::string SgfEscape(std::string_view value);

} // namespace zel
