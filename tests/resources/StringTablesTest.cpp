// Every text the code looks up has its entry in both interface languages.
// The keys are read from the sources: the literal (or the literals of the
// array, variable or table of structs it comes from) given to
// Language::get, TKLibraryLocalizedString, and every one-line function that
// passes its argument on to one of them.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "platform/foundation/Bundle.h"
#include "platform/foundation/Paths.h"
#include "platform/foundation/String.h"

namespace fs = std::filesystem;

namespace {

struct Source {
  std::string path;  // relative to the source tree
  std::string code;  // comments blanked, lines kept
};

// Blanks comments (keeping newlines) and leaves string and character literals.
std::string withoutComments(const std::string& text) {
  std::string out = text;
  for (size_t i = 0; i < out.size(); ++i) {
    char c = out[i];
    if (c == '"' || c == '\'') {
      for (++i; i < out.size() && out[i] != c; ++i)
        if (out[i] == '\\') ++i;
    } else if (c == '/' && i + 1 < out.size() && out[i + 1] == '/') {
      while (i < out.size() && out[i] != '\n') out[i++] = ' ';
    } else if (c == '/' && i + 1 < out.size() && out[i + 1] == '*') {
      size_t end = out.find("*/", i + 2);
      end = end == std::string::npos ? out.size() : end + 2;
      for (; i < end; ++i)
        if (out[i] != '\n') out[i] = ' ';
      --i;
    }
  }
  return out;
}

std::vector<Source> readSources() {
  std::vector<Source> sources;
  const fs::path root = ns::sourceDirectory();
  for (const char* dir : {"Classes", "toolkit", "src"}) {
    if (!fs::exists(root / dir)) continue;
    for (const auto& entry : fs::recursive_directory_iterator(root / dir)) {
      std::string ext = entry.path().extension().string();
      if (!entry.is_regular_file() || (ext != ".cpp" && ext != ".h")) continue;
      std::ifstream in(entry.path());
      std::stringstream text;
      text << in.rdbuf();
      sources.push_back({fs::relative(entry.path(), root).generic_string(), withoutComments(text.str())});
    }
  }
  std::sort(sources.begin(), sources.end(), [](const Source& a, const Source& b) { return a.path < b.path; });
  return sources;
}

int lineOf(const std::string& code, size_t at) {
  return 1 + static_cast<int>(std::count(code.begin(), code.begin() + static_cast<long>(at), '\n'));
}

// The text between the bracket at `open` and its partner, exclusive; npos-safe.
std::string bracketed(const std::string& code, size_t open) {
  const char o = code[open], c = o == '(' ? ')' : o == '{' ? '}' : ']';
  int depth = 0;
  for (size_t i = open; i < code.size(); ++i) {
    if (code[i] == '"' || code[i] == '\'') {
      char q = code[i];
      for (++i; i < code.size() && code[i] != q; ++i)
        if (code[i] == '\\') ++i;
    } else if (code[i] == o) {
      ++depth;
    } else if (code[i] == c && --depth == 0) {
      return code.substr(open + 1, i - open - 1);
    }
  }
  return code.substr(open + 1);
}

// Splits at the commas outside brackets and literals.
std::vector<std::string> topLevelItems(const std::string& text) {
  std::vector<std::string> items;
  int depth = 0;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    char ch = text[i];
    if (ch == '"' || ch == '\'') {
      for (++i; i < text.size() && text[i] != ch; ++i)
        if (text[i] == '\\') ++i;
    } else if (ch == '(' || ch == '{' || ch == '[') {
      ++depth;
    } else if (ch == ')' || ch == '}' || ch == ']') {
      --depth;
    } else if (ch == ',' && depth == 0) {
      items.push_back(text.substr(start, i - start));
      start = i + 1;
    }
  }
  items.push_back(text.substr(start));
  return items;
}

