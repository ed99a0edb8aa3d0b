#include "cli/PruneReport.h"

#include <string>

#include "cli/JsonText.h"

namespace kestrava::cli {
namespace {

void AppendRulesText(std::string& line, const history::KeepReasons& reasons) {
    const char* separator = "";
    for (const std::string_view name : reasons.names()) {
        line += separator;
        line += name;
        separator = ", ";
    }
}

void AppendText(std::string& line, const history::EntryVerdict& verdict) {
    line += std::to_string(verdict.number);
    line += "  ";
    line += verdict.date;
    if (verdict.reasons.kept()) {
        line += "  keep  ";
        AppendRulesText(line, verdict.reasons);
    } else {
        line += "  remove";
    }
    line += '\n';
}

void AppendJson(std::string& line, const history::EntryVerdict& verdict, const JsonText& json,
                bool first) {
    line += first ? "[\n  " : ",\n  ";
    line += "{\"entry\": " + std::to_string(verdict.number) + ", \"date\": ";
    json.append(line, verdict.date);
    line += verdict.reasons.kept() ? ", \"kept\": true, \"rules\": ["
                                   : ", \"kept\": false, \"rules\": [";
    const char* separator = "";
    for (const std::string_view name : verdict.reasons.names()) {
        line += separator;
        line += '"';
        line += name;
        line += '"';
        separator = ", ";
    }
    line += "]}";
}

std::string Summary(std::size_t kept, std::size_t removed, bool dryRun) {
    std::string line = std::to_string(kept) + (kept == 1 ? " entry" : " entries") + " kept, " +
                       std::to_string(removed) + (removed == 1 ? " entry" : " entries");
    line += dryRun ? " would be removed (a dry run: nothing was changed)\n" : " removed\n";
    return line;
}

}  // namespace

void WritePruneReport(const std::vector<history::EntryVerdict>& verdicts, Format format,
                      bool dryRun, Console& console) {
    const JsonText json(console.locale());
    std::string text;
    std::size_t kept = 0;
    for (const history::EntryVerdict& verdict : verdicts) {
        kept += verdict.reasons.kept() ? 1 : 0;
        if (format == Format::Json) {
            AppendJson(text, verdict, json, &verdict == &verdicts.front());
        } else {
            AppendText(text, verdict);
        }
    }
    if (format == Format::Json) {
        text += verdicts.empty() ? "[]\n" : "\n]\n";
    } else {
        text += Summary(kept, verdicts.size() - kept, dryRun);
    }
    console.out() << text;
}

}  // namespace kestrava::cli
