#include "cli/command_line.h"

#include <algorithm>
#include <sstream>

namespace cli {

namespace {

constexpr std::size_t kOptionColumn = 19;
constexpr std::size_t kLineWidth = 92;

bool IsHelp(const CLI::Option* option) {
  const auto& names = option->get_lnames();
  return std::find(names.begin(), names.end(), "help") != names.end();
}

bool IsFlag(const CLI::Option* option) {
  return option->get_items_expected_max() == 0;
}

// The type name as given, without what a validator adds ("N:UINT in …").
std::string TypeName(const CLI::Option* option) {
  const std::string name = option->get_type_name();
  return name.substr(0, name.find(':'));
}

std::string LongName(const CLI::Option* option) {
  return option->get_lnames().empty() ? "-" + option->get_snames().front()
                                      : "--" + option->get_lnames().front();
}

std::string OptionWords(const CLI::Option* option) {
  if (option->get_positional()) {
    const bool many = option->get_items_expected_max() > 1;
    const std::string words = option->get_name(true) + (many ? "..." : "");
    return option->get_required() ? words : "[" + words + "]";
  }
  std::string words = LongName(option);
  if (!IsFlag(option)) words += " " + TypeName(option);
  return option->get_required() ? words : "[" + words + "]";
}

std::string CommandName(const CLI::App& app) {
  return "quillon-cli " + app.get_name();
}

// One part per option, the positionals last.
std::vector<std::string> SynopsisParts(const CLI::App& app) {
  std::vector<std::string> parts;
  for (const bool positional : {false, true}) {
    for (const CLI::Option* option : app.get_options()) {
      if (option->get_positional() == positional && !IsHelp(option)) {
        parts.push_back(OptionWords(option));
      }
    }
  }
  return parts;
}

}  // namespace

std::unique_ptr<CLI::App> MakeCommandLine(const std::string& name, const std::string& about,
                                          const std::string& footer) {
  auto app = std::make_unique<CLI::App>(about, name);
  app->set_help_flag("-h,--help", "show this help");
  // "/x" is a path, on Windows too (where CLI11 would take it for an option).
  app->allow_windows_style_options(false);
  app->footer(footer);
  return app;
}

std::string Synopsis(const CLI::App& app) {
  std::string text;
  for (const std::string& part : SynopsisParts(app)) text += (text.empty() ? "" : " ") + part;
  return text;
}

std::string Help(const CLI::App& app) {
  std::ostringstream out;
  // The usage line, wrapped under its first word.
  const std::string lead = "Usage: " + CommandName(app) + " ";
  std::string line = lead;
  bool first = true;
  for (const std::string& part : SynopsisParts(app)) {
    if (!first && line.size() + 1 + part.size() > kLineWidth) {
      out << line << '\n';
      line = std::string(lead.size() - 1, ' ');
    }
    line += (first ? "" : " ") + part;
    first = false;
  }
  out << line << '\n' << app.get_description() << "\n\n";

  for (const CLI::Option* option : app.get_options()) {
    if (option->get_positional() || IsHelp(option)) continue;
    std::string names;
    for (const std::string& s : option->get_snames()) names += "-" + s + ", ";
    names += LongName(option);
    if (!IsFlag(option)) names += " " + TypeName(option);
    const std::size_t used = 2 + names.size();
    out << "  " << names << std::string(used < kOptionColumn ? kOptionColumn - used : 1, ' ');
    std::string description = option->get_description();
    for (std::size_t at; (at = description.find('\n')) != std::string::npos;) {
      out << description.substr(0, at) << '\n' << std::string(kOptionColumn, ' ');
      description.erase(0, at + 1);
    }
    out << description << '\n';
  }
  out << "  -h, --help" << std::string(kOptionColumn - 12, ' ') << "show this help\n";
  if (!app.get_footer().empty()) out << '\n' << app.get_footer();
  return out.str();
}

Parsed ParseCommandLine(CLI::App& app, const std::vector<std::string>& args, std::string& error) {
  std::vector<std::string> reversed(args.rbegin(), args.rend());
  try {
    app.parse(reversed);
  } catch (const CLI::CallForHelp&) {
    return Parsed::kHelp;
  } catch (const CLI::ParseError& e) {
    error = e.what();
    std::replace(error.begin(), error.end(), '\n', ' ');
    return Parsed::kError;
  }
  return Parsed::kRun;
}

bool HasFlag(const std::vector<std::string>& args, const std::string& flag) {
  for (const std::string& arg : args) {
    if (arg == "--") return false;
    if (arg == flag) return true;
  }
  return false;
}

}  // namespace cli