// The string literals of an expression, adjacent ones joined, escapes read.
std::vector<std::string> literalsIn(const std::string& text) {
  std::vector<std::string> out;
  bool joining = false;
  for (size_t i = 0; i < text.size(); ++i) {
    char ch = text[i];
    if (ch == '\'') {
      for (++i; i < text.size() && text[i] != '\''; ++i)
        if (text[i] == '\\') ++i;
      joining = false;
      continue;
    }
    if (ch != '"') {
      if (!std::isspace(static_cast<unsigned char>(ch))) joining = false;
      continue;
    }
    std::string literal;
    for (++i; i < text.size() && text[i] != '"'; ++i) {
      if (text[i] != '\\' || i + 1 >= text.size()) {
        literal += text[i];
        continue;
      }
      char e = text[++i];
      if (e == 'n') literal += '\n';
      else if (e == 't') literal += '\t';
      else if (e == 'u' && i + 4 < text.size()) {
        ns::appendUtf8(literal, static_cast<char32_t>(std::stoul(text.substr(i + 1, 4), nullptr, 16)));
        i += 4;
      } else literal += e;
    }
    if (joining && !out.empty()) out.back() += literal;
    else out.push_back(literal);
    joining = true;
  }
  return out;
}

enum class Table { Application, Toolkit };

struct Lookup {
  std::string key;
  Table table;
  std::string where;  // file:line
};

std::string folderOf(const std::string& path) { return fs::path(path).parent_path().generic_string(); }

bool isIdentifierChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// Finds the keys the code looks up. A lookup function is Language::get,
// TKLibraryLocalizedString, or a function that hands one of its parameters
// (or each item of it) on to a lookup function; its callers then give the keys.
class KeyScanner {
 public:
  explicit KeyScanner(std::vector<Source> sources) : sources_(std::move(sources)) {
    for (const Source& s : sources_) byPath_[s.path] = &s;
    lookups_fn_["Language::get"].push_back({Table::Application, 0, {}, true});
    lookups_fn_["TKLibraryLocalizedString"].push_back({Table::Toolkit, 0, {}, true});
    while (findForwarders()) {
    }
    findLocalizingFunctions();
    for (const Source& s : sources_) scanCalls(s);
  }
  const std::vector<Lookup>& lookups() const { return lookups_; }
  const std::vector<std::string>& unresolved() const { return unresolved_; }

 private:
  struct LookupFunction {
    Table table;
    size_t arg;                   // the argument that is the key
    std::set<std::string> files;  // where it may be called
    bool everywhere = false;
  };
  struct Forwarding {  // a call inside a forwarder that its callers resolve
    std::string file;
    size_t from, to;
    std::set<std::string> names;
  };

  // The function definitions of a file: name, parameter names, body range.
  struct Definition {
    std::string name;
    std::vector<std::string> params;
    size_t bodyFrom, bodyTo;
  };
  std::vector<Definition> definitionsOf(const Source& s) {
    std::vector<Definition> out;
    static const std::regex def(R"(((?:\w+::)*~?\w+)\s*\(([^()]*)\)\s*(?:const\s*)?(?:override\s*)?(?:noexcept\s*)?\{)");
    static const std::set<std::string> keywords = {"if", "for", "while", "switch", "catch", "return", "sizeof"};
    for (std::sregex_iterator m(s.code.begin(), s.code.end(), def), end; m != end; ++m) {
      std::string name = (*m)[1];
      if (keywords.count(name)) continue;
      std::vector<std::string> params;
      for (const std::string& p : topLevelItems((*m)[2])) {
        std::string decl = ns::trim(p.substr(0, p.find('=')));
        size_t e = decl.size();
        while (e > 0 && !isIdentifierChar(decl[e - 1])) --e;
        size_t b = e;
        while (b > 0 && isIdentifierChar(decl[b - 1])) --b;
        params.push_back(decl.substr(b, e - b));
      }
      size_t open = static_cast<size_t>(m->position(0) + m->length(0) - 1);
      out.push_back({name, params, open, open + bracketed(s.code, open).size() + 1});
    }
    return out;
  }

