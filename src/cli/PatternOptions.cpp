#include "cli/PatternOptions.h"

#include "history/PatternFile.h"

namespace kestrava::cli {

history::PathFilter MakePathFilter(const Invocation& invocation,
                                   const platform::FileSystem& fileSystem) {
    history::PatternRules rules = history::PatternRules::Platform();
    rules.ignoreCase = rules.ignoreCase || invocation.ignoreCase;
    history::PathFilter filter(rules);
    for (const PatternOption& option : invocation.patterns) {
        switch (option.source) {
            case PatternOption::Source::Include:
                filter.add(history::PatternKind::Include, option.text);
                break;
            case PatternOption::Source::Exclude:
                filter.add(history::PatternKind::Exclude, option.text);
                break;
            case PatternOption::Source::ExcludeFrom:
                history::AddPatternFile(filter, fileSystem, option.text);
                break;
        }
    }
    return filter;
}

}  // namespace kestrava::cli
