// SPDX-License-Identifier: MIT
#include "cli/options/completions.h"

#include "cli/options/option_table.h"

namespace vantoril::cli {

namespace {

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
    for (const OptionSpec& spec : OptionTable()) {
        if (spec.hidden) continue;
        names.append(names.empty() ? "" : " ").append(spec.name);
        const std::string pattern(spec.name);
        switch (spec.kind) {
        case ValueKind::None:
            break;
        case ValueKind::Choice:
            cases += "    " + pattern + ") COMPREPLY=($(compgen -W \"" + std::string(spec.choices) +
                     "\" -- \"$cur\")); return ;;\n";
            break;
        case ValueKind::Zone:
        case ValueKind::Place:
            cases += "    " + pattern + ") local IFS=$'\\n'; COMPREPLY=($(compgen -W \"$(" + NamesCommand(spec.kind) +
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

// A zsh _arguments spec: --name[summary]:what:action.
std::string ZshSpec(const OptionSpec& spec)
{
    std::string line = "    '" + std::string(spec.name) + "[" + std::string(spec.summary) + "]";
    switch (spec.kind) {
    case ValueKind::None:
        break;
    case ValueKind::Choice:
        line += ":value:(" + std::string(spec.choices) + ")";
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
    return line + "' \\\n";
}

std::string Zsh()
{
    std::string specs;
    for (const OptionSpec& spec : OptionTable()) {
        if (!spec.hidden) specs += ZshSpec(spec);
    }
    return "#compdef vantoril-lst\n"
           "# zsh completion for vantoril-lst (vantoril-lst --completion zsh)\n"
           "_vantoril_lst() {\n"
           "  local state\n"
           "  _arguments -s \\\n" +
           specs +
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
    for (const OptionSpec& spec : OptionTable()) {
        if (spec.hidden) continue;
        text += "complete -c vantoril-lst -l " + std::string(spec.name.substr(2));
        switch (spec.kind) {
        case ValueKind::None:
            break;
        case ValueKind::Choice:
            text += " -x -a '" + std::string(spec.choices) + "'";
            break;
        case ValueKind::Zone:
        case ValueKind::Place:
            text += " -x -a '(" + NamesCommand(spec.kind) + ")'";
            break;
        case ValueKind::File:
            text += " -r -F";
            break;
        case ValueKind::Text:
            text += " -x";
            break;
        }
        text += " -d '" + std::string(spec.summary) + "'\n";
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
