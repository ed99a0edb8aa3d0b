#pragma once

#include <cstddef>
#include <string_view>

// How the platform writes paths. Each platform defines these in its own folder
// (platform/posix/, platform/win32/), so that the layers above never ask which one
// they run on.
namespace kestrava::platform {

// The separator between the folders of a path.
extern const char PathSeparator;

// Every character that separates folders: the separator above, and any other the
// platform takes in its place.
extern const std::string_view PathSeparators;

// Whether two names that differ only in the case of their letters name one file.
extern const bool NamesIgnoreCase;

// A path must be shorter than this, counted as PathLength counts.
extern const std::size_t PathLengthLimit;

// A path's length as the platform's limit counts it.
std::size_t PathLength(std::string_view path);

// Whether the path names the root of a file system, with or without its separator.
bool IsRootPath(std::string_view path);

// Whether a walk goes into a folder that a link (a reparse point) leads to. Where
// the path limit is short, a loop of links ends at the limit within a few levels;
// where it is long, a loop or a link out of the tree would take the walk almost
// anywhere, so such folders are left out.
extern const bool WalksLinkedFolders;

}  // namespace kestrava::platform
