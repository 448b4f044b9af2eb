// The options of `tcmap draw` and `tcmap list`, each declared once in one
// table with the settings key it sets. The parser, `--help` and the shell
// completion are all made from that table, so a new option is one row.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "config/settings_keys.h"
#include "config/settings_source.h"
#include "render/draw_mode.h"

namespace tcmap {

enum class CommandName { Draw = 1, List = 2 };

// Which I-th of N deterministic parts of the storm list a run draws.
struct Shard {
    size_t index = 1;  // from 1
    size_t count = 1;
};

// A named option's value, to be stored under the key of the chosen style.
struct NamedSetting {
    const SettingKey* wendrel = nullptr;
    const SettingKey* tcv = nullptr;
    std::string value;
    std::string option;  // for messages: "--years"
};

// What the command line asks of `draw` or `list`, before the settings file
// is read.
struct CommandOptions {
    std::vector<std::string> inputs;
    std::string settingsFile;           // --settings; empty: the installed defaults
    std::vector<SettingOverride> sets;  // --set and --style, in order
    std::vector<NamedSetting> named;    // key options of the chosen style
    std::optional<DrawMode> mode;
    bool regionGiven = false;
    std::string language;  // --lang
    std::string mapFile;   // --map, as given
    // draw
    std::string output;  // -o
    std::string eachPattern;
    size_t jobs = 0;  // 0: one per core
    std::string indexFile;
    Shard shard;
    std::string statsFormat;  // "", "json", "csv"
    std::string statsFile;
    // list
    std::string listFormat;  // "", "json", "csv"
};

// One row of the table.
struct OptionRow {
    std::string_view names;      // CLI11 form: "-o,--output"; a flag may add "!--no-x"
    std::string_view valueName;  // empty: a flag; "[AID]": a value that may be left out
    std::string_view help;
    unsigned commands;        // CommandName bits
    std::string_view key;     // the settings key it sets, for --help
    bool repeatable = false;  // every value counts (--set), else the last one
    // Takes one value (a flag: "1" on, "0" off); the message when it is
    // refused, "" when taken.
    std::string (*apply)(CommandOptions& options, const std::string& value);
};

std::span<const OptionRow> optionTable();

// The outcome of parsing: options, or help text, or a usage error.
struct ParsedCommand {
    enum class Kind { Run, Help, Usage } kind = Kind::Run;
    CommandOptions options;
    std::string text;  // Help: the help; Usage: the message
};

ParsedCommand parseCommandOptions(CommandName command, const std::vector<std::string>& args);

// Every long option name of a command, for the completion script.
std::vector<std::string> optionNames(CommandName command);

}  // namespace tcmap