  // The files that may call a function defined (or declared) in `file`.
  std::set<std::string> callersOf(const std::string& file, const std::string& name, bool method) {
    std::set<std::string> files{file};
    std::vector<std::string> headers;
    if (file.ends_with(".h")) headers.push_back(file);
    std::regex declaration("\\b" + name + R"(\s*\(\s*(const\s+)?(std::string|char|std::string_view)\b[^;{}]*\)\s*;)");
    for (const Source& s : sources_)
      if (s.path.ends_with(".h") && folderOf(s.path) == folderOf(file) && (method || std::regex_search(s.code, declaration)))
        headers.push_back(s.path);
    for (const Source& s : sources_) {
      if (method && folderOf(s.path) == folderOf(file)) files.insert(s.path);
      for (const std::string& h : headers)
        if (s.code.find("\"" + h + "\"") != std::string::npos) files.insert(s.path);
    }
    return files;
  }

  const LookupFunction* lookupFunction(const std::string& qualified, const std::string& file, bool member) const {
    std::string name = qualified;
    if (name != "Language::get") name = name.substr(name.rfind(':') == std::string::npos ? 0 : name.rfind(':') + 1);
    auto it = lookups_fn_.find(name);
    if (it == lookups_fn_.end()) return nullptr;
    for (const LookupFunction& f : it->second)
      if ((f.everywhere || f.files.count(file)) && (!member || f.files.size() > 1 || f.everywhere)) return &f;
    return nullptr;
  }

  // Finds functions that pass a parameter on to a lookup, and other names for
  // lookup functions (auto text = screens::localized;); true when one is new.
  bool findForwarders() {
    bool found = false;
    static const std::regex alias(R"((?:constexpr\s+|const\s+|static\s+)*auto\s*&?\s*(\w+)\s*=\s*&?((?:\w+::)*\w+)\s*;)");
    for (const Source& s : sources_) {
      for (std::sregex_iterator m(s.code.begin(), s.code.end(), alias), end; m != end; ++m) {
        const LookupFunction* f = lookupFunction((*m)[2], s.path, false);
        std::string name = (*m)[1];
        if (!f || lookupFunction(name, s.path, false)) continue;
        lookups_fn_[name].push_back({f->table, f->arg, callersOf(s.path, name, false)});
        found = true;
      }
    }
    for (const Source& s : sources_) {
      for (const Definition& d : definitionsOf(s)) {
        std::string body = s.code.substr(d.bodyFrom, d.bodyTo - d.bodyFrom);
        forEachCall(s, d.bodyFrom, d.bodyTo, [&](const LookupFunction& f, const std::string& arg, size_t) {
          std::string a = ns::trim(arg);
          auto param = std::find(d.params.begin(), d.params.end(), a);
          if (param == d.params.end()) {
            // An item of a parameter: for (... a : param)
            if (a.empty() || !std::all_of(a.begin(), a.end(), isIdentifierChar)) return;
            std::smatch loop;
            std::regex item("for\\s*\\([^:;]*\\b" + a + R"(\s*:\s*(\w+)\s*\))");
            if (!std::regex_search(body, loop, item)) return;
            param = std::find(d.params.begin(), d.params.end(), loop[1].str());
            if (param == d.params.end()) return;
          }
          forwardings_.push_back({s.path, d.bodyFrom, d.bodyTo, {a}});
          std::string simple = d.name.substr(d.name.rfind(':') == std::string::npos ? 0 : d.name.rfind(':') + 1);
          size_t index = static_cast<size_t>(param - d.params.begin());
          auto& list = lookups_fn_[simple];
          bool known = std::any_of(list.begin(), list.end(), [&](const LookupFunction& g) {
            return g.arg == index && g.files.count(s.path);
          });
          if (known) return;
          list.push_back({f.table, index, callersOf(s.path, simple, d.name.find("::") != std::string::npos)});
          found = true;
        });
      }
    }
    return found;
  }

