// The command line of a subcommand, described once through CLI11: its
// parser, its "--help" text and its synopsis in "quillon-cli --help" all
// come from that one description.
#pragma once

#include <CLI/CLI.hpp>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace cli {

// A command's description: `about` opens its help after the usage line,
// `footer` closes it. Options and positionals are added by the command,
// each option with its type name ("DIR") and text (continuation lines start
// with "\n").
std::unique_ptr<CLI::App> MakeCommandLine(const std::string& name, const std::string& about,
                                          const std::string& footer);

// "--dest DIR [--settings FILE] [--dry-run] … PATH...".
std::string Synopsis(const CLI::App& app);

// "Usage: quillon-cli NAME SYNOPSIS", the about text, the options and the
// footer.
std::string Help(const CLI::App& app);

enum class Parsed { kRun, kHelp, kError };

// Parses the words after the command's name into the variables the options
// were bound to. kHelp: the help was asked for; kError: `error` says what was
// wrong, on one line.
Parsed ParseCommandLine(CLI::App& app, const std::vector<std::string>& args, std::string& error);

// Whether a flag stands before the end of the options ("--"): for reporting
// a command line that could not be parsed as its flags ask.
bool HasFlag(const std::vector<std::string>& args, const std::string& flag);

}  // namespace cli
