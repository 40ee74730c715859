// Checks that the include graph of the core folders, their qt/ folders
// counted as folders of their own, has no cycle. Prints every cycle it finds
// with the include lines that make it, marking those that point up the layer
// order, and exits 1; exits 0 when there is none.
//
//   tovalk_include_cycles SOURCE_DIR
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Bottom to top, as the build links them.
const std::vector<std::string> kLayers = {"platform", "profile", "analysis", "graphics", "windows", "app"};

struct Include {
  std::string where;  // file:line
  std::string text;   // the line as written
};

using Edges = std::map<std::string, std::map<std::string, std::vector<Include>>>;

// A folder node: "analysis" or "analysis/qt"; empty for a path elsewhere.
std::string NodeOf(const std::string& path) {
  const size_t slash = path.find('/');
  if (slash == std::string::npos) return {};
  const std::string top = path.substr(0, slash);
  if (std::find(kLayers.begin(), kLayers.end(), top) == kLayers.end()) return {};
  return path.compare(slash + 1, 3, "qt/") == 0 ? top + "/qt" : top;
}

// Position in the order; every qt/ folder sits above all of the core.
int Rank(const std::string& node) {
  const bool qt = node.size() > 3 && node.compare(node.size() - 3, 3, "/qt") == 0;
  const std::string top = qt ? node.substr(0, node.size() - 3) : node;
  const int index = static_cast<int>(std::find(kLayers.begin(), kLayers.end(), top) - kLayers.begin());
  return qt ? 100 + index : index;
}

Edges ReadIncludes(const fs::path& root) {
  static const std::regex include(R"(^\s*#\s*include\s*"([^"]+)\")");
  Edges edges;
  for (const std::string& layer : kLayers) {
    if (!fs::is_directory(root / layer)) continue;
    for (const auto& entry : fs::recursive_directory_iterator(root / layer)) {
      const std::string ext = entry.path().extension().string();
      if (!entry.is_regular_file() || (ext != ".h" && ext != ".cpp")) continue;
      const std::string file = fs::relative(entry.path(), root).generic_string();
      const std::string from = NodeOf(file);
      std::ifstream in(entry.path());
      std::string line;
      for (int number = 1; std::getline(in, line); ++number) {
        std::smatch match;
        if (!std::regex_search(line, match, include)) continue;
        const std::string to = NodeOf(match[1].str());
        if (to.empty() || to == from) continue;
        edges[from][to].push_back({file + ":" + std::to_string(number), line});
      }
    }
  }
  return edges;
}

// Tarjan's strongly connected components; those of more than one folder hold cycles.
struct Components {
  const Edges& edges;
  std::map<std::string, int> index, low;
  std::vector<std::string> stack;
  std::set<std::string> onStack;
  std::vector<std::vector<std::string>> found;
  int next = 0;

  void Visit(const std::string& v) {
    index[v] = low[v] = next++;
    stack.push_back(v);
    onStack.insert(v);
    if (const auto out = edges.find(v); out != edges.end()) {
      for (const auto& [w, includes] : out->second) {
        if (!index.count(w)) {
          Visit(w);
          low[v] = std::min(low[v], low[w]);
        } else if (onStack.count(w)) {
          low[v] = std::min(low[v], index[w]);
        }
      }
    }
    if (low[v] != index[v]) return;
    std::vector<std::string> component;
    std::string w;
    do {
      w = stack.back();
      stack.pop_back();
      onStack.erase(w);
      component.push_back(w);
    } while (w != v);
    if (component.size() > 1) found.push_back(component);
  }
};

// The shortest way back from start to itself inside the component.
std::vector<std::string> CycleThrough(const std::string& start, const std::set<std::string>& component,
                                      const Edges& edges) {
  std::map<std::string, std::string> cameFrom;
  std::vector<std::string> frontier = {start};
  while (!frontier.empty()) {
    std::vector<std::string> nextFrontier;
    for (const std::string& v : frontier) {
      const auto out = edges.find(v);
      if (out == edges.end()) continue;
      for (const auto& [w, includes] : out->second) {
        if (!component.count(w) || cameFrom.count(w)) continue;
        cameFrom[w] = v;
        if (w == start) {
          std::vector<std::string> path = {start};
          for (std::string at = cameFrom[start]; at != start; at = cameFrom[at]) path.push_back(at);
          path.push_back(start);
          std::reverse(path.begin(), path.end());
          return path;
        }
        nextFrontier.push_back(w);
      }
    }
    frontier = std::move(nextFrontier);
  }
  return {};
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s SOURCE_DIR\n", argv[0]);
    return 2;
  }
  const Edges edges = ReadIncludes(argv[1]);
  Components components{edges, {}, {}, {}, {}, {}, 0};
  for (const auto& [node, out] : edges) {
    if (!components.index.count(node)) components.Visit(node);
  }
  if (components.found.empty()) {
    std::printf("include graph of the core folders: no cycle\n");
    return 0;
  }
  for (const std::vector<std::string>& component : components.found) {
    const std::set<std::string> members(component.begin(), component.end());
    const std::vector<std::string> cycle = CycleThrough(*members.begin(), members, edges);
    std::string shown;
    for (const std::string& node : cycle) shown += (shown.empty() ? "" : " -> ") + node;
    std::string folders;
    for (const std::string& node : members) folders += (folders.empty() ? "" : ", ") + node;
    std::printf("folders that include each other: %s\nshortest cycle: %s\n", folders.c_str(), shown.c_str());
    for (size_t i = 0; i + 1 < cycle.size(); ++i) {
      const bool upward = Rank(cycle[i + 1]) > Rank(cycle[i]);
      for (const Include& include : edges.at(cycle[i]).at(cycle[i + 1])) {
        std::printf("  %s: %s%s\n", include.where.c_str(), include.text.c_str(),
                    upward ? "   <- against the layer order" : "");
      }
    }
  }
  return 1;
}