  // Functions whose every return hands back looked-up text (a lookup, or a
  // list of lookups): text from them is already in the reader's language.
  void findLocalizingFunctions() {
    static const std::regex returned(R"(\breturn\b([^;]*);)");
    for (const Source& s : sources_) {
      for (const Definition& d : definitionsOf(s)) {
        std::string body = s.code.substr(d.bodyFrom, d.bodyTo - d.bodyFrom);
        bool any = false, all = true;
        for (std::sregex_iterator m(body.begin(), body.end(), returned), end; m != end && all; ++m) {
          std::string value = ns::trim((*m)[1].str());
          if (value.starts_with("{") && value.ends_with("}")) value = value.substr(1, value.size() - 2);
          for (const std::string& item : topLevelItems(value)) {
            std::smatch call;
            static const std::regex head(R"(^\s*((?:\w+::)*\w+)\s*\()");
            all = all && std::regex_search(item, call, head) && lookupFunction(call[1], s.path, false);
          }
          any = true;
        }
        std::string simple = d.name.substr(d.name.rfind(':') == std::string::npos ? 0 : d.name.rfind(':') + 1);
        if (any && all) localizing_.insert(simple);
      }
    }
  }

  bool isLocalizedAlready(const std::string& arg) const {
    std::smatch m;
    static const std::regex call(R"((\w+)\s*\([^()]*\)\s*(\[[^\]]*\]\s*)?$)");
    return std::regex_search(arg, m, call) && localizing_.count(m[1]);
  }

  template <typename Fn>
  void forEachCall(const Source& s, size_t from, size_t to, Fn fn) {
    static const std::regex call(R"(((?:\w+::)*\w+)\s*\()");
    auto begin = s.code.begin() + static_cast<long>(from), end = s.code.begin() + static_cast<long>(to);
    for (std::sregex_iterator m(begin, end, call), stop; m != stop; ++m) {
      size_t at = from + static_cast<size_t>(m->position(0));
      char before = at > 0 ? s.code[at - 1] : ' ';
      if (isIdentifierChar(before)) continue;
      bool member = before == '.' || before == '>';
      const LookupFunction* f = lookupFunction((*m)[1], s.path, member);
      if (!f) continue;
      auto args = topLevelItems(bracketed(s.code, at + static_cast<size_t>(m->length(0)) - 1));
      if (f->arg >= args.size() || ns::trim(args[f->arg]).empty()) continue;
      static const std::regex parameter(R"(^\s*(const\s+)?(std::\w+|char|auto)\b)");
      if (std::regex_search(args[f->arg], parameter)) continue;  // a declaration
      fn(*f, args[f->arg], at);
    }
  }

  bool isForwarded(const std::string& file, size_t at, const std::string& arg) const {
    return std::any_of(forwardings_.begin(), forwardings_.end(), [&](const Forwarding& w) {
      return w.file == file && at >= w.from && at < w.to && w.names.count(ns::trim(arg));
    });
  }

  void scanCalls(const Source& s) {
    forEachCall(s, 0, s.code.size(), [&](const LookupFunction& f, const std::string& arg, size_t at) {
      if (isForwarded(s.path, at, arg) || isLocalizedAlready(arg)) return;
      std::string where = s.path + ":" + std::to_string(lineOf(s.code, at));
      std::vector<std::string> keys = keysOf(s, arg, at);
      if (keys.size() == 1 && keys[0] == kLocalized) return;
      if (keys.empty()) unresolved_.push_back(where + ": " + ns::trim(arg));
      for (auto& key : keys) lookups_.push_back({key, f.table, where});
    });
  }

  // The literals an expression can give: with a condition, those of its branches.
  static std::vector<std::string> valuesOf(const std::string& expression) {
    int depth = 0;
    for (size_t i = 0; i < expression.size(); ++i) {
      char c = expression[i];
      if (c == '"' || c == '\'') {
        for (++i; i < expression.size() && expression[i] != c; ++i)
          if (expression[i] == '\\') ++i;
      } else if (c == '(' || c == '[' || c == '{') {
        ++depth;
      } else if (c == ')' || c == ']' || c == '}') {
        --depth;
      } else if (c == '?' && depth == 0) {
        return literalsIn(expression.substr(i + 1));
      }
    }
    return literalsIn(expression);
  }

