#include "cli/HistoryCommand.h"

#include "cli/JsonText.h"
#include "history/TimelineReading.h"

namespace kestrava::cli {
namespace {

using history::FileEvent;
using history::FileEventKind;

std::string_view KindName(FileEventKind kind) {
    switch (kind) {
        case FileEventKind::Appeared:
            return "appeared";
        case FileEventKind::Changed:
            return "changed";
        case FileEventKind::Vanished:
            break;
    }
    return "vanished";
}

// "  12  [date]  changed  1024 -> 2048  date -> date"
void AppendText(std::string& out, const FileEvent& event) {
    out += "  " + std::to_string(event.entry) + "  ";
    out += event.date;
    out += "  ";
    out += KindName(event.kind);
    if (event.kind == FileEventKind::Appeared) {
        ((((out += "  ") += event.after.size) += "  ") += event.after.modified);
    } else if (event.kind == FileEventKind::Changed) {
        out += "  ";
        if (event.before.size == event.after.size) {
            out += event.after.size;
        } else {
            ((out += event.before.size) += " -> ") += event.after.size;
        }
        out += "  ";
        if (event.before.modified == event.after.modified) {
            out += event.after.modified;
        } else {
            ((out += event.before.modified) += " -> ") += event.after.modified;
        }
    }
    out += '\n';
}

void AppendJson(std::string& out, const FileEvent& event, bool first, const JsonText& json) {
    out += first ? "\n    {\"entry\": " : ",\n    {\"entry\": ";
    out += std::to_string(event.entry);
    out += ", \"date\": ";
    json.append(out, event.date);
    out += ", \"kind\": \"";
    out += KindName(event.kind);
    out += '"';
    if (event.kind == FileEventKind::Appeared) {
        out += ", ";
        json.appendSizeAndDate(out, event.after.size, event.after.modified);
    } else if (event.kind == FileEventKind::Changed) {
        out += ", ";
        json.appendChange(out, {event.before.size, event.before.modified},
                          {event.after.size, event.after.modified});
    }
    out += '}';
}

void WriteText(const history::Timelines& timelines, std::ostream& stream) {
    std::string out;
    for (const auto& [path, events] : timelines.byPath()) {
        (out += path) += '\n';
        for (const FileEvent& event : events) {
            AppendText(out, event);
        }
    }
    stream << out;
}

void WriteJson(const history::Timelines& timelines, const JsonText& json, std::ostream& stream) {
    std::string out = "[";
    bool firstPath = true;
    for (const auto& [path, events] : timelines.byPath()) {
        out += firstPath ? "\n  {\"path\": " : ",\n  {\"path\": ";
        json.append(out, path);
        out += ", \"events\": [";
        for (std::size_t at = 0; at < events.size(); ++at) {
            AppendJson(out, events[at], at == 0, json);
        }
        out += "\n  ]}";
        firstPath = false;
    }
    out += firstPath ? "]\n" : "\n]\n";
    stream << out;
}

}  // namespace

int ShowHistory(HistoryLog& log, const std::vector<std::string>& asked, Format format,
                const history::PathFilter& filter, Console& console) {
    const history::PathQuery query(asked, filter);
    history::Timelines timelines;
    if (log.store) {
        history::ReadStoredTimelines(*log.store, query, timelines);
    }
    const std::uint64_t inText = history::ReadLoggedTimelines(
        log.file, log.end.entriesBegin, log.end.entriesEnd, log.stored() + 1, query, timelines);
    if (inText == 0 && log.stored() == 0) {
        throw NoWholeEntry(log.file, console);
    }
    if (format == Format::Json) {
        WriteJson(timelines, JsonText(console.locale()), console.out());
    } else {
        WriteText(timelines, console.out());
    }
    return timelines.byPath().empty() ? 1 : 0;
}

}  // namespace kestrava::cli
