// Checks the include graph of the core folders, their qt/ folders counted as
// folders of their own: it has no cycle, every include follows the links the
// build declares (RULES: lines "folder: linked folders", qt/ folders written
// "graphics/qt"), and no product file includes by a relative path, which
// would bypass the include roots that keep the folders apart. A relative
// include is resolved and counted as the edge it is. Prints every fault with
// the include lines that make it and exits 1; exits 0 when there is none.
//
//   tovalk_include_cycles SOURCE_DIR [RULES]
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Bottom to top, as the build links them.
const std::vector<std::string> kLayers = {"platform", "profile", "analysis", "graphics", "windows", "app"};

struct Include {
  std::string where;  // file:line
  std::string text;   // the line as written
  bool relative = false;
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

// The include as a path from the source root: a relative one resolved from
// the including file's folder.
std::string Resolve(const fs::path& root, const fs::path& includer, const std::string& name, bool* relative) {
  *relative = false;
  if (!NodeOf(name).empty() && name.compare(0, 1, ".") != 0) return name;
  const fs::path beside = includer.parent_path() / name;
  if (!fs::exists(beside)) return name;  // generated (ui_*.h) or a system header
  *relative = true;
  return fs::relative(fs::weakly_canonical(beside), fs::weakly_canonical(root)).generic_string();
}

Edges ReadIncludes(const fs::path& root, std::vector<Include>* relatives) {
  static const std::regex include(R"(^\s*#\s*include\s*"([^"]+)\")");
  Edges edges;
  for (const std::string& layer : kLayers) {
    if (!fs::is_directory(root / layer)) continue;
    for (const auto& entry : fs::recursive_directory_iterator(root / layer)) {
      const std::string ext = entry.path().extension().string();
      if (!entry.is_regular_file() || (ext != ".h" && ext != ".cpp")) continue;
      const std::string file = fs::relative(entry.path(), root).generic_string();
      // Program entry points are in no library; they link what they use.
      const bool entryPoint = file.size() > 9 && file.compare(file.size() - 9, 9, "_main.cpp") == 0;
      const std::string from = NodeOf(file);
      std::ifstream in(entry.path());
      std::string line;
      for (int number = 1; std::getline(in, line); ++number) {
        std::smatch match;
        if (!std::regex_search(line, match, include)) continue;
        Include found{file + ":" + std::to_string(number), line};
        const std::string target = Resolve(root, entry.path(), match[1].str(), &found.relative);
        if (found.relative) relatives->push_back(found);
        const std::string to = NodeOf(target);
        if (to.empty() || to == from || entryPoint) continue;
        edges[from][to].push_back(found);
      }
    }
  }
  return edges;
}

// The declared links, "graphics: analysis profile platform" a line.
using Links = std::map<std::string, std::set<std::string>>;

Links ReadLinks(const fs::path& rules) {
  Links links;
  std::ifstream in(rules);
  std::string line;
  while (std::getline(in, line)) {
    const size_t colon = line.find(':');
    if (colon == std::string::npos) continue;
    std::set<std::string>& to = links[line.substr(0, colon)];
    std::istringstream words(line.substr(colon + 1));
    for (std::string word; words >> word;) to.insert(word);
  }
  return links;
}

// What a folder may include: what it links, directly or through others.
std::set<std::string> Reachable(const Links& links, const std::string& from) {
  std::set<std::string> seen;
  std::vector<std::string> todo = {from};
  while (!todo.empty()) {
    const std::string at = todo.back();
    todo.pop_back();
    const auto out = links.find(at);
    if (out == links.end()) continue;
    for (const std::string& to : out->second) {
      if (seen.insert(to).second) todo.push_back(to);
    }
  }
  return seen;
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
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: %s SOURCE_DIR [RULES]\n", argv[0]);
    return 2;
  }
  std::vector<Include> relatives;
  const Edges edges = ReadIncludes(argv[1], &relatives);
  int faults = 0;
  for (const Include& include : relatives) {
    std::printf("%s: %s   <- a relative include; name the file from its folder\n", include.where.c_str(),
                include.text.c_str());
    ++faults;
  }
  if (argc == 3) {
    const Links links = ReadLinks(argv[2]);
    if (links.empty()) {
      std::fprintf(stderr, "%s: no links read\n", argv[2]);
      return 2;
    }
    for (const auto& [from, out] : edges) {
      const std::set<std::string> allowed = Reachable(links, from);
      for (const auto& [to, includes] : out) {
        if (allowed.count(to)) continue;
        for (const Include& include : includes) {
          std::printf("%s: %s   <- %s does not link %s\n", include.where.c_str(), include.text.c_str(), from.c_str(),
                      to.c_str());
          ++faults;
        }
      }
    }
  }
  Components components{edges, {}, {}, {}, {}, {}, 0};
  for (const auto& [node, out] : edges) {
    if (!components.index.count(node)) components.Visit(node);
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
    ++faults;
  }
  if (faults == 0) {
    std::printf("include graph of the core folders: no cycle, every include along a declared link\n");
    return 0;
  }
  return 1;
}
