// SPDX-License-Identifier: MIT
#include "cli/options/completions.h"

#include "cli/options/option_table.h"

namespace vantoril::cli {

namespace {

// A text inside single quotes for zsh and fish alike: a quote closes the
// quoted part, is written escaped and opens another.
std::string SingleQuoted(std::string_view text)
{
    std::string quoted = "'";
    for (const char c : text) {
        if (c == '\'') {
            quoted += "'\\''";
        } else {
            quoted += c;
        }
    }
    return quoted + "'";
}

// What completes an option's value, as a shell word list or command.
std::string NamesCommand(ValueKind kind)
{
    return kind == ValueKind::Zone ? "vantoril-lst --complete tz 2>/dev/null"
                                   : "vantoril-lst --complete place 2>/dev/null";
}

std::string Bash()
{
    std::string names;
    std::string cases;
    for (const OptionEntry& option : OptionTable()) {
        if (option.hidden) continue;
        names.append(names.empty() ? "" : " ").append(option.name);
        const std::string pattern(option.name);
        switch (option.kind) {
        case ValueKind::None:
            break;
        case ValueKind::Choice:
            cases += "    " + pattern + ") COMPREPLY=($(compgen -W \"" + std::string(option.choices) +
                     "\" -- \"$cur\")); return ;;\n";
            break;
        case ValueKind::Zone:
        case ValueKind::Place:
            cases += "    " + pattern + ") local IFS=$'\\n'; COMPREPLY=($(compgen -W \"$(" + NamesCommand(option.kind) +
                     ")\" -- \"$cur\")); return ;;\n";
            break;
        case ValueKind::File:
            cases += "    " + pattern + ") COMPREPLY=($(compgen -f -- \"$cur\")); return ;;\n";
            break;
        case ValueKind::Text:
            cases += "    " + pattern + ") return ;;\n";
            break;
        }
    }
    return "# bash completion for vantoril-lst (vantoril-lst --completion bash)\n"
           "_vantoril_lst() {\n"
           "  local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}\n"
           "  # --option=value: bash splits it at the '='.\n"
           "  if [[ $cur == = ]]; then cur=; prev=${COMP_WORDS[COMP_CWORD-1]};\n"
           "  elif [[ $prev == = ]]; then prev=${COMP_WORDS[COMP_CWORD-2]}; fi\n"
           "  case $prev in\n" +
           cases +
           "  esac\n"
           "  if [[ $cur == -* ]]; then COMPREPLY=($(compgen -W \"" +
           names +
           "\" -- \"$cur\")); fi\n"
           "}\n"
           "complete -F _vantoril_lst vantoril-lst\n";
}

// An option for zsh's _arguments: --name[summary]:what:action, with the
// summary's brackets escaped as _arguments reads them.
std::string ZshOption(const OptionEntry& option)
{
    std::string summary;
    for (const char c : option.summary) {
        if (c == '[' || c == ']' || c == '\\') summary += '\\';
        summary += c;
    }
    std::string line = std::string(option.name) + "[" + summary + "]";
    switch (option.kind) {
    case ValueKind::None:
        break;
    case ValueKind::Choice:
        line += ":value:(" + std::string(option.choices) + ")";
        break;
    case ValueKind::Zone:
        line += ":zone:->zones";
        break;
    case ValueKind::Place:
        line += ":place:->places";
        break;
    case ValueKind::File:
        line += ":file:_files";
        break;
    case ValueKind::Text:
        line += ":value: ";
        break;
    }
    return "    " + SingleQuoted(line) + " \\\n";
}

std::string Zsh()
{
    std::string options;
    for (const OptionEntry& option : OptionTable()) {
        if (!option.hidden) options += ZshOption(option);
    }
    return "#compdef vantoril-lst\n"
           "# zsh completion for vantoril-lst (vantoril-lst --completion zsh)\n"
           "_vantoril_lst() {\n"
           "  local state\n"
           "  _arguments -s \\\n" +
           options +
           "    '*:argument: ' && return\n"
           "  case $state in\n"
           "    zones) compadd -- ${(f)\"$(" +
           NamesCommand(ValueKind::Zone) +
           ")\"} ;;\n"
           "    places) compadd -- ${(f)\"$(" +
           NamesCommand(ValueKind::Place) +
           ")\"} ;;\n"
           "  esac\n"
           "}\n"
           "_vantoril_lst \"$@\"\n";
}

std::string Fish()
{
    std::string text = "# fish completion for vantoril-lst (vantoril-lst --completion fish)\n";
    for (const OptionEntry& option : OptionTable()) {
        if (option.hidden) continue;
        text += "complete -c vantoril-lst -l " + std::string(option.name.substr(2));
        switch (option.kind) {
        case ValueKind::None:
            break;
        case ValueKind::Choice:
            text += " -x -a " + SingleQuoted(option.choices);
            break;
        case ValueKind::Zone:
        case ValueKind::Place:
            text += " -x -a '(" + NamesCommand(option.kind) + ")'";
            break;
        case ValueKind::File:
            text += " -r -F";
            break;
        case ValueKind::Text:
            text += " -x";
            break;
        }
        text += " -d " + SingleQuoted(option.summary) + "\n";
    }
    return text;
}

} // namespace

std::string CompletionScript(std::string_view shell)
{
    if (shell == "zsh") return Zsh();
    if (shell == "fish") return Fish();
    return Bash();
}

} // namespace vantoril::cli