  // Stands for "the text is already looked up" among the keys of a definition.
  static constexpr const char* kLocalized = "\x01localized";

  std::vector<std::string> keysOf(const Source& s, const std::string& arg, size_t at) {
    std::vector<std::string> keys = valuesOf(arg);
    if (!keys.empty()) {
      std::erase(keys, "");
      return keys;
    }
    std::smatch m;
    static const std::regex named(R"(^\s*([A-Za-z_]\w*)\s*(\[.*\])?\s*$)");
    static const std::regex field(R"((?:->|\.)\s*(\w+)\s*$)");
    if (std::regex_match(arg, m, named)) keys = definedKeys(s, m[1], at);
    else if (std::regex_search(arg, m, field)) keys = fieldKeys(s, m[1]);
    std::erase(keys, "");
    return keys;
  }

  // The literals of the nearest definition of a name before the call in its
  // file (an array, a variable, a loop over a list), else in its folder.
  std::vector<std::string> definedKeys(const Source& s, const std::string& name, size_t at) {
    std::regex init("\\b" + name + R"(\s*(?:\[[^\]]*\]\s*)*(?:(=\s*\{|\{|:\s*\{)|=([^;{]*);))");
    auto search = [&](const Source& d, size_t limit) -> std::optional<std::vector<std::string>> {
      std::optional<std::vector<std::string>> found;
      auto end = d.code.begin() + static_cast<long>(std::min(limit, d.code.size()));
      for (std::sregex_iterator m(d.code.begin(), end, init), stop; m != stop; ++m) {
        if (m->position(0) > 0 && (isIdentifierChar(d.code[m->position(0) - 1]) || d.code[m->position(0) - 1] == '.'))
          continue;
        if ((*m)[1].matched) {
          size_t open = static_cast<size_t>(m->position(1) + m->length(1) - 1);
          found = literalsIn(bracketed(d.code, open));
        } else {
          found = valuesOf((*m)[2]);
          // Text that is already looked up counts as resolved, with no key of its own.
          if (found->empty() && isLocalizedAlready((*m)[2])) found = std::vector<std::string>{kLocalized};
        }
      }
      return found;
    };
    if (auto keys = search(s, at)) return *keys;
    for (const Source& d : sources_)
      if (&d != &s && folderOf(d.path) == folderOf(s.path))
        if (auto keys = search(d, d.code.size())) return *keys;
    return {};
  }

  // The literals at the field's place in every row of the arrays of a struct
  // that has that field, in the files of the same folder.
  std::vector<std::string> fieldKeys(const Source& s, const std::string& fieldName) {
    std::vector<std::string> keys;
    const std::string folder = folderOf(s.path);
    static const std::regex structDef(R"(struct\s+(\w+)\s*\{)");
    for (const Source& d : sources_) {
      if (folderOf(d.path) != folder) continue;
      for (std::sregex_iterator m(d.code.begin(), d.code.end(), structDef), end; m != end; ++m) {
        std::string body = bracketed(d.code, static_cast<size_t>(m->position(0) + m->length(0) - 1));
        int index = -1, n = 0;
        for (const std::string& decl : ns::componentsSeparatedByString(body, ";")) {
          std::string t = ns::trim(decl);
          if (t.empty() || t.find('(') != std::string::npos) continue;
          for (const std::string& part : topLevelItems(t)) {
            std::string p = ns::trim(part.substr(0, part.find('=')));
            size_t b = p.size();
            while (b > 0 && isIdentifierChar(p[b - 1])) --b;
            if (p.substr(b) == fieldName) index = n;
            ++n;
          }
        }
        if (index >= 0) rowsOf((*m)[1], folder, static_cast<size_t>(index), keys);
      }
    }
    return keys;
  }

