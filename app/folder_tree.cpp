#include "app/folder_tree.h"

#include <algorithm>
#include <utility>

#include "platform/path_text.h"

namespace unit1 {

int FolderTree::AddRoot(const std::filesystem::path& folder, std::string text) {
  nodes_.clear();
  nodes_.push_back({folder, std::move(text), -1, {}});
  return 0;
}

int FolderTree::AddChild(int parent, const std::filesystem::path& name, std::string text) {
  const int index = static_cast<int>(nodes_.size());
  nodes_.push_back({name, std::move(text), parent, {}});
  nodes_.at(static_cast<std::size_t>(parent)).children.push_back(index);
  return index;
}

std::filesystem::path FolderTree::NodePath(int node) const {
  const FolderNode& at = nodes_.at(static_cast<std::size_t>(node));
  if (at.parent < 0) return at.name;
  return NodePath(at.parent) / at.name;
}

int FolderTree::NextInTreeOrder(int node) const {
  if (!nodes_.at(static_cast<std::size_t>(node)).children.empty()) {
    return nodes_[static_cast<std::size_t>(node)].children.front();
  }
  for (int at = node; at >= 0;) {
    const int parent = nodes_[static_cast<std::size_t>(at)].parent;
    if (parent < 0) return -1;
    const std::vector<int>& siblings = nodes_[static_cast<std::size_t>(parent)].children;
    const auto here = std::find(siblings.begin(), siblings.end(), at);
    if (here + 1 < siblings.end()) return *(here + 1);
    at = parent;
  }
  return -1;
}

void FolderTree::SortLevels(
    const std::function<bool(const FolderNode&, const FolderNode&)>& before) {
  for (FolderNode& node : nodes_) {
    std::stable_sort(node.children.begin(), node.children.end(), [&](int a, int b) {
      return before(nodes_[static_cast<std::size_t>(a)], nodes_[static_cast<std::size_t>(b)]);
    });
  }
}

std::string FolderText(const std::filesystem::path& folder) {
  std::filesystem::path shown = folder;
  std::string text = platform::PathToUtf8(shown.make_preferred());
  const char separator = static_cast<char>(std::filesystem::path::preferred_separator);
  if (!text.empty() && text.back() != separator) text += separator;
  return text;
}

}  // namespace unit1
