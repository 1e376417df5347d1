// The folder tree as records: the search folder and the folders below it.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace unit1 {

struct FolderNode {
  std::filesystem::path name;  // the root: the search folder's path; else the folder's name
  std::string text;            // UTF-8, as shown
  int parent = -1;             // index of the parent node; -1 for the root
  std::vector<int> children;   // indexes, in the order shown
};

class FolderTree {
 public:
  // Node 0 is the root; nodes are never removed but by Clear.
  const std::vector<FolderNode>& nodes() const { return nodes_; }
  bool empty() const { return nodes_.empty(); }
  void Clear() { nodes_.clear(); }
  int AddRoot(const std::filesystem::path& folder, std::string text);
  int AddChild(int parent, const std::filesystem::path& name, std::string text);
  // The folder of a node: the search folder followed by the names on the way down.
  std::filesystem::path NodePath(int node) const;
  // The node after `node` in tree order (a node, then its subtree, then its
  // next sibling); -1 after the last.
  int NextInTreeOrder(int node) const;
  // Orders the children of every node by `before`.
  void SortLevels(const std::function<bool(const FolderNode&, const FolderNode&)>& before);

 private:
  std::vector<FolderNode> nodes_;
};

// A folder as shown and kept: UTF-8, the system's separators, ending in one.
std::string FolderText(const std::filesystem::path& folder);

}  // namespace unit1