  void rowsOf(const std::string& type, const std::string& folder, size_t index, std::vector<std::string>& keys) {
    std::regex array("\\b" + type + R"(\s+\w+\s*\[[^\]]*\]\s*=\s*\{)");
    for (const Source& d : sources_) {
      if (folderOf(d.path) != folder) continue;
      for (std::sregex_iterator m(d.code.begin(), d.code.end(), array), end; m != end; ++m) {
        std::string rows = bracketed(d.code, static_cast<size_t>(m->position(0) + m->length(0) - 1));
        for (const std::string& row : topLevelItems(rows)) {
          size_t open = row.find('{');
          if (open == std::string::npos) continue;
          auto items = topLevelItems(bracketed(row, open));
          if (index < items.size())
            for (auto& k : literalsIn(items[index])) keys.push_back(k);
        }
      }
    }
  }

  std::vector<Source> sources_;
  std::map<std::string, const Source*> byPath_;
  std::map<std::string, std::vector<LookupFunction>> lookups_fn_;
  std::vector<Forwarding> forwardings_;
  std::set<std::string> localizing_;
  std::vector<Lookup> lookups_;
  std::vector<std::string> unresolved_;
};

const KeyScanner& scanner() {
  static const KeyScanner s(readSources());
  return s;
}

struct NamedTable {
  std::string path;  // relative to the source tree
  ns::StringTable strings;
};

std::vector<NamedTable> tablesOf(Table table) {
  std::vector<NamedTable> out;
  const fs::path root = ns::sourceDirectory();
  const fs::path dir = root / "resources" / (table == Table::Toolkit ? "Toolkit.bundle" : "");
  for (const char* language : {"en", "ar"}) {
    fs::path file = dir / (std::string(language) + ".lproj") / "Localizable.strings";
    // The toolkit's English is its keys; it has no table of its own.
    if (table == Table::Toolkit && std::string(language) == "en") continue;
    auto strings = ns::StringTable::load(file.string());
    out.push_back({fs::relative(file, root).generic_string(), strings.value_or(ns::StringTable())});
  }
  return out;
}

}  // namespace

// The ways the code names a key, in a small tree of sources.
TEST(StringTables, TheScannerFindsKeysHoweverTheCodeNamesThem) {
  std::vector<Source> tree = {
      {"Classes/common/Support.h",
       "inline std::string localized(const std::string& key) { return Language::get(key, key); }\n"},
      {"Classes/a/Screen.cpp",
       "#include \"Classes/common/Support.h\"\n"
       "constexpr auto text = localized;\n"
       "void Screen::setTitles(Button& b, const std::string& title) { b.setTitle(text(title)); }\n"
       "void Screen::sheet(const std::vector<std::string>& entries) { for (auto& e : entries) text(e); }\n"
       "std::vector<std::string> Screen::names() { return {text(\"Copy\"), text(\"Paste\")}; }\n"
       "void Screen::load() {\n"
       "  label->setText(Language::get(\"Loading...\", \"Loading...\"));\n"
       "  setTitles(*button, done ? \"Done\" : \"Edit\");\n"
       "  sheet({\"Reading\", \"Memorizing\"});\n"
       "  static const char* kKeys[] = {\"Sura Name\", \"Meaning\"};\n"
       "  label->setText(text(kKeys[k]));\n"
       "  std::string back = defaults().boolForKey(\"Sections\") ? \"Index\" : \"Suras\";\n"
       "  label->setText(localized(back));\n"
       "  label->setText(text(names()[0]));\n"
       "  label->setText(TKLibraryLocalizedString(\"Today\"));\n"
       "  label->setText(text(someone->title()));\n"
       "  label->setText(item.text());\n"
       "}\n"},
      {"Classes/a/Tables.h",
       "struct Entry { int id; const char* name; const char* meaning; };\n"
       "inline constexpr Entry kEntries[] = {{1, \"Al-Fatiha\", \"The Opening\"}, {2, \"Al-Baqara\", nullptr}};\n"},
      {"Classes/a/Names.cpp",
       "#include \"Classes/common/Support.h\"\nstd::string nameOf(const Entry* e) { return localized(e->meaning); }\n"},
  };
  KeyScanner scan(tree);
  std::map<std::string, Table> keys;
  for (const auto& l : scan.lookups()) keys[l.key] = l.table;
  std::map<std::string, Table> expected = {
      {"Loading...", Table::Application}, {"Done", Table::Application},      {"Edit", Table::Application},
      {"Reading", Table::Application},    {"Memorizing", Table::Application}, {"Sura Name", Table::Application},
      {"Meaning", Table::Application},    {"Index", Table::Application},     {"Suras", Table::Application},
      {"Copy", Table::Application},       {"Paste", Table::Application},     {"Today", Table::Toolkit},
      {"The Opening", Table::Application},
  };
  EXPECT_EQ(keys, expected);
  EXPECT_EQ(scan.unresolved(), std::vector<std::string>{"Classes/a/Screen.cpp:16: someone->title()"});
}

