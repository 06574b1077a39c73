#pragma once
// Texts made from the option table: --help, the man page and the shell completions.

#include <string>

namespace vellumo::cli {

// --help, in the user's language.
std::string HelpText();

// The man page vellumo-cli.1 (roff), for the version given.
std::string CliManPage(const std::string& version);

// Completion scripts: bash, zsh and fish.
std::string BashCompletion();
std::string ZshCompletion();
std::string FishCompletion();

}  // namespace vellumo::cli