// The real tree: a change that hid the lookups from the scanner would pass
// every other test here.
TEST(StringTables, TheScannerReadsTheWholeTree) {
  std::set<std::string> keys;
  for (const auto& l : scanner().lookups()) keys.insert(l.key);
  EXPECT_GT(keys.size(), 300u);
}

TEST(StringTables, EveryLookupNamesItsKeyInTheCode) {
  std::string list;
  for (const auto& u : scanner().unresolved()) list += "\n  " + u;
  EXPECT_TRUE(list.empty())
      << "lookups whose key the code does not show: pass the English text as a literal, or take it from an array, a "
         "variable or a table of structs defined in the same file or folder:"
      << list;
}

TEST(StringTables, BothLanguagesHoldEveryKeyTheCodeLooksUp) {
  for (Table table : {Table::Application, Table::Toolkit}) {
    for (const NamedTable& t : tablesOf(table)) {
      std::map<std::string, std::vector<std::string>> missing;
      for (const auto& l : scanner().lookups())
        if (l.table == table && !t.strings.lookup(l.key)) missing[l.key].push_back(l.where);
      std::string list;
      for (const auto& [key, places] : missing) {
        list += "\n  \"" + ns::replaceAll(key, "\n", "\\n") + "\" (" + places.front();
        if (places.size() > 1) list += " and " + std::to_string(places.size() - 1) + " more";
        list += ")";
      }
      EXPECT_TRUE(missing.empty()) << missing.size() << " keys missing from " << t.path << ":" << list;
    }
  }
}

// An Arabic entry is written in Arabic: a value with Latin letters (beyond
// its format specifiers) and no Arabic one is a copy of the English left behind.
TEST(StringTables, ArabicEntriesAreWrittenInArabic) {
  const std::string path = "resources/ar.lproj/Localizable.strings";
  auto table = ns::StringTable::load(ns::sourceDirectory() + "/" + path);
  ASSERT_TRUE(table) << path;
  std::string list;
  static const std::regex specifier(R"(%(\d+\$)?[-+ 0#]*\d*(\.\d+)?(l|ll|h)?[@dDiuUxXfeEgGcsSp%])");
  for (const auto& [key, value] : table->entries()) {
    std::u32string text = ns::utf8ToUtf32(std::regex_replace(value, specifier, ""));
    bool arabic = std::any_of(text.begin(), text.end(), [](char32_t c) { return c >= 0x0600 && c <= 0x06FF; });
    bool latin = std::any_of(text.begin(), text.end(), [](char32_t c) { return (c | 0x20) >= 'a' && (c | 0x20) <= 'z'; });
    if (latin && !arabic) list += "\n  \"" + key + "\" = \"" + value + "\"";
  }
  EXPECT_TRUE(list.empty()) << path << " holds English where Arabic belongs:" << list;
}
